#include "settings/SettingsCache.h"

#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

namespace {
CSettingsCache* g_pSettingsCache = nullptr;

int ReadThrough(int CSettingsCache::*member, const char* name, int nDefault)
{
    CSettingsCache* pCache = CSettingsCache::Get();
    if (pCache == nullptr)
        return GetSettingInt(name, nDefault);
    if (pCache->*member == -1)
        pCache->*member = GetSettingInt(name, nDefault);
    return pCache->*member;
}

// The value toggled is the one the program shows, the cached one.
void Toggle(int CSettingsCache::*member, const char* name, int nDefault)
{
    WriteSettingInt(name, ReadThrough(member, name, nDefault) == 0 ? 1 : 0);
    if (CSettingsCache* pCache = CSettingsCache::Get())
        pCache->*member = -1;
}
}

CSettingsCache* CSettingsCache::Get()
{
    return g_pSettingsCache;
}

void CSettingsCache::Set(CSettingsCache* pCache)
{
    g_pSettingsCache = pCache;
}

int GetDisplayRadioChannels()
{
    return ReadThrough(&CSettingsCache::m_nDisplayRadioChannels, SettingNames::kDisplayRadioChannels,
                       SettingDefaults::kDisplayRadioChannels);
}

int GetDisplayTVChannels()
{
    return ReadThrough(&CSettingsCache::m_nDisplayTVChannels, SettingNames::kDisplayTVChannels,
                       SettingDefaults::kDisplayTVChannels);
}

void ToggleDisplayRadioChannels()
{
    Toggle(&CSettingsCache::m_nDisplayRadioChannels, SettingNames::kDisplayRadioChannels,
           SettingDefaults::kDisplayRadioChannels);
}

void ToggleDisplayTVChannels()
{
    Toggle(&CSettingsCache::m_nDisplayTVChannels, SettingNames::kDisplayTVChannels,
           SettingDefaults::kDisplayTVChannels);
}
