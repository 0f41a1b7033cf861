#pragma once

// The settings the application object caches: -1 means not read yet. The
// application object owns the one record; its users reach it through
// CSettingsCache::Get().
struct CSettingsCache {
    int m_nDisplayRadioChannels = -1;
    int m_nDisplayTVChannels = -1;
    int m_nLastCategory = -1;

    // The record in use, or null before the application object exists.
    static CSettingsCache* Get();
    // Makes pCache the record in use (the application object's constructor).
    static void Set(CSettingsCache* pCache);
};

// "DisplayRadioChannels" and "DisplayTVChannels" through the cache: a reader
// that finds -1 reads the profile with the default and keeps the value.
int GetDisplayRadioChannels();
int GetDisplayTVChannels();

// A display toggle: reads the value through the cache, writes its negation
// (1 when it was 0, else 0) and forgets the cached value, so the next reader
// reads anew.
void ToggleDisplayRadioChannels();
void ToggleDisplayTVChannels();
