#include "res/StringTable.h"

#include "res/ProductInfo.h"
#include "res/Resource.h"

#include <QHash>

namespace {

// A command's prompt: what the tooltip says under its bold title.
CString Prompt(const char* description, const char* title)
{
    return QString::fromUtf8(description) + QLatin1Char('\n') + QString::fromUtf8(title);
}

QHash<UINT, CString> BuildTable()
{
    const CString title = ProductInfo::ApplicationTitle();
    return {
        {IDP_OLE_INIT_FAILED, Texts::kOleInitFailed},
        {IDS_SYSTEM_TRAY_MENU, Texts::kSystemTrayMenu},
        {IDR_MAINFRAME, title},
        {AFX_IDS_APP_TITLE, title},
        {IDR_KestrelRadioTYPE, Texts::kKestrelRadioDocString},
        {IDR_PromoTYPE, Texts::kPromoDocString},
        {IDR_HardwareTYPE, Texts::kHardwareDocString},
        {IDS_MAIN_BUTTON_TOOLTIP, Texts::kMainButtonTooltip},
        {IDS_STYLE_LABEL, Texts::kStyleLabel},
        {IDS_STYLE_TOOLTIP, Texts::kStyleTooltip},
        {IDS_STYLE_DESCRIPTION, Texts::kStyleDescription},
        {ID_REFRESH_CHANNELS_LIST,
         Prompt("Press this button to Refresh Radio Channels List.", "Refresh Radio Channels List")},
        {ID_STOP, Prompt("Press this button to Stop currently playing radio channel.", "Stop Radio")},
        {ID_PLAY, Prompt("Press this button to play currently selected Radio Channel", "Play Radio")},
        {ID_PLAY_NEXT,
         Prompt("Press this button to play Next Radio Station from the list or press F9 to Play Next "
                "Channel when this Window is Active.",
                "Play Next Radio Channel")},
        {ID_PLAY_PREVIOUS,
         Prompt("Press this button to play Previous Radio Station from the list or Press F8 to Play "
                "Previous Channel from the list when this Window is Active.",
                "Play Previous Radio Channel")},
        {ID_AUTO_STARTUP,
         Prompt("Start this Application when Windows Starts and Keep it in System Tray.",
                "Start Application at Windows Startup")},
        {ID_AUTO_PLAY, Prompt("Play Last Channel Automatically on Application Startup.", "Auto Play")},
        {ID_HIDE_TO_TRAY,
         Prompt("Hide Main Application Window. You can Restore Window using System Tray Menu of the "
                "Application.",
                "Hide Window to System Tray")},
        {ID_DISPLAY_RADIO_CHANNELS,
         Prompt("Refresh the Channels List below and Hide or Display Radio Channels in the List.",
                "Display or Hide Radio Channels")},
        {ID_DISPLAY_TV_CHANNELS,
         Prompt("Refresh the Channels List below and Hide or Display TV Channels in the List.",
                "Display or Hide TV Channels")},
        {ID_LIVE_PAUSE_RESUME,
         Prompt("Pause the channel while it goes on arriving, or resume where it paused. Space does the same "
                "on this page.",
                "Pause or Resume")},
        {ID_LIVE_BACK, Prompt("Go back 30 seconds in what the channel played.", "Back 30 Seconds")},
        {ID_LIVE_FORWARD, Prompt("Go forward 30 seconds, up to the live broadcast.", "Forward 30 Seconds")},
        {ID_LIVE_GO_LIVE, Prompt("Return to the live broadcast of the channel.", "Go Live")},
        {ID_LIVE_SAVE_SONG,
         Prompt("Save the song playing now to your music folder, as the station sends it, once it ends.", "Save Song")},
        {ID_LIVE_RECORD_SONGS,
         Prompt("Save every complete song of the playing channel to your music folder as it ends.", "Record Songs")},
        {ID_LIVE_RECENTLY_PLAYED,
         Prompt("Show or hide the songs heard lately, newest first, to search, copy or look up.", "Recently Played")},
        {ID_APP_ABOUT, Prompt("Display program information, version number and copyright", "About")},
    };
}

}

CString LoadResourceString(UINT nID)
{
    static const QHash<UINT, CString> table = BuildTable();
    return table.value(nID);
}
