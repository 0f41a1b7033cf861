#include "hotkeys/HotKeyStore.h"

#include "fw/CWinApp.h"
#include "fw/HotKeyRegistration.h"
#include "hotkeys/HotKeyActions.h"
#include "settings/SettingNames.h"

#include <utility>

namespace {
constexpr int kNotStored = 0;

CString KeyValueName(const CString& strName)
{
    return QLatin1String(SettingNames::kHotKeyKeyFormat).arg(strName);
}

CString ModValueName(const CString& strName)
{
    return QLatin1String(SettingNames::kHotKeyModFormat).arg(strName);
}

// Each bit and the bit it becomes in the other form.
constexpr std::pair<WORD, WORD> kModifierBits[] = {{0x01, 0x04}, {0x02, 0x02}, {0x04, 0x01}, {0x08, 0x08}};
}

WORD ConvertHotKeyModifiers(WORD wModifiers)
{
    WORD wConverted = 0;
    for (const auto& [wFrom, wTo] : kModifierBits) {
        if (wModifiers & wFrom)
            wConverted |= wTo;
    }
    return wConverted;
}

StoredHotKey LoadHotKey(CString strName)
{
    CWinApp* pApp = AfxGetApp();
    StoredHotKey hotKey;
    hotKey.wKey = static_cast<WORD>(pApp->GetProfileInt(SettingNames::kSection, KeyValueName(strName), kNotStored));
    hotKey.wStoredModifiers =
        static_cast<WORD>(pApp->GetProfileInt(SettingNames::kSection, ModValueName(strName), kNotStored));
    hotKey.wControlModifiers = ConvertHotKeyModifiers(hotKey.wStoredModifiers);
    return hotKey;
}

bool StoreHotKey(CString strName, WORD wKey, WORD wControlModifiers)
{
    // Written through the profile itself, since each write's result counts.
    CWinApp* pApp = AfxGetApp();
    if (!pApp->WriteProfileInt(SettingNames::kSection, KeyValueName(strName), wKey))
        return false;
    const WORD wStoredModifiers = ConvertHotKeyModifiers(wControlModifiers & 0xFF);
    return pApp->WriteProfileInt(SettingNames::kSection, ModValueName(strName), wStoredModifiers) != FALSE;
}

void RegisterStoredHotKey(CString strName, int nId, CWnd* pWnd)
{
    const StoredHotKey hotKey = LoadHotKey(strName);
    UnregisterHotKey(pWnd, nId);
    if (hotKey.wKey != 0)
        RegisterHotKey(pWnd, nId, hotKey.wStoredModifiers, hotKey.wKey);
}

void RegisterHotKeys(CWnd* pWnd)
{
    for (const HotKeyAction& action : kHotKeyActions)
        RegisterStoredHotKey(QLatin1String(action.pszName), action.nId, pWnd);
}

void DescribeHotKeyActions()
{
    QList<HotKeyDescription> descriptions;
    for (const HotKeyAction& action : kHotKeyActions)
        descriptions.append({action.nId, QLatin1String(action.pszShortcutId), QLatin1String(action.pszDescription)});
    DescribeHotKeys(descriptions);
}
