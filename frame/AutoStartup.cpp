#include "frame/AutoStartup.h"

#include "catalogue/DataFolder.h"
#include "fw/CWinApp.h"
#include "platform/autostart/AutostartStore.h"
#include "res/CommandLineSwitches.h"

#include <QFileInfo>

namespace {
CString ApplicationName()
{
    const CWinApp* pApp = AfxGetApp();
    return pApp != nullptr ? pApp->m_pszAppName : CString();
}
}

BOOL WriteRegistryString(IAutostartStore& store, const CString& strName, const CString& strData)
{
    return store.WriteEntry(strName, strData) ? TRUE : FALSE;
}

BOOL ReadRegistryString(IAutostartStore& store, const CString& strName, CString& strOut)
{
    if (!store.ReadEntry(strName, strOut) || strOut.size() > kMaxEntryLength) {
        strOut.clear();
        return FALSE;
    }
    return TRUE;
}

int QueryAutoStartup()
{
    const std::unique_ptr<IAutostartStore> pStore = CreateAutostartStore();
    if (!pStore->Open())
        return -2;
    CString strCommand;
    if (!ReadRegistryString(*pStore, ApplicationName(), strCommand))
        return 0;
    // What is left once the switch is gone must name a file.
    QStringList arguments = pStore->SplitCommandText(strCommand);
    arguments.removeAll(QLatin1String(CommandLine::kSilentSwitch));
    return arguments.size() == 1 && QFileInfo(arguments.first()).isFile() ? 1 : 0;
}

void WriteAutoStartupEntry(BOOL bEnable)
{
    const std::unique_ptr<IAutostartStore> pStore = CreateAutostartStore();
    if (!pStore->Open())
        return;
    if (bEnable) {
        CString strModulePath;
        GetModulePath(strModulePath);
        WriteRegistryString(*pStore, ApplicationName(),
                            pStore->CommandText({strModulePath, QLatin1String(CommandLine::kSilentSwitch)}));
    } else {
        pStore->RemoveEntry(ApplicationName());
    }
}
