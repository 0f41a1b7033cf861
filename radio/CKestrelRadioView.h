#pragma once

#include "fw/CFormView.h"
#include "fw/CListCtrl.h"
#include "radio/CExplorer_ad.h"
#include "radio/CWMPPlayer4.h"
#include "radio/HeardSongs.h"
#include "radio/NowPlayingPublisher.h"
#include "radio/RecentlyPlayedPanel.h"
#include "radio/SongRecorder.h"

class CCmdUI;
class ITimeShift;
class QCheckBox;

// The radio page: a form of dialog 101 with the media player on top, the
// channel list under it and the banner at the bottom. Playback follows the
// list's selection: selecting a row plays it, and next and previous only
// move the selection.
class CKestrelRadioView : public CFormView
{
    Q_OBJECT

public:
    CKestrelRadioView();

    void OnInitialUpdate() override;

    // Selects row nIndex, which then plays; an index outside the list
    // selects nothing.
    void SelectChannel(int nIndex);

    CListCtrl m_listChannels;
    CWMPPlayer4 m_player;
    BOOL m_bDisplayNonWorking = FALSE;
    CExplorer_ad m_banner;

protected:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnDestroy() override;

private:
    void BuildForm();
    // Moves the check box's state into m_bDisplayNonWorking (bSaveAndValidate)
    // or the member into the check box.
    void UpdateData(BOOL bSaveAndValidate);
    void ReloadChannelList();
    // Scrolls row nItem into view and makes it the selected, focused row.
    void SelectAndFocus(int nItem);

    void OnPlay();
    void OnPlayNext();
    void OnPlayPrevious();
    void OnStop();
    // A system-wide hot key: its playback command goes to this page.
    void OnHotKey(UINT nHotKeyId, UINT nKey1, UINT nKey2);
    void OnChannelListItemChanged(int nItem, UINT uOldState, UINT uNewState);
    void OnChannelListKeyDown(UINT nVKey);
    void OnPlayerStatusChange();
    void OnPlayerPlayStateChange(long nNewState);

    void OnDisplayNonWorkingChannels();
    void OnDisplayRadioChannels();
    void OnDisplayTVChannels();
    void OnUpdateDisplayRadioChannels(CCmdUI* pCmdUI);
    void OnUpdateDisplayTVChannels(CCmdUI* pCmdUI);

    // The "Live" panel: time-shift of the playing channel and the songs heard.
    void OnPauseResume();
    void OnLiveBack();
    void OnLiveForward();
    void OnGoLive();
    void OnRecentlyPlayed();
    void OnSaveSong();
    void OnRecordSongs();
    void OnUpdateSaveSong(CCmdUI* pCmdUI);
    void OnUpdateRecordSongs(CCmdUI* pCmdUI);
    void OnSongRecorderReport(const QString& strText);
    void OnUpdatePauseResume(CCmdUI* pCmdUI);
    void OnUpdateTimeShiftMove(CCmdUI* pCmdUI);
    void OnUpdateLiveForward(CCmdUI* pCmdUI);
    void OnUpdateRecentlyPlayed(CCmdUI* pCmdUI);
    // The player's buffer while it holds the playing channel, else null.
    ITimeShift* ActiveTimeShift();
    // Songs of the history saved from the buffer.
    CRecentlyPlayedPanel::SaveOffer OfferToSave(const SongHistoryEntry& song) const;
    void SaveHeardSong(const SongHistoryEntry& song);

    QCheckBox* m_pCheckNonWorking = nullptr;
    // A Play posted for a selection change has not run yet: it plays the
    // row selected when it runs, so later changes need no Play of their own.
    bool m_bPlayPosted = false;
    CRecentlyPlayedPanel* m_pRecentlyPlayed = nullptr;
    // After m_player, which they publish and save from.
    CNowPlayingPublisher m_nowPlaying;
    CSongRecorder m_songRecorder;
    CHeardSongs m_heardSongs;
};
