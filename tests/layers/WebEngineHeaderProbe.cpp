// A web page built on the engine outside platform/.
#include <QtWebEngineWidgets/QWebEngineView>
