#include "settings/SettingsStore.h"

#include "fw/CWinApp.h"
#include "settings/SettingNames.h"

int GetSettingInt(CString strName, int nDefault)
{
    CWinApp* pApp = AfxGetApp();
    return pApp != nullptr ? pApp->GetProfileInt(SettingNames::kSection, strName, nDefault) : nDefault;
}

void WriteSettingInt(CString strName, int nValue)
{
    if (CWinApp* pApp = AfxGetApp())
        pApp->WriteProfileInt(SettingNames::kSection, strName, nValue);
}

CString GetSettingString(CString strName, CString strDefault)
{
    CWinApp* pApp = AfxGetApp();
    return pApp != nullptr ? pApp->GetProfileString(SettingNames::kSection, strName, strDefault) : strDefault;
}

void WriteSettingString(CString strName, CString strValue)
{
    if (CWinApp* pApp = AfxGetApp())
        pApp->WriteProfileString(SettingNames::kSection, strName, strValue);
}
