#pragma once

#include "fw/CWinApp.h"
#include "settings/SettingsCache.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>

// The application object of one test, with a profile of its own that
// starts empty: the program's title and company key, its settings cache
// registered, and the profile folder in a fresh temporary folder.
class TestApplication
{
public:
    TestApplication();
    ~TestApplication();
    TestApplication(const TestApplication&) = delete;
    TestApplication& operator=(const TestApplication&) = delete;

    CWinAppEx& App() { return *m_pApp; }
    CSettingsCache& Cache() { return m_cache; }
    // The folder that holds the profiles, and this application's profile file.
    QString ConfigFolder() const { return m_configDir.path(); }
    QString ProfileFileName() const;

    // Points the profiles of application objects made from now on at
    // strFolder.
    static void SetConfigFolder(const QString& strFolder);

private:
    QTemporaryDir m_configDir;
    std::unique_ptr<CWinAppEx> m_pApp;
    CSettingsCache m_cache;
};
