#include "frame/RibbonLayout.h"

#include "res/Resource.h"
#include "res/StringTable.h"

namespace RibbonLayout {

const QList<Element>& Elements()
{
    using namespace Texts;
    static const QList<Element> elements = {
        {PageCategory::OnlineRadioPlayer, kPanelRadioControls, kLabelPlay, ElementKind::Button, ID_PLAY, 1, 1},
        {PageCategory::OnlineRadioPlayer, kPanelRadioControls, kLabelPlayNext, ElementKind::Button, ID_PLAY_NEXT, 1, 1},
        {PageCategory::OnlineRadioPlayer, kPanelRadioControls, kLabelPlayPrevious, ElementKind::Button,
         ID_PLAY_PREVIOUS, 1, 1},
        {PageCategory::OnlineRadioPlayer, kPanelRadioControls, kLabelStop, ElementKind::Button, ID_STOP, 0, 0},
        {PageCategory::OnlineRadioPlayer, kPanelChannelManagement, kLabelRefreshChannelsList, ElementKind::Button,
         ID_REFRESH_CHANNELS_LIST, -1, 2},
        {PageCategory::OnlineRadioPlayer, kPanelApplicationManagement, kLabelHideToSystemTray, ElementKind::Button,
         ID_HIDE_TO_TRAY, -1, -1},
        {PageCategory::OnlineRadioPlayer, kPanelApplicationManagement, kLabelDisplayRadioChannels,
         ElementKind::CheckBox, ID_DISPLAY_RADIO_CHANNELS, -1, -1},
        {PageCategory::OnlineRadioPlayer, kPanelApplicationManagement, kLabelDisplayTVChannels, ElementKind::CheckBox,
         ID_DISPLAY_TV_CHANNELS, -1, -1},
        {PageCategory::OnlineRadioPlayer, kPanelLive, kLabelPauseResume, ElementKind::Button, ID_LIVE_PAUSE_RESUME, -1,
         -1},
        {PageCategory::OnlineRadioPlayer, kPanelLive, kLabelBack30, ElementKind::Button, ID_LIVE_BACK, -1, -1},
        {PageCategory::OnlineRadioPlayer, kPanelLive, kLabelForward30, ElementKind::Button, ID_LIVE_FORWARD, -1, -1},
        {PageCategory::OnlineRadioPlayer, kPanelLive, kLabelSaveSong, ElementKind::Button, ID_LIVE_SAVE_SONG, -1, -1},
        {PageCategory::OnlineRadioPlayer, kPanelLive, kLabelRecordSongs, ElementKind::CheckBox, ID_LIVE_RECORD_SONGS,
         -1, -1},
        {PageCategory::OnlineRadioPlayer, kPanelLive, kLabelRecentlyPlayed, ElementKind::CheckBox,
         ID_LIVE_RECENTLY_PLAYED, -1, -1},
        // Small elements stack three to a column: the moves in time first,
        // the songs next, and the live edge alone at the right-hand end, as
        // on a timeline. The panel so stays within the window's saved width.
        {PageCategory::OnlineRadioPlayer, kPanelLive, kLabelGoLive, ElementKind::Button, ID_LIVE_GO_LIVE, -1, -1},
        {PageCategory::Settings, kPanelRadioControl, kLabelAutoStartup, ElementKind::CheckBox, ID_AUTO_STARTUP, -1, -1},
        {PageCategory::Settings, kPanelRadioControl, kLabelPlayLastChannel, ElementKind::CheckBox, ID_AUTO_PLAY, -1,
         -1},
        {PageCategory::MoreSoftwares, kPanelNavigation, kLabelOpenInNewWindow, ElementKind::Button, ID_OPEN_PROMO_SITE,
         -1, -1},
        {PageCategory::MoreSoftwares, kPanelNavigation, kLabelRefresh, ElementKind::Button, ID_RELOAD_PROMO_PAGE, -1,
         -1},
        {PageCategory::SendUsYourSong, kPanelNavigation, kLabelOpenInNewWindow, ElementKind::Button, ID_OPEN_MUSIC_SITE,
         -1, -1},
        {PageCategory::SendUsYourSong, kPanelNavigation, kLabelRefresh, ElementKind::Button, ID_RELOAD_MUSIC_PAGE, -1,
         -1},
    };
    return elements;
}

}
