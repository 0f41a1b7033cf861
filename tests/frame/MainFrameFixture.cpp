#include "MainFrameFixture.h"

#include "TestEnvironment.h"
#include "fw/CDocTemplate.h"
#include "fw/CDocument.h"
#include "fw/CView.h"
#include "res/ProductInfo.h"
#include "settings/SettingNames.h"
#include "settings/SettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <cstdlib>

QList<PostedMessageRecorder::Message> PostedMessageRecorder::Of(UINT message) const
{
    QList<Message> found;
    for (const Message& m : m_messages) {
        if (m.message == message)
            found.append(m);
    }
    return found;
}

bool PostedMessageRecorder::eventFilter(QObject*, QEvent* pEvent)
{
    if (pEvent->type() == CWindowMessageEvent::EventType()) {
        const auto* pMessage = static_cast<CWindowMessageEvent*>(pEvent);
        m_messages.append({pMessage->m_message, pMessage->m_wParam, pMessage->m_lParam});
    }
    return false;
}

void MainFrameFixture::SetUpTestSuite()
{
    // The single-instance socket of this test process only.
    const QString runtime = TestEnvironment::Root() + QStringLiteral("/runtime");
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    setenv("XDG_RUNTIME_DIR", qPrintable(runtime), 1);
    // Nothing listens there: the pages reach no server, and no test
    // reaches beyond this machine.
    for (const char* variable : {"KESTREL_RADIO_SERVER", "KESTREL_MUSIC_SITE", "KESTREL_PROMO_SITE"})
        setenv(variable, "http://127.0.0.1:9", 1);
}

void MainFrameFixture::SetUp()
{
    QSettings profile(QSettings::IniFormat, QSettings::UserScope, ProductInfo::MakerDomain(),
                      ProductInfo::ApplicationTitle());
    profile.clear();
    profile.sync();
}

void MainFrameFixture::TearDown()
{
    if (m_pApp) {
        m_pApp->EndApplication();
        Pump();
        m_pApp.reset();
    }
}

void MainFrameFixture::Start(const QStringList& arguments)
{
    m_pApp = std::make_unique<CKestrelRadioApp>(QStringList{QCoreApplication::applicationFilePath()} + arguments);
    ASSERT_TRUE(m_pApp->InitInstance());
    Pump();
}

void MainFrameFixture::Pump()
{
    for (int i = 0; i < 10; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

CMainFrame* MainFrameFixture::Frame() const
{
    return dynamic_cast<CMainFrame*>(m_pApp->m_pMainWnd);
}

CWnd* MainFrameFixture::OpenView() const
{
    for (POSITION pos = m_pApp->GetFirstDocTemplatePosition(); pos != nullptr;) {
        CDocTemplate* pTemplate = m_pApp->GetNextDocTemplate(pos);
        for (CDocument* pDoc : pTemplate->GetDocuments()) {
            if (!pDoc->GetViews().isEmpty())
                return pDoc->GetViews().first();
        }
    }
    return nullptr;
}

void MainFrameFixture::ActivateCategory(int nIndex)
{
    CCustomMFCRibbonBar& ribbon = Frame()->GetRibbonBar();
    ribbon.SetActiveCategory(ribbon.GetCategory(nIndex));
    Pump();
}

int MainFrameFixture::StoredLastCategory() const
{
    return GetSettingInt(SettingNames::kLastCategory, -99);
}
