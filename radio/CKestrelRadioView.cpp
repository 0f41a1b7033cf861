#include "radio/CKestrelRadioView.h"

#include "res/PrivateMessages.h"
#include "catalogue/CChannelCatalogue.h"
#include "catalogue/FillChannelList.h"
#include "download/ServerAddresses.h"
#include "frame/FirstRunSizing.h"
#include "frame/PageOpening.h"
#include "fw/CCmdUI.h"
#include "fw/CWinApp.h"
#include "fw/DialogUnits.h"
#include "fw/HotKeyRegistration.h"
#include "fw/VirtualKeys.h"
#include "hotkeys/HotKeyActions.h"
#include "hotkeys/HotKeyStore.h"
#include "nowplaying/SongHistoryRecorder.h"
#include "platform/media/MediaEngine.h"
#include "platform/media/TimeShift.h"
#include "radio/RecentlyPlayedPanel.h"
#include "res/Resource.h"
#include "res/StringTable.h"
#include "settings/SettingNames.h"
#include "settings/SettingsCache.h"
#include "settings/SettingsStore.h"

#include <QCheckBox>
#include <QLabel>
#include <QVBoxLayout>

namespace {
constexpr char kFirstRunFlag[] = "CKestrelRadioView";
constexpr char kDisplayNonWorkingText[] = "Display Non Working Channels";

// The list's hidden fifth column carries each channel's stream address;
// the second its name.
constexpr int kStreamUrlColumn = 4;
constexpr int kChannelNameColumn = 1;

// The status while every song is saved.
constexpr char kRecordingStatus[] = "%1 (recording songs)";

// How far Back and Forward move within the time-shift buffer.
constexpr double kTimeShiftStepSeconds = 30.0;

// The Save button's tip in Recently Played for the song playing, once the
// listener asked for it.
constexpr char kSaveAsked[] = "It is saved once it ends.";

// Dialog 101, in dialog units: the form, and where its controls sit when
// the form has that size. The player and the list share what the window
// gives beyond it, in proportion to their heights; the banner keeps its
// height.
const QSize kFormSize(483, 281);
const QRect kPlayerRect(7, 7, 469, 66);
const QRect kChannelsListLabelRect(7, 76, 43, 8);
const QRect kListRect(7, 86, 469, 111);
const QRect kCheckNonWorkingRect(293, 183, 113, 10);
const QRect kBannerRect(7, 200, 469, 75);

// The row a selection change reports as selected.
bool IsSelected(UINT uState)
{
    return (uState & LVIS_SELECTED) != 0;
}

void PostToMainWindow(UINT message, WPARAM wParam)
{
    if (CWnd* pMainWnd = AfxGetMainWnd())
        pMainWnd->PostMessage(message, wParam, 0);
}
}

CKestrelRadioView::CKestrelRadioView()
    : CFormView(IDD_KESTRELRADIO_FORM)
    , m_nowPlaying(m_player)
    , m_songRecorder(m_player.Engine())
    , m_heardSongs(m_player.Engine())
{
    BuildForm();

    MapCommand(ID_PLAY, &CKestrelRadioView::OnPlay);
    MapCommand(ID_TRAY_PLAY, &CKestrelRadioView::OnPlay);
    MapCommand(ID_PLAY_NEXT, &CKestrelRadioView::OnPlayNext);
    MapCommand(ID_TRAY_PLAY_NEXT, &CKestrelRadioView::OnPlayNext);
    MapCommand(ID_PLAY_PREVIOUS, &CKestrelRadioView::OnPlayPrevious);
    MapCommand(ID_TRAY_PLAY_PREVIOUS, &CKestrelRadioView::OnPlayPrevious);
    MapCommand(ID_STOP, &CKestrelRadioView::OnStop);
    MapCommand(ID_TRAY_STOP, &CKestrelRadioView::OnStop);
    MapCommand(ID_DISPLAY_RADIO_CHANNELS, &CKestrelRadioView::OnDisplayRadioChannels);
    MapCommand(ID_DISPLAY_TV_CHANNELS, &CKestrelRadioView::OnDisplayTVChannels);
    MapUpdateCommandUI(ID_DISPLAY_RADIO_CHANNELS, &CKestrelRadioView::OnUpdateDisplayRadioChannels);
    MapUpdateCommandUI(ID_DISPLAY_TV_CHANNELS, &CKestrelRadioView::OnUpdateDisplayTVChannels);
    MapCommand(ID_LIVE_PAUSE_RESUME, &CKestrelRadioView::OnPauseResume);
    MapCommand(ID_LIVE_BACK, &CKestrelRadioView::OnLiveBack);
    MapCommand(ID_LIVE_FORWARD, &CKestrelRadioView::OnLiveForward);
    MapCommand(ID_LIVE_GO_LIVE, &CKestrelRadioView::OnGoLive);
    MapCommand(ID_LIVE_RECENTLY_PLAYED, &CKestrelRadioView::OnRecentlyPlayed);
    MapUpdateCommandUI(ID_LIVE_PAUSE_RESUME, &CKestrelRadioView::OnUpdatePauseResume);
    MapUpdateCommandUI(ID_LIVE_BACK, &CKestrelRadioView::OnUpdateTimeShiftMove);
    MapUpdateCommandUI(ID_LIVE_FORWARD, &CKestrelRadioView::OnUpdateLiveForward);
    MapUpdateCommandUI(ID_LIVE_GO_LIVE, &CKestrelRadioView::OnUpdateTimeShiftMove);
    MapUpdateCommandUI(ID_LIVE_RECENTLY_PLAYED, &CKestrelRadioView::OnUpdateRecentlyPlayed);
    MapCommand(ID_LIVE_SAVE_SONG, &CKestrelRadioView::OnSaveSong);
    MapCommand(ID_LIVE_RECORD_SONGS, &CKestrelRadioView::OnRecordSongs);
    MapUpdateCommandUI(ID_LIVE_SAVE_SONG, &CKestrelRadioView::OnUpdateSaveSong);
    MapUpdateCommandUI(ID_LIVE_RECORD_SONGS, &CKestrelRadioView::OnUpdateRecordSongs);
    connect(&m_songRecorder, &CSongRecorder::Report, this, &CKestrelRadioView::OnSongRecorderReport);

    connect(m_pCheckNonWorking, &QCheckBox::clicked, this, &CKestrelRadioView::OnDisplayNonWorkingChannels);
    connect(&m_listChannels, &CListCtrl::KeyDown, this, &CKestrelRadioView::OnChannelListKeyDown);
    connect(&m_listChannels, &CListCtrl::ItemChanged, this, &CKestrelRadioView::OnChannelListItemChanged);
    connect(&m_player, &CWMPPlayer4::StatusChange, this, &CKestrelRadioView::OnPlayerStatusChange);
    connect(&m_player, &CWMPPlayer4::PlayStateChange, this, &CKestrelRadioView::OnPlayerPlayStateChange);
}

void CKestrelRadioView::BuildForm()
{
    QWidget* pForm = GetFormWidget();
    const QFont font = pForm->font();
    const auto toPixels = [&font](const QRect& rect) { return DialogUnits::ToPixels(rect, font); };
    const QRect formRect = toPixels(QRect(QPoint(0, 0), kFormSize));
    const QRect playerRect = toPixels(kPlayerRect);
    const QRect labelRect = toPixels(kChannelsListLabelRect);
    const QRect listRect = toPixels(kListRect);
    const QRect bannerRect = toPixels(kBannerRect);
    pForm->setMinimumSize(formRect.size());

    // The controls' ids name them, so that tools that look into the
    // window find them as the dialog has them.
    m_listChannels.setObjectName(QString::number(IDC_LIST_CHANNELS));
    m_player.setObjectName(QString::number(IDC_PLAYER));
    m_banner.setObjectName(QString::number(IDC_BANNER));

    auto* pChannelsListLabel = new QLabel(Texts::kChannelsListLabel);
    pChannelsListLabel->setFixedHeight(labelRect.height());
    m_player.setMinimumHeight(playerRect.height());
    m_listChannels.setMinimumHeight(listRect.height());
    for (QWidget* pGrowing : {static_cast<QWidget*>(&m_player), static_cast<QWidget*>(&m_listChannels)})
        pGrowing->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    m_banner.setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);

    auto* pLayout = new QVBoxLayout(pForm);
    pLayout->setSpacing(0);
    pLayout->setContentsMargins(playerRect.left(), playerRect.top(), formRect.right() - playerRect.right(),
                                formRect.bottom() - bannerRect.bottom());
    pLayout->addWidget(&m_player, playerRect.height());
    pLayout->addSpacing(labelRect.top() - playerRect.bottom() - 1);
    pLayout->addWidget(pChannelsListLabel);
    pLayout->addSpacing(listRect.top() - labelRect.bottom() - 1);
    pLayout->addWidget(&m_listChannels, listRect.height());
    // Hidden until the listener asks for it; it then shares the list's room.
    CSongHistoryRecorder* pRecorder = CSongHistoryRecorder::Get();
    m_pRecentlyPlayed = new CRecentlyPlayedPanel(pRecorder != nullptr ? &pRecorder->History() : nullptr, pForm);
    m_pRecentlyPlayed->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    m_pRecentlyPlayed->SetSongSaving([this](const SongHistoryEntry& song) { return OfferToSave(song); },
                                     [this](const SongHistoryEntry& song) { SaveHeardSong(song); });
    m_pRecentlyPlayed->hide();
    pLayout->addWidget(m_pRecentlyPlayed, listRect.height());
    pLayout->addSpacing(bannerRect.top() - listRect.bottom() - 1);
    pLayout->addWidget(&m_banner);

    // Created hidden, and nothing shows it; it still reads and writes the
    // stored choice.
    m_pCheckNonWorking = new QCheckBox(QLatin1String(kDisplayNonWorkingText), pForm);
    m_pCheckNonWorking->setObjectName(QString::number(IDC_CHECK_NON_WORKING));
    m_pCheckNonWorking->setGeometry(toPixels(kCheckNonWorkingRect));
    m_pCheckNonWorking->hide();

    // The dialog's tab order: the list first, so that it has the keyboard
    // when the page opens and F8 and F9 work at once.
    setTabOrder(&m_listChannels, &m_player);
    setTabOrder(&m_player, &m_banner);
    setFocusProxy(&m_listChannels);
}

void CKestrelRadioView::UpdateData(BOOL bSaveAndValidate)
{
    if (bSaveAndValidate)
        m_bDisplayNonWorking = m_pCheckNonWorking->isChecked() ? TRUE : FALSE;
    else
        m_pCheckNonWorking->setChecked(m_bDisplayNonWorking != FALSE);
}

void CKestrelRadioView::OnInitialUpdate()
{
    m_bDisplayNonWorking =
        GetSettingInt(SettingNames::kDisplayNonWorkingChannels, SettingDefaults::kDisplayNonWorkingChannels);
    CFormView::OnInitialUpdate();
    UpdateData(FALSE);
    CWaitCursor wait;
    RegisterHotKeys(this);
    MaximizePageFrame(this);
    ResizeParentToFit(FALSE);
    SizeMainWindowOnFirstRun(this, kFirstRunFlag);
    m_listChannels.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    PostToMainWindow(WM_UPDATE_STATUS_PANES, 0);
    PostToMainWindow(WM_COMMAND, ID_REFRESH_CHANNELS_LIST);
    m_banner.Navigate2(ServerAddresses::BannerUrl());
    m_listChannels.setFocus();
}

LRESULT CKestrelRadioView::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_RELOAD_CHANNELS)
        ReloadChannelList();
    if (message == WM_HOTKEY)
        OnHotKey(static_cast<UINT>(wParam), LOWORD(static_cast<WPARAM>(lParam)), HIWORD(static_cast<WPARAM>(lParam)));
    return CFormView::DefWindowProc(message, wParam, lParam);
}

void CKestrelRadioView::OnHotKey(UINT nHotKeyId, UINT, UINT)
{
    // The key does what the ribbon's button does, once this handler is done.
    for (const HotKeyAction& action : kHotKeyActions) {
        if (static_cast<UINT>(action.nId) == nHotKeyId)
            PostMessage(WM_COMMAND, action.nCommand, 0);
    }
}

void CKestrelRadioView::OnDestroy()
{
    for (const HotKeyAction& action : kHotKeyActions)
        UnregisterHotKey(this, action.nId);
    CFormView::OnDestroy();
}

void CKestrelRadioView::ReloadChannelList()
{
    CWaitCursor wait;
    CChannelCatalogue catalogue;
    FillChannelList(m_listChannels, catalogue);
    if (GetSettingInt(SettingNames::kAutoPlay, SettingDefaults::kAutoPlay) == 1)
        SelectChannel(GetSettingInt(SettingNames::kLastChannelIndex, SettingDefaults::kLastChannelIndex));
}

void CKestrelRadioView::SelectAndFocus(int nItem)
{
    m_listChannels.EnsureVisible(nItem, FALSE);
    m_listChannels.SetItemState(nItem, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void CKestrelRadioView::SelectChannel(int nIndex)
{
    if (nIndex >= 0 && nIndex < m_listChannels.GetItemCount())
        SelectAndFocus(nIndex);
}

void CKestrelRadioView::OnPlay()
{
    m_bPlayPosted = false;
    const int nSelected = m_listChannels.GetNextItem(-1, LVNI_SELECTED);
    if (nSelected < 0) {
        // The selection change comes back here and plays the row.
        if (m_listChannels.GetItemCount() > 0)
            SelectAndFocus(0);
        return;
    }
    WriteSettingInt(SettingNames::kLastChannelIndex, nSelected);
    const CString strStreamUrl = m_listChannels.GetItemText(nSelected, kStreamUrlColumn);
    const CString strChannel = m_listChannels.GetItemText(nSelected, kChannelNameColumn);
    m_nowPlaying.PublishChannel(strChannel, strStreamUrl);
    m_songRecorder.SetChannel(strChannel);
    m_heardSongs.SetChannel(strChannel);
    m_player.SetURL(strStreamUrl);
}

void CKestrelRadioView::OnPlayNext()
{
    const int nCount = m_listChannels.GetItemCount();
    if (nCount < 2)
        return;
    int nNext = m_listChannels.GetNextItem(-1, LVNI_SELECTED) + 1;
    if (nNext == nCount)
        nNext = 0;
    if (nNext < nCount)
        SelectAndFocus(nNext);
}

void CKestrelRadioView::OnPlayPrevious()
{
    const int nCount = m_listChannels.GetItemCount();
    if (nCount < 2)
        return;
    const int nSelected = m_listChannels.GetNextItem(-1, LVNI_SELECTED);
    int nPrevious = (nSelected < 0 ? nCount : nSelected) - 1;
    if (nPrevious < 0)
        nPrevious = nCount - 1;
    if (nPrevious < nCount)
        SelectAndFocus(nPrevious);
}

void CKestrelRadioView::OnStop()
{
    m_player.GetControls().stop();
}

void CKestrelRadioView::OnChannelListItemChanged(int, UINT, UINT uNewState)
{
    // A burst of changes (a held key, a flood of Next from the desktop's
    // media controls) plays only the row it ends on: opening every row on
    // the way would swamp the player, which then ends up playing another
    // row than the one shown, or nothing.
    if (!IsSelected(uNewState) || m_bPlayPosted)
        return;
    m_bPlayPosted = true;
    PostMessage(WM_COMMAND, ID_PLAY, 0);
}

void CKestrelRadioView::OnChannelListKeyDown(UINT nVKey)
{
    if (nVKey == VK_F8)
        PostMessage(WM_COMMAND, ID_PLAY_PREVIOUS, 0);
    else if (nVKey == VK_F9)
        PostMessage(WM_COMMAND, ID_PLAY_NEXT, 0);
    else if (nVKey == VK_SPACE)
        PostMessage(WM_COMMAND, ID_LIVE_PAUSE_RESUME, 0);
}

void CKestrelRadioView::OnPlayerStatusChange()
{
    // The relay hands it on to the main frame's status text.
    if (m_songRecorder.IsRecordingSongs())
        m_nowPlaying.PublishStatus(QString::fromLatin1(kRecordingStatus).arg(m_player.GetStatus()));
    else
        m_nowPlaying.PublishStatus(m_player.GetStatus());
}

void CKestrelRadioView::OnPlayerPlayStateChange(long)
{
    // The status text tells the listener what plays. The engine makes its
    // buffer when it first opens a channel; from then on, what Recently
    // Played can save moves on with it.
    if (ITimeShift* pTimeShift = m_player.Engine().TimeShift())
        connect(pTimeShift, &ITimeShift::Changed, m_pRecentlyPlayed, &CRecentlyPlayedPanel::RefreshButtons,
                Qt::UniqueConnection);
}

void CKestrelRadioView::OnDisplayNonWorkingChannels()
{
    UpdateData(TRUE);
    WriteSettingInt(SettingNames::kDisplayNonWorkingChannels, m_bDisplayNonWorking);
    PostMessage(WM_RELOAD_CHANNELS, 0, 0);
}

void CKestrelRadioView::OnDisplayRadioChannels()
{
    ToggleDisplayRadioChannels();
    PostToMainWindow(WM_COMMAND, ID_REFRESH_CHANNELS_LIST);
}

void CKestrelRadioView::OnDisplayTVChannels()
{
    ToggleDisplayTVChannels();
    PostToMainWindow(WM_COMMAND, ID_REFRESH_CHANNELS_LIST);
}

void CKestrelRadioView::OnUpdateDisplayRadioChannels(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(GetDisplayRadioChannels() != 0 ? 1 : 0);
}

void CKestrelRadioView::OnUpdateDisplayTVChannels(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(GetDisplayTVChannels() != 0 ? 1 : 0);
}

ITimeShift* CKestrelRadioView::ActiveTimeShift()
{
    ITimeShift* pTimeShift = m_player.Engine().TimeShift();
    return pTimeShift != nullptr && pTimeShift->IsActive() ? pTimeShift : nullptr;
}

void CKestrelRadioView::OnPauseResume()
{
    switch (m_player.Engine().GetState()) {
    case IMediaEngine::State::Playing:
    case IMediaEngine::State::Buffering:
        m_player.GetControls().pause();
        break;
    case IMediaEngine::State::Paused:
        m_player.GetControls().play();
        break;
    case IMediaEngine::State::Idle:
    case IMediaEngine::State::Opening:
        break;
    }
}

void CKestrelRadioView::OnLiveBack()
{
    if (ITimeShift* pTimeShift = ActiveTimeShift())
        pTimeShift->SeekBy(-kTimeShiftStepSeconds);
}

void CKestrelRadioView::OnLiveForward()
{
    if (ITimeShift* pTimeShift = ActiveTimeShift())
        pTimeShift->SeekBy(kTimeShiftStepSeconds);
}

void CKestrelRadioView::OnGoLive()
{
    if (ActiveTimeShift() != nullptr)
        m_player.GoLive();
}

void CKestrelRadioView::OnRecentlyPlayed()
{
    const bool bShow = m_pRecentlyPlayed->isHidden();
    if (bShow)
        m_pRecentlyPlayed->Refresh();
    m_pRecentlyPlayed->setVisible(bShow);
}

void CKestrelRadioView::OnUpdatePauseResume(CCmdUI* pCmdUI)
{
    // A live channel waits only in the buffer; without it, pausing would
    // stall the stream, and Stop is the way to end it.
    const IMediaEngine::State state = m_player.Engine().GetState();
    const bool bUnderway = state == IMediaEngine::State::Playing || state == IMediaEngine::State::Buffering ||
        state == IMediaEngine::State::Paused;
    const ITimeShift* pTimeShift = m_player.Engine().TimeShift();
    pCmdUI->Enable(bUnderway && ((pTimeShift != nullptr && pTimeShift->IsEnabled()) || m_player.Engine().IsSeekable()));
}

void CKestrelRadioView::OnUpdateTimeShiftMove(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(ActiveTimeShift() != nullptr);
}

void CKestrelRadioView::OnUpdateLiveForward(CCmdUI* pCmdUI)
{
    // At the live edge there is nothing ahead to move to.
    const ITimeShift* pTimeShift = ActiveTimeShift();
    pCmdUI->Enable(pTimeShift != nullptr && pTimeShift->SecondsBehindLive() > 0);
}

void CKestrelRadioView::OnUpdateRecentlyPlayed(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(m_pRecentlyPlayed->isVisible() ? 1 : 0);
}

void CKestrelRadioView::OnSaveSong()
{
    if (ActiveTimeShift() != nullptr)
        m_songRecorder.SaveCurrentSong();
}

void CKestrelRadioView::OnRecordSongs()
{
    m_songRecorder.SetRecordSongs(!m_songRecorder.IsRecordingSongs());
    OnPlayerStatusChange();
}

void CKestrelRadioView::OnUpdateSaveSong(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(ActiveTimeShift() != nullptr && !m_songRecorder.IsSaveAsked());
}

void CKestrelRadioView::OnUpdateRecordSongs(CCmdUI* pCmdUI)
{
    const ITimeShift* pTimeShift = m_player.Engine().TimeShift();
    pCmdUI->Enable(pTimeShift != nullptr && pTimeShift->IsEnabled());
    pCmdUI->SetCheck(m_songRecorder.IsRecordingSongs() ? 1 : 0);
}

void CKestrelRadioView::OnSongRecorderReport(const QString& strText)
{
    // Until the player next reports, the status tells what became of the song.
    m_nowPlaying.PublishStatus(strText);
}

CRecentlyPlayedPanel::SaveOffer CKestrelRadioView::OfferToSave(const SongHistoryEntry& song) const
{
    const CHeardSongs::Verdict verdict = m_heardSongs.Find(song);
    switch (verdict.holding) {
    case CHeardSongs::Holding::Playing:
        if (m_songRecorder.IsSaveAsked())
            return {false, QString::fromLatin1(kSaveAsked)};
        return {true, verdict.strWhy};
    case CHeardSongs::Holding::Whole:
    case CHeardSongs::Holding::Incomplete:
        return {true, verdict.strWhy};
    case CHeardSongs::Holding::Gone:
        break;
    }
    return {false, verdict.strWhy};
}

void CKestrelRadioView::SaveHeardSong(const SongHistoryEntry& song)
{
    const CHeardSongs::Verdict verdict = m_heardSongs.Find(song);
    switch (verdict.holding) {
    case CHeardSongs::Holding::Playing:
        OnSaveSong();
        break;
    case CHeardSongs::Holding::Whole:
    case CHeardSongs::Holding::Incomplete:
        m_songRecorder.SaveHeardSong(verdict.song.strTitle, verdict.song.dStart, verdict.song.dEnd,
                                     verdict.song.bComplete);
        break;
    case CHeardSongs::Holding::Gone:
        break;
    }
}
