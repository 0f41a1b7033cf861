#include "settings/SettingsStore.h"

#include "fw/CWinApp.h"
#include "settings/SettingNames.h"
#include "settings/SettingsLog.h"

namespace {
void ReportUnsaved(const CString& strName)
{
    qCWarning(lcSettings).noquote() << QStringLiteral("The setting %1 could not be saved.").arg(strName);
}
}

int GetSettingInt(CString strName, int nDefault)
{
    CWinApp* pApp = AfxGetApp();
    return pApp != nullptr ? pApp->GetProfileInt(SettingNames::kSection, strName, nDefault) : nDefault;
}

void WriteSettingInt(CString strName, int nValue)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr && !pApp->WriteProfileInt(SettingNames::kSection, strName, nValue))
        ReportUnsaved(strName);
}

void WriteWorkspaceInt(CString strName, int nValue)
{
    auto* pApp = dynamic_cast<CWinAppEx*>(AfxGetApp());
    if (pApp != nullptr && !pApp->WriteInt(strName, nValue))
        ReportUnsaved(strName);
}

CString GetSettingString(CString strName, CString strDefault)
{
    CWinApp* pApp = AfxGetApp();
    return pApp != nullptr ? pApp->GetProfileString(SettingNames::kSection, strName, strDefault) : strDefault;
}

void WriteSettingString(CString strName, CString strValue)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr && !pApp->WriteProfileString(SettingNames::kSection, strName, strValue))
        ReportUnsaved(strName);
}
