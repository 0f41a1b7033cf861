#include "InProcessProgramTest.h"

#include "catalogue/DataFolder.h"
#include "download/ServerAddresses.h"
#include "frame/CMainFrame.h"
#include "fw/CMDIChildWndEx.h"
#include "fw/ribbon/CMFCRibbonBaseElement.h"
#include "res/ProductInfo.h"
#include "settings/SettingNames.h"

#include <QCoreApplication>
#include <QFile>
#include <QSettings>
#include <QTest>
#include <cstdlib>

namespace {
constexpr int kPageTimeoutMs = 20000;
}

QStringList InProcessProgramTest::s_ports;

void InProcessProgramTest::SetUpTestSuite()
{
    StationServer probe;
    ASSERT_TRUE(probe.Start()) << qPrintable(probe.Error());
    s_ports = {QString::number(probe.Port()), QString::number(probe.MusicPort()), QString::number(probe.PromoPort())};
    setenv(kRadioServerVariable, qPrintable(probe.BaseUrl()), 1);
    setenv(kMusicSiteVariable, qPrintable(probe.MusicBaseUrl()), 1);
    setenv(kPromoSiteVariable, qPrintable(probe.PromoBaseUrl()), 1);
}

void InProcessProgramTest::SetUp()
{
    ASSERT_FALSE(qEnvironmentVariableIsEmpty("DISPLAY"));
    QSettings profile(QSettings::IniFormat, QSettings::UserScope, ProductInfo::MakerDomain(),
                      ProductInfo::ApplicationTitle());
    profile.clear();
    profile.sync();
    QFile::remove(GetStationListPath());
}

void InProcessProgramTest::TearDown()
{
    if (m_pApp)
        EndProgram();
    m_pServer.reset();
}

void InProcessProgramTest::PresetSetting(const QString& strName, int nValue)
{
    QSettings profile(QSettings::IniFormat, QSettings::UserScope, ProductInfo::MakerDomain(),
                      ProductInfo::ApplicationTitle());
    profile.setValue(QLatin1String(SettingNames::kSection) + QLatin1Char('/') + strName, nValue);
}

void InProcessProgramTest::StartServer(StationServerOptions options)
{
    options.extraArguments << "--port" << s_ports[0] << "--music-port" << s_ports[1] << "--promo-port" << s_ports[2];
    m_pServer = std::make_unique<StationServer>(std::move(options));
    ASSERT_TRUE(m_pServer->Start()) << qPrintable(m_pServer->Error());
}

void InProcessProgramTest::StartProgram()
{
    m_pApp = std::make_unique<CKestrelRadioApp>(QStringList{QCoreApplication::applicationFilePath()});
    ASSERT_TRUE(m_pApp->InitInstance());
    ASSERT_TRUE(QTest::qWaitFor([this] { return ActiveView() != nullptr; }, kPageTimeoutMs));
}

void InProcessProgramTest::EndProgram()
{
    m_pApp->EndApplication();
    EXPECT_TRUE(QTest::qWaitFor([this] { return !IsWindow(m_pApp->m_pMainWnd); }, kPageTimeoutMs));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_pApp.reset();
}

CMainFrame* InProcessProgramTest::Frame() const
{
    return m_pApp ? dynamic_cast<CMainFrame*>(m_pApp->m_pMainWnd) : nullptr;
}

CWnd* InProcessProgramTest::ActiveView() const
{
    CMainFrame* pFrame = Frame();
    CMDIChildWndEx* pChild = pFrame != nullptr ? pFrame->MDIGetActive() : nullptr;
    return pChild != nullptr ? pChild->GetActiveView() : nullptr;
}

void InProcessProgramTest::ClickRibbon(unsigned nID)
{
    CMFCRibbonBaseElement* pElement = Frame()->GetRibbonBar().FindByID(nID);
    ASSERT_NE(pElement, nullptr);
    ASSERT_NE(pElement->GetWidget(), nullptr);
    QTest::mouseClick(pElement->GetWidget(), Qt::LeftButton);
}
