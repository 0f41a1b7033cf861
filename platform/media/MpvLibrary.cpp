#include "platform/media/MpvLibrary.h"

#include "platform/media/MediaLog.h"
#include "platform/media/MpvFunctions.h"
#include "platform/modules/ProgramModules.h"

#include <QLibrary>
#include <future>

namespace {
const MpvFunctions* LoadModule()
{
    const QString strPath =
        ProgramModules::Path(QStringLiteral(KESTREL_MPV_MODULE_NAME), QStringLiteral(KESTREL_MPV_MODULE_BUILD_PATH));
    if (strPath.isEmpty()) {
        qCWarning(lcMedia, "Media playback is off: the media module %s is not installed", KESTREL_MPV_MODULE_NAME);
        return nullptr;
    }
    // Never unloaded: libmpv's threads may outlive any one engine.
    static QLibrary module;
    module.setFileName(strPath);
    const auto entry = reinterpret_cast<MpvFunctionsEntry>(module.resolve(kMpvFunctionsEntry));
    if (entry == nullptr) {
        qCWarning(lcMedia, "Media playback is off: the media module could not be loaded: %s",
                  qPrintable(module.errorString()));
        return nullptr;
    }
    return entry();
}

std::shared_future<const MpvFunctions*>& Loading()
{
    static std::shared_future<const MpvFunctions*> loading = std::async(std::launch::async, &LoadModule).share();
    return loading;
}
}

namespace MpvLibrary {

void Preload()
{
    Loading();
}

const MpvFunctions* Functions()
{
    return Loading().get();
}

}
