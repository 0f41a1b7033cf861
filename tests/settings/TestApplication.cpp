#include "TestApplication.h"

#include "platform/profile/ProfileStore.h"
#include "res/ProductInfo.h"

#include <QSettings>

TestApplication::TestApplication()
{
    SetConfigFolder(m_configDir.path());
    m_pApp = std::make_unique<CWinAppEx>(ProductInfo::ApplicationTitle());
    m_pApp->SetRegistryKey(ProductInfo::MakerDomain());
    CSettingsCache::Set(&m_cache);
}

TestApplication::~TestApplication()
{
    CSettingsCache::Set(nullptr);
}

QString TestApplication::ProfileFileName() const
{
    return CProfileStore(ProductInfo::MakerDomain(), ProductInfo::ApplicationTitle()).FileName();
}

void TestApplication::SetConfigFolder(const QString& strFolder)
{
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, strFolder);
}
