#include "frame/RibbonLayout.h"

#include "res/Resource.h"
#include "res/StringTable.h"

namespace RibbonLayout {

const QList<Element>& Elements()
{
    using namespace Texts;
    static const QList<Element> elements = {
        {kCategoryOnlineRadioPlayer, kPanelRadioControls, kLabelPlay, ElementKind::Button, ID_PLAY, 1, 1},
        {kCategoryOnlineRadioPlayer, kPanelRadioControls, kLabelPlayNext, ElementKind::Button, ID_PLAY_NEXT, 1, 1},
        {kCategoryOnlineRadioPlayer, kPanelRadioControls, kLabelPlayPrevious, ElementKind::Button, ID_PLAY_PREVIOUS, 1, 1},
        {kCategoryOnlineRadioPlayer, kPanelRadioControls, kLabelStop, ElementKind::Button, ID_STOP, 0, 0},
        {kCategoryOnlineRadioPlayer, kPanelChannelManagement, kLabelRefreshChannelsList, ElementKind::Button,
         ID_REFRESH_CHANNELS_LIST, -1, 2},
        {kCategoryOnlineRadioPlayer, kPanelApplicationManagement, kLabelHideToSystemTray, ElementKind::Button,
         ID_HIDE_TO_TRAY, -1, -1},
        {kCategoryOnlineRadioPlayer, kPanelApplicationManagement, kLabelDisplayRadioChannels, ElementKind::CheckBox,
         ID_DISPLAY_RADIO_CHANNELS, -1, -1},
        {kCategoryOnlineRadioPlayer, kPanelApplicationManagement, kLabelDisplayTVChannels, ElementKind::CheckBox,
         ID_DISPLAY_TV_CHANNELS, -1, -1},
        {kCategorySettings, kPanelRadioControl, kLabelAutoStartup, ElementKind::CheckBox, ID_AUTO_STARTUP, -1, -1},
        {kCategorySettings, kPanelRadioControl, kLabelPlayLastChannel, ElementKind::CheckBox, ID_AUTO_PLAY, -1, -1},
        {kCategoryMoreSoftwares, kPanelNavigation, kLabelOpenInNewWindow, ElementKind::Button, ID_OPEN_PROMO_SITE, -1, -1},
        {kCategoryMoreSoftwares, kPanelNavigation, kLabelRefresh, ElementKind::Button, ID_RELOAD_PROMO_PAGE, -1, -1},
        {kCategorySendUsYourSong, kPanelNavigation, kLabelOpenInNewWindow, ElementKind::Button, ID_OPEN_MUSIC_SITE, -1, -1},
        {kCategorySendUsYourSong, kPanelNavigation, kLabelRefresh, ElementKind::Button, ID_RELOAD_MUSIC_PAGE, -1, -1},
    };
    return elements;
}

}
