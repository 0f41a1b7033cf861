#include "app/CKestrelRadioApp.h"

#include "app/CAboutDlg.h"
#include "app/CKestrelRadioDoc.h"
#include "app/CommandLine.h"
#include "download/CFileDownloadManager.h"
#include "res/PrivateMessages.h"
#include "frame/CChildFrame.h"
#include "frame/CMainFrame.h"
#include "frame/PageCategory.h"
#include "frame/TrayMenu.h"
#include "frame/WindowPlacement.h"
#include "fw/CDialog.h"
#include "fw/CMultiDocTemplate.h"
#include "fw/StringResources.h"
#include "hotkeys/CRadioSettingsDoc.h"
#include "hotkeys/CRadioSettingsView.h"
#include "hotkeys/HotKeyStore.h"
#include "nowplaying/DesktopMediaControlsBinding.h"
#include "nowplaying/MediaControlsDescription.h"
#include "platform/activation/WindowActivation.h"
#include "nowplaying/SongHistoryRecorder.h"
#include "catalogue/DataFolder.h"
#include "platform/history/SongHistory.h"
#include "platform/media/TimeShift.h"
#include "platform/mpris/DesktopMediaControls.h"
#include "platform/signals/TerminationSignalWatcher.h"
#include "radio/CKestrelRadioView.h"
#include "res/MainFrameResources.h"
#include "res/ProductInfo.h"
#include "res/Resource.h"
#include "res/StringTable.h"
#include "web/CHardwareStoreDoc.h"
#include "web/CHardwareStoreView.h"
#include "web/CPromoDoc.h"
#include "web/CPromoView.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QTimer>

// What the running instance receives from later ones; off unless asked for
// with QT_LOGGING_RULES="kestrel.instance.debug=true".
Q_LOGGING_CATEGORY(lcInstance, "kestrel.instance", QtInfoMsg)
Q_LOGGING_CATEGORY(lcHistory, "kestrel.history", QtInfoMsg)

namespace {
// The songs heard, in the data folder.
constexpr char kSongHistoryFileName[] = "/SongHistory.db";

// How often an end waits again for a modal loop to return.
constexpr int kModalEndRetryMs = 50;

// The template that makes the category's page.
CMultiDocTemplate* CreatePageTemplate(PageCategory category)
{
    switch (category) {
    case PageCategory::OnlineRadioPlayer:
        return new CMultiDocTemplate(IDR_KestrelRadioTYPE, RUNTIME_CLASS(CKestrelRadioDoc), RUNTIME_CLASS(CChildFrame),
                                     RUNTIME_CLASS(CKestrelRadioView));
    case PageCategory::Settings:
        return new CMultiDocTemplate(IDR_KestrelRadioTYPE, RUNTIME_CLASS(CRadioSettingsDoc), RUNTIME_CLASS(CChildFrame),
                                     RUNTIME_CLASS(CRadioSettingsView));
    case PageCategory::MoreSoftwares:
        return new CMultiDocTemplate(IDR_PromoTYPE, RUNTIME_CLASS(CPromoDoc), RUNTIME_CLASS(CChildFrame),
                                     RUNTIME_CLASS(CPromoView));
    case PageCategory::SendUsYourSong:
        return new CMultiDocTemplate(IDR_HardwareTYPE, RUNTIME_CLASS(CHardwareStoreDoc), RUNTIME_CLASS(CChildFrame),
                                     RUNTIME_CLASS(CHardwareStoreView));
    }
    return nullptr;
}
}

CKestrelRadioApp::CKestrelRadioApp(QStringList arguments, QString strActivationToken)
    : CWinAppEx(ProductInfo::ApplicationTitle())
    , m_arguments(std::move(arguments))
    , m_strActivationToken(std::move(strActivationToken))
    , m_pInstanceService(CreateInstanceService(ProductInfo::ApplicationTitle()))
{
    CSettingsCache::Set(&m_cache);
    CNowPlayingRelay::Set(&m_nowPlaying);
    AfxSetStringResourceLoader(&LoadResourceString);

    MapCommand(ID_APP_ABOUT, &CKestrelRadioApp::OnAppAbout);
    MapCommand(ID_FILE_NEW, &CWinApp::OnFileNew);
    MapCommand(ID_FILE_OPEN, &CWinApp::OnFileOpen);
}

CKestrelRadioApp::~CKestrelRadioApp()
{
    m_pInstanceService->StopListening();
    m_pSongHistoryRecorder.reset();
    m_pMediaControlsBinding.reset();
    m_pMediaControls.reset();
    if (CSettingsCache::Get() == &m_cache)
        CSettingsCache::Set(nullptr);
}

BOOL CKestrelRadioApp::InitInstance()
{
    SetRegistryKey(ProductInfo::MakerDomain());
    // Before any window exists: the Wayland app_id is given when a window
    // is made, and the media controls and the portals name the program by it.
    QGuiApplication::setDesktopFileName(ProductInfo::ApplicationId());

    // The instance is claimed before anything else is built, so that of two
    // starts at the same moment exactly one goes on, and a later start finds
    // it even while its window is still being made.
    const InstanceClaim claim = m_pInstanceService->Claim(this);
    if (claim == InstanceClaim::NotFindable)
        qCWarning(lcInstance, "later starts cannot reach this instance: they will end without showing it");
    std::unique_ptr<IRunningInstance> pRunning;
    const BOOL bOtherInstance = FindRunningInstance(claim, pRunning);
    const bool bShowMainWindow = m_nCmdShow == SW_SHOW;
    if (bOtherInstance) {
        if (m_nForwardedArgument > -1)
            return FALSE;
        if (!pRunning->ShowAndActivate(m_strActivationToken))
            qCWarning(lcInstance, "the running instance did not answer");
        return FALSE;
    }

    // This is the only instance of the user's: what a killed run left is
    // no one's any more.
    CFileDownloadManager::RemoveStaleTempFiles();
    RemoveStaleTimeShiftFiles();
    InstallTerminationHandling();

    RegisterDocTemplates();
    TrayMenu::Register(*this);
    DescribeHotKeyActions();
    // The program lives on in the notification area with no window shown;
    // only Exit ends it.
    QGuiApplication::setQuitOnLastWindowClosed(false);

    auto* pMainFrame = new CMainFrame;
    m_pMainWnd = pMainFrame;
    if (!pMainFrame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE)) {
        if (IsWindow(pMainFrame))
            delete pMainFrame;
        m_pMainWnd = nullptr;
        return FALSE;
    }
    pMainFrame->LoadAccelTable(MainFrameResources::Accelerators());
    ReloadWindowPlacement(pMainFrame);
    StartDesktopMediaControls();
    StartSongHistory();

    // The window exists on the display from the start, shown or not, so
    // that the pages (and the web pages' native windows) always go into a
    // made window.
    pMainFrame->winId();
    if (bShowMainWindow)
        pMainFrame->ShowWindow(SW_SHOW);
    pMainFrame->UpdateWindow();
    pMainFrame->SetWindowText(ProductInfo::ApplicationTitle());
    return TRUE;
}

void CKestrelRadioApp::InstallTerminationHandling()
{
    m_pTerminationWatcher = std::make_unique<CTerminationSignalWatcher>();
    QObject::connect(m_pTerminationWatcher.get(), &CTerminationSignalWatcher::TerminationRequested,
                     m_pTerminationWatcher.get(), [this] { EndApplication(); });
    // The session's log-out: the state is kept when the session asks, and
    // the program ends through the same path as Exit when it is told to quit.
    QObject::connect(qGuiApp, &QGuiApplication::commitDataRequest, m_pTerminationWatcher.get(), [this] {
        if (IsWindow(m_pMainWnd))
            WindowPlacement::Store(static_cast<CFrameWnd*>(m_pMainWnd));
    });
    QObject::connect(qGuiApp, &QCoreApplication::aboutToQuit, m_pTerminationWatcher.get(),
                     [this] { EndApplication(); });
}

void CKestrelRadioApp::StartSongHistory()
{
    CString strFolder;
    GetDataFolder(strFolder);
    m_pSongHistory = CreateSongHistory(strFolder + QLatin1String(kSongHistoryFileName));
    if (!m_pSongHistory->IsAvailable())
        qCWarning(lcHistory, "%s", qPrintable(m_pSongHistory->ErrorText()));
    m_pSongHistoryRecorder = std::make_unique<CSongHistoryRecorder>(m_nowPlaying, *m_pSongHistory);
    CSongHistoryRecorder::Set(m_pSongHistoryRecorder.get());
}

void CKestrelRadioApp::StartDesktopMediaControls()
{
    auto pControls = CreateDesktopMediaControls();
    // Without a session bus (a bare X session) the program plays on as it
    // always did, and says nothing about it.
    if (!pControls->Start(MediaControlsDescription::Description()))
        return;
    // Queued: the request's answer goes out before the window or the
    // program changes.
    QObject::connect(
        pControls.get(), &IDesktopMediaControls::RaiseRequested, pControls.get(),
        [this] { OnShowAndActivate(QString()); }, Qt::QueuedConnection);
    QObject::connect(
        pControls.get(), &IDesktopMediaControls::QuitRequested, pControls.get(), [this] { EndApplication(); },
        Qt::QueuedConnection);
    m_pMediaControlsBinding = std::make_unique<CDesktopMediaControlsBinding>(
        m_nowPlaying, *pControls, MediaControlsDescription::ApplicationIconUrl());
    m_pMediaControls = std::move(pControls);
}

BOOL CKestrelRadioApp::FindRunningInstance(InstanceClaim claim, std::unique_ptr<IRunningInstance>& pRunning)
{
    if (claim == InstanceClaim::HeldByAnother)
        pRunning = m_pInstanceService->FindRunningInstance();

    const CString strRaw = CommandLine::FromArguments(m_arguments);
    const CString strCleaned = CommandLine::Clean(strRaw, QCoreApplication::applicationFilePath());
    if (CommandLine::HasSilentSwitch(strRaw)) {
        m_nCmdShow = SW_HIDE;
    } else if (strCleaned.isEmpty()) {
        m_nCmdShow = SW_SHOW;
    } else {
        m_nForwardedArgument = CommandLine::ToNumber(strCleaned);
        m_nCmdShow = SW_HIDE;
        if (pRunning != nullptr) {
            const auto nArgument = static_cast<LPARAM>(m_nForwardedArgument);
            if (!pRunning->SendMessage(WM_FORWARD_ARGUMENT, static_cast<WPARAM>(nArgument), nArgument))
                qCWarning(lcInstance, "the running instance did not answer");
        }
    }
    return pRunning != nullptr ? TRUE : FALSE;
}

void CKestrelRadioApp::RegisterDocTemplates()
{
    for (const PageCategory category : kPageCategories)
        AddDocTemplate(CreatePageTemplate(category));
}

BOOL CKestrelRadioApp::ReloadWindowPlacement(CFrameWnd* pFrame)
{
    return WindowPlacement::Reload(pFrame);
}

void CKestrelRadioApp::OnAppAbout()
{
    CAboutDlg aboutDlg(IsWindow(m_pMainWnd) ? m_pMainWnd : nullptr);
    aboutDlg.DoModal();
}

void CKestrelRadioApp::EndApplication()
{
    if (!IsWindow(m_pMainWnd))
        return;
    // Ending takes a while (the pages, the web engine, the player): a start
    // meanwhile must become the new program, not ask this one to show.
    m_pInstanceService->StopListening();
    // A modal dialog or box lies on the stack of a handler that its owner
    // must outlive (the frame, the page whose script or file chooser opened
    // it): it is closed first, and the program ends once its loop has
    // returned.
    if (IsModalLoopRunning()) {
        CloseModalWindows();
        if (!m_bEndPending) {
            m_bEndPending = true;
            QTimer::singleShot(kModalEndRetryMs, qApp, [this] {
                m_bEndPending = false;
                EndApplication();
            });
        }
        return;
    }
    if (auto* pMainFrame = dynamic_cast<CMainFrame*>(m_pMainWnd))
        pMainFrame->CloseAndDestroy();
}

std::intptr_t CKestrelRadioApp::OnInstanceMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam)
{
    qCDebug(lcInstance, "message %u %lld %lld", message, static_cast<long long>(static_cast<std::intptr_t>(wParam)),
            static_cast<long long>(lParam));
    if (!IsWindow(m_pMainWnd))
        return 0;
    return m_pMainWnd->SendMessage(message, wParam, lParam);
}

void CKestrelRadioApp::OnShowAndActivate(const QString& strActivationToken)
{
    qCDebug(lcInstance, "show and activate, token \"%s\"", qPrintable(strActivationToken));
    if (!IsWindow(m_pMainWnd))
        return;
    if (!m_pWindowActivation)
        m_pWindowActivation = CreateWindowActivation();
    m_pWindowActivation->UseToken(m_pMainWnd->windowHandle(), strActivationToken);
    // A window minimised for want of a notification area comes back too.
    m_pMainWnd->ShowWindow(m_pMainWnd->isMinimized() ? SW_RESTORE : SW_SHOW);
    m_pMainWnd->SetForegroundWindow();
}
