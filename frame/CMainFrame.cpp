#include "frame/CMainFrame.h"

#include "res/PrivateMessages.h"
#include "nowplaying/NowPlayingRelay.h"
#include "catalogue/DataFolder.h"
#include "download/ChannelsListDownload.h"
#include "download/ServerAddresses.h"
#include "frame/ApplicationLooks.h"
#include "frame/AutoStartup.h"
#include "frame/PageCategory.h"
#include "frame/TrayMenu.h"
#include "frame/TrayMouseRules.h"
#include "frame/RibbonLayout.h"
#include "frame/WindowPlacement.h"
#include "fw/CCmdUI.h"
#include "fw/CDocTemplate.h"
#include "fw/CMDIChildWndEx.h"
#include "fw/CWinApp.h"
#include "fw/ribbon/CMFCRibbonCategory.h"
#include "fw/ribbon/CMFCRibbonCheckBox.h"
#include "fw/ribbon/CMFCRibbonPanel.h"
#include "fw/ribbon/CMFCRibbonStatusBarPane.h"
#include "platform/shellopen/ShellOpen.h"
#include "res/MainFrameResources.h"
#include "res/ProductInfo.h"
#include "res/Resource.h"
#include "res/ResourceImages.h"
#include "res/StringTable.h"
#include "settings/SettingNames.h"
#include "settings/SettingsCache.h"
#include "settings/SettingsStore.h"

#include <QCursor>
#include <iterator>

namespace {
// The frame asks for exactly these: no minimise or maximise box, not
// initially maximised.
constexpr DWORD kMainFrameStyle = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | FWS_ADDTOTITLE;
constexpr UINT kRedrawEverything = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME;
}

CMainFrame::CMainFrame()
{
    if (auto* pApp = dynamic_cast<CWinAppEx*>(AfxGetApp()))
        m_nAppLook = pApp->GetInt(SettingNames::kApplicationLook, SettingDefaults::kApplicationLook);

    MapCommand(ID_WINDOW_MANAGER, &CMainFrame::OnWindowManager);
    MapCommand(ID_REFRESH_CHANNELS_LIST, &CMainFrame::OnRefreshChannelsList);
    MapCommand(ID_OPEN_PROMO_SITE, &CMainFrame::OnOpenPromoSite);
    MapCommand(ID_RELOAD_PROMO_PAGE, &CMainFrame::OnReloadPromoPage);
    MapCommand(ID_OPEN_MUSIC_SITE, &CMainFrame::OnOpenMusicSite);
    MapCommand(ID_RELOAD_MUSIC_PAGE, &CMainFrame::OnReloadMusicPage);
    MapCommandRange(ID_VIEW_APPLOOK_WIN_2000, ID_VIEW_APPLOOK_OFF_2007_AQUA, &CMainFrame::OnApplicationLook);
    MapUpdateCommandUIRange(ID_VIEW_APPLOOK_WIN_2000, ID_VIEW_APPLOOK_OFF_2007_AQUA,
                            &CMainFrame::OnUpdateApplicationLook);
    MapCommand(ID_TRAY_EXIT, &CMainFrame::OnTrayExit);
    MapCommand(ID_TRAY_SHOW, &CMainFrame::OnTrayShow);
    MapCommand(ID_TRAY_CUSTOMIZE_MENU, &CMainFrame::OnCustomizeMenu);
    MapCommand(ID_AUTO_STARTUP, &CMainFrame::OnAutoStartup);
    MapUpdateCommandUI(ID_AUTO_STARTUP, &CMainFrame::OnUpdateAutoStartup);
    MapCommand(ID_AUTO_PLAY, &CMainFrame::OnAutoPlay);
    MapUpdateCommandUI(ID_AUTO_PLAY, &CMainFrame::OnUpdateAutoPlay);
    MapCommand(ID_HIDE_TO_TRAY, &CMainFrame::OnHideToTray);

    // The radio page's player reports its status through the relay.
    if (CNowPlayingRelay* pNowPlaying = CNowPlayingRelay::Get())
        connect(pNowPlaying, &CNowPlayingRelay::StatusTextChanged, this, &CMainFrame::SetStatusText);
}

CMainFrame::~CMainFrame() = default;

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!CMDIFrameWndEx::PreCreateWindow(cs))
        return FALSE;
    cs.style = kMainFrameStyle;
    return TRUE;
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CMDIFrameWndEx::OnCreate(lpCreateStruct) == -1)
        return -1;

    AddTrayIcon();

    OnApplicationLook(static_cast<UINT>(m_nAppLook));

    m_wndRibbonBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_RIBBON_BAR);
    InitializeRibbon();

    if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR))
        return -1;

    m_pStatusPane = new CMFCRibbonStatusBarPane(ID_STATUSBAR_PANE1, Texts::kStatusPaneText, TRUE);
    m_wndStatusBar.AddElement(m_pStatusPane, Texts::kStatusPaneLabel, TRUE);
    m_pStatusPane->SetAlmostLargeText(Texts::kStatusPaneSample);

    m_pContactPane = new CMFCRibbonStatusBarPane();
    m_wndStatusBar.AddExtendedElement(m_pContactPane, Texts::kContactPaneLabel, TRUE);
    m_pContactPane->SetAlmostLargeText(Texts::kContactPaneSample);
    return 0;
}

void CMainFrame::InitializeRibbon()
{
    const CString strTemp = LoadResourceString(IDS_MAIN_BUTTON_TOOLTIP);

    m_PanelImages.SetImageSize(CSize(16, 16));
    m_PanelImages.Load(ResourceImages::BitmapPath(IDB_PANEL_IMAGES));

    m_MainButton.SetImage(ResourceImages::LoadBitmap(IDB_MAIN_BUTTON));
    m_MainButton.SetText(Texts::kMainButtonText);
    m_MainButton.SetToolTipText(strTemp);
    m_wndRibbonBar.SetApplicationButton(&m_MainButton,
                                        CSize(RibbonLayout::kMainButtonSize, RibbonLayout::kMainButtonSize));

    const QPixmap smallImages = ResourceImages::LoadBitmap(IDB_SMALL_IMAGES);
    const QPixmap largeImages = ResourceImages::LoadBitmap(IDB_LARGE_IMAGES);
    const QIcon panelIcon = m_PanelImages.ExtractIcon(RibbonLayout::kCollapsedPanelImage);
    CMFCRibbonCategory* pCategory = nullptr;
    CMFCRibbonPanel* pPanel = nullptr;
    PageCategory category = PageCategory::OnlineRadioPlayer;
    CString strPanel;
    for (const RibbonLayout::Element& element : RibbonLayout::Elements()) {
        if (pCategory == nullptr || category != element.category) {
            category = element.category;
            pCategory = m_wndRibbonBar.AddCategory(QString::fromUtf8(CategoryName(category)), smallImages, largeImages);
            pPanel = nullptr;
        }
        if (pPanel == nullptr || strPanel != QLatin1String(element.panel)) {
            strPanel = QString::fromUtf8(element.panel);
            pPanel = pCategory->AddPanel(strPanel, panelIcon);
        }
        if (element.kind == RibbonLayout::ElementKind::CheckBox)
            pPanel->Add(new CMFCRibbonCheckBox(element.nID, element.label));
        else
            pPanel->Add(new CMFCRibbonButton(element.nID, element.label, element.nSmallImage, element.nLargeImage));
    }

    auto* pStyleButton = new CMFCRibbonButton(static_cast<UINT>(-1), LoadResourceString(IDS_STYLE_LABEL), -1, -1);
    pStyleButton->SetMenu(MainFrameResources::StyleMenu(), FALSE, TRUE);
    pStyleButton->SetToolTipText(LoadResourceString(IDS_STYLE_TOOLTIP));
    pStyleButton->SetDescription(LoadResourceString(IDS_STYLE_DESCRIPTION));
    m_wndRibbonBar.AddToTabs(pStyleButton);
    m_wndRibbonBar.AddToTabs(new CMFCRibbonButton(ID_APP_ABOUT, Texts::kAboutButtonText,
                                                  m_PanelImages.ExtractIcon(RibbonLayout::kAboutButtonImage)));

    m_wndRibbonBar.EnablePrintPreview(FALSE);

    CSettingsCache* pCache = CSettingsCache::Get();
    int nLastCategory = SettingDefaults::kLastCategory;
    if (pCache != nullptr) {
        if (pCache->m_nLastCategory == -1)
            pCache->m_nLastCategory = GetSettingInt(SettingNames::kLastCategory, SettingDefaults::kLastCategory);
        nLastCategory = pCache->m_nLastCategory;
    }
    // The program stores only indexes of its categories; any other value
    // (an edited profile) opens the radio page.
    if (nLastCategory < 0 || nLastCategory >= m_wndRibbonBar.GetCategoryCount())
        nLastCategory = SettingDefaults::kLastCategory;
    m_wndRibbonBar.SetActiveCategory(m_wndRibbonBar.GetCategory(nLastCategory), FALSE);
}

LRESULT CMainFrame::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_UPDATE_STATUS_PANES:
        UpdateStatusPanes();
        break;
    case WM_CATEGORY_CHANGED:
        OnCategoryChanged(static_cast<int>(static_cast<LPARAM>(wParam)));
        break;
    case WM_NEXT_APP_LOOK:
        OnNextAppLook();
        break;
    case WM_OPEN_PAGE:
        OnOpenPage(wParam);
        break;
    case WM_TRAY_NOTIFY:
        OnTrayNotify(wParam, lParam);
        break;
    default:
        break;
    }
    return CMDIFrameWndEx::DefWindowProc(message, wParam, lParam);
}

void CMainFrame::OnCategoryChanged(int nIndex)
{
    if (CSettingsCache* pCache = CSettingsCache::Get())
        pCache->m_nLastCategory = nIndex;
    WriteSettingInt(SettingNames::kLastCategory, nIndex);
    OpenCategoryPage(nIndex);
}

void CMainFrame::OpenCategoryPage(int nIndex)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return;
    // The template at that position; the last one when the list ends first.
    CDocTemplate* pTemplate = nullptr;
    int nPosition = 0;
    for (POSITION pos = pApp->GetFirstDocTemplatePosition(); pos != nullptr; ++nPosition) {
        pTemplate = pApp->GetNextDocTemplate(pos);
        if (nPosition == nIndex)
            break;
    }
    pApp->CloseAllDocuments(FALSE);
    if (pTemplate != nullptr)
        PostMessage(WM_OPEN_PAGE, reinterpret_cast<WPARAM>(pTemplate), 0);
}

void CMainFrame::OnOpenPage(WPARAM wParam)
{
    auto* pTemplate = reinterpret_cast<CDocTemplate*>(wParam);
    if (pTemplate != nullptr)
        pTemplate->OpenDocumentFile(nullptr, TRUE);
}

void CMainFrame::SetStatusText(const CString& strText)
{
    m_strStatusText = strText;
    UpdateTrayTip(m_strStatusText);
    PostMessage(WM_UPDATE_STATUS_PANES, 0, 0);
}

void CMainFrame::UpdateStatusPanes()
{
    CMFCRibbonCategory* pActive = m_wndRibbonBar.GetActiveCategory();
    if (pActive == nullptr || m_pStatusPane == nullptr || m_pContactPane == nullptr)
        return;

    const CString strVisitWebSite = Texts::kVisitPrefix + ProductInfo::WebSiteName();
    CString strDescription;
    CString strText;
    const int nIndex = m_wndRibbonBar.GetCategoryIndex(pActive);
    if (nIndex < 0 || nIndex >= static_cast<int>(std::size(kPageCategories)))
        return;
    switch (kPageCategories[nIndex]) {
    case PageCategory::OnlineRadioPlayer:
        strDescription = Texts::kStatusPaneDescription;
        strText = m_strStatusText;
        break;
    case PageCategory::Settings:
        strDescription = Texts::kGetMoreSoftware;
        strText = strVisitWebSite;
        break;
    case PageCategory::MoreSoftwares:
        strDescription = Texts::kDownloadMoreSoftware;
        strText = strVisitWebSite;
        break;
    case PageCategory::SendUsYourSong:
        strDescription = Texts::kVisitPrefix + ServerAddresses::MusicSiteAddress();
        strText = Texts::kSendUsYourVoice;
        break;
    }
    m_pStatusPane->SetDescription(strDescription);
    m_pStatusPane->SetText(strText);
    m_pStatusPane->Redraw();

    m_pContactPane->SetDescription(Texts::kContactPaneDescriptionPrefix + ProductInfo::SupportAddress());
    m_pContactPane->SetText(Texts::kContactPaneText);
    m_pContactPane->Redraw();
}

void CMainFrame::OnWindowManager()
{
    ShowWindowsDialog();
}

void CMainFrame::OnRefreshChannelsList()
{
    RefreshChannelsList();
}

BOOL CMainFrame::RefreshChannelsList()
{
    const CString strStationListPath = GetStationListPath();
    const BOOL bDownloaded = DownloadChannelsList(this, ServerAddresses::StationListUrl(), strStationListPath);
    if (bDownloaded)
        SendToActiveView(WM_RELOAD_CHANNELS);
    return bDownloaded;
}

void CMainFrame::SendToActiveView(UINT message)
{
    // Sent, not posted: a radio page in front has its new list when the
    // refresh returns. Another page ignores the message, and the file waits
    // for the next radio page.
    auto* pMainFrame = dynamic_cast<CMDIFrameWndEx*>(AfxGetMainWnd());
    CMDIChildWndEx* pChild = pMainFrame != nullptr ? pMainFrame->MDIGetActive() : nullptr;
    CWnd* pView = pChild != nullptr ? pChild->GetActiveView() : nullptr;
    if (pView != nullptr)
        pView->SendMessage(message, 0, 0);
}

void CMainFrame::PostToActiveView(UINT message)
{
    auto* pMainFrame = dynamic_cast<CMDIFrameWndEx*>(AfxGetMainWnd());
    CMDIChildWndEx* pChild = pMainFrame != nullptr ? pMainFrame->MDIGetActive() : nullptr;
    CWnd* pView = pChild != nullptr ? pChild->GetActiveView() : nullptr;
    if (pView != nullptr)
        pView->PostMessage(message, 0, 0);
}

void CMainFrame::OnOpenPromoSite()
{
    // When no browser starts, nothing is shown: the page itself stays.
    CreateShellOpen()->Open(QUrl(ServerAddresses::PromoSiteAddress()));
}

void CMainFrame::OnOpenMusicSite()
{
    CreateShellOpen()->Open(QUrl(ServerAddresses::MusicSiteAddress()));
}

void CMainFrame::OnReloadPromoPage()
{
    PostToActiveView(WM_RELOAD_PROMO_PAGE);
}

void CMainFrame::OnReloadMusicPage()
{
    PostToActiveView(WM_RELOAD_MUSIC_PAGE);
}

void CMainFrame::OnApplicationLook(UINT nID)
{
    CWaitCursor wait;
    m_nAppLook = static_cast<int>(nID);
    ApplicationLooks::Apply(nID);
    RedrawWindow(nullptr, nullptr, kRedrawEverything);
    WriteWorkspaceInt(SettingNames::kApplicationLook, m_nAppLook);
}

void CMainFrame::OnUpdateApplicationLook(CCmdUI* pCmdUI)
{
    pCmdUI->SetRadio(m_nAppLook == static_cast<int>(pCmdUI->m_nID));
}

void CMainFrame::OnNextAppLook()
{
    CWaitCursor wait;
    int nNext = m_nAppLook + 1;
    if (nNext > static_cast<int>(ID_VIEW_APPLOOK_OFF_2007_AQUA))
        nNext = static_cast<int>(ID_VIEW_APPLOOK_OFF_2007_BLUE);
    OnApplicationLook(static_cast<UINT>(nNext));
}

void CMainFrame::CloseAndDestroy()
{
    if (!IsDestroyed())
        CMDIFrameWndEx::OnClose();
}

void CMainFrame::OnDestroy()
{
    RemoveTrayIcon();
    WindowPlacement::Store(this);
    CMDIFrameWndEx::OnDestroy();
}

BOOL CMainFrame::AddTrayIcon()
{
    const CWinApp* pApp = AfxGetApp();
    const BOOL bAdded = m_trayIcon.Add(pApp != nullptr ? pApp->m_pszAppName : CString());
    if (bAdded)
        TrayMenu::MakeShowDefault();
    return bAdded;
}

void CMainFrame::UpdateTrayTip(const CString& strText)
{
    const CWinApp* pApp = AfxGetApp();
    m_trayIcon.SetTip(CMainFrameTrayIcon::TipText(pApp != nullptr ? pApp->m_pszAppName : CString(), strText));
}

void CMainFrame::RemoveTrayIcon()
{
    m_trayIcon.Remove();
}

LRESULT CMainFrame::OnTrayNotify(WPARAM, LPARAM lParam)
{
    const QPoint cursor = QCursor::pos();
    switch (TrayMouseRules::ActionOf(LOWORD(static_cast<WPARAM>(lParam)))) {
    case TrayMouseRules::Action::ShowMenu:
        // A hidden window stays hidden while its menu shows.
        if (IsWindowVisible())
            SetForegroundWindow();
        TrayMenu::Show(this, cursor.x(), cursor.y());
        break;
    case TrayMouseRules::Action::Restore:
        OnTrayShow();
        break;
    case TrayMouseRules::Action::None:
        break;
    }
    return 1;
}

void CMainFrame::OnTrayShow()
{
    ShowWindow(SW_RESTORE);
    SetForegroundWindow();
}

void CMainFrame::OnClose()
{
    OnHideToTray();
}

void CMainFrame::OnHideToTray()
{
    // Without a notification area a hidden window could never come back:
    // it is minimised instead, and playback goes on either way.
    ShowWindow(m_trayIcon.IsHostAvailable() ? SW_HIDE : SW_MINIMIZE);
}

void CMainFrame::OnTrayExit()
{
    // Every end takes the application's one way, which waits for open
    // dialogs and ends with CloseAndDestroy.
    if (CWinApp* pApp = AfxGetApp())
        pApp->EndApplication();
    else
        CloseAndDestroy();
}

void CMainFrame::OnCustomizeMenu()
{
    TrayMenu::Customize(this);
}

void CMainFrame::OnAutoStartup()
{
    SetAutoStartup(m_nAutoStartState == 0 ? TRUE : FALSE);
}

void CMainFrame::OnUpdateAutoStartup(CCmdUI* pCmdUI)
{
    if (m_nAutoStartState == -1)
        m_nAutoStartState = QueryAutoStartup();
    if (m_nAutoStartState == -2) {
        pCmdUI->Enable(FALSE);
        pCmdUI->SetCheck(0);
        return;
    }
    pCmdUI->SetCheck(m_nAutoStartState);
}

void CMainFrame::SetAutoStartup(BOOL bEnable)
{
    WriteAutoStartupEntry(bEnable);
    m_nAutoStartState = QueryAutoStartup();
}

void CMainFrame::OnAutoPlay()
{
    const int nAutoPlay = GetSettingInt(SettingNames::kAutoPlay, SettingDefaults::kAutoPlay);
    WriteSettingInt(SettingNames::kAutoPlay, nAutoPlay == 0 ? 1 : 0);
    m_nAutoPlayState = GetSettingInt(SettingNames::kAutoPlay, SettingDefaults::kAutoPlay);
}

void CMainFrame::OnUpdateAutoPlay(CCmdUI* pCmdUI)
{
    if (m_nAutoPlayState == -1)
        m_nAutoPlayState = GetSettingInt(SettingNames::kAutoPlay, SettingDefaults::kAutoPlay);
    pCmdUI->SetCheck(m_nAutoPlayState);
}
