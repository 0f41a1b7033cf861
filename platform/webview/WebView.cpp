#include "platform/webview/WebView.h"

CWebView::CWebView(QWidget* pParent)
    : QWidget(pParent)
{
}

CWebView::~CWebView() = default;
