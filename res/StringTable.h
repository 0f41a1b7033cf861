#pragma once

#include "fw/Types.h"

// The texts the program shows, as named constants, and the string table
// that finds a text by its id (the command prompts, the application title,
// the document strings, the ribbon's and the tray's strings).
namespace Texts {

// Start-up.
inline constexpr char kOleInitFailed[] =
    "OLE initialization failed.  Make sure that the OLE libraries are the correct version.";
inline constexpr char kSystemTrayMenu[] = "System Tray Menu";

// Document strings of the page templates: window title, document name,
// file-new name, filter, extension, file type id, file type name.
inline constexpr char kKestrelRadioDocString[] =
    "\nKestrelRadio\nKestrelRadio\n\n\nKestrelRadio.Document\nKestrelRadio.Document";
inline constexpr char kPromoDocString[] = "\nPromo\nPromo\n\n\nPromo.Document\nPromo.Document";
inline constexpr char kHardwareDocString[] = "\nHardware\nHardware\n\n\nHardware.Document\nHardware.Document";

// Ribbon categories and panels.
inline constexpr char kCategoryOnlineRadioPlayer[] = "Online Radio Player";
inline constexpr char kCategorySettings[] = "Settings";
inline constexpr char kCategoryMoreSoftwares[] = "More Softwares";
inline constexpr char kCategorySendUsYourSong[] = "Send Us Your Song";
inline constexpr char kPanelRadioControls[] = "Radio Controls";
inline constexpr char kPanelChannelManagement[] = "Channel Management";
inline constexpr char kPanelApplicationManagement[] = "Application Management";
inline constexpr char kPanelRadioControl[] = "Radio Control";
inline constexpr char kPanelNavigation[] = "Navigation";
inline constexpr char kPanelLive[] = "Live";

// Command labels.
inline constexpr char kLabelPlay[] = "Play";
inline constexpr char kLabelPlayNext[] = "Play Next";
inline constexpr char kLabelPlayPrevious[] = "Play Previous";
inline constexpr char kLabelStop[] = "Stop";
inline constexpr char kLabelRefreshChannelsList[] = "Refresh Channels List";
inline constexpr char kLabelHideToSystemTray[] = "Hide to System Tray";
inline constexpr char kLabelDisplayRadioChannels[] = "Display Radio Channels";
inline constexpr char kLabelDisplayTVChannels[] = "Display TV Channels";
inline constexpr char kLabelAutoStartup[] = "Auto Startup with Windows";
inline constexpr char kLabelPlayLastChannel[] = "Play Last Channel Automatically";
inline constexpr char kLabelOpenInNewWindow[] = "Open In New Window";
inline constexpr char kLabelRefresh[] = "Refresh";
inline constexpr char kLabelPauseResume[] = "Pause/Resume";
inline constexpr char kLabelBack30[] = "Back 30 s";
inline constexpr char kLabelForward30[] = "Forward 30 s";
inline constexpr char kLabelGoLive[] = "Live";
inline constexpr char kLabelRecentlyPlayed[] = "Recently Played";
inline constexpr char kLabelSaveSong[] = "Save Song";
inline constexpr char kLabelRecordSongs[] = "Record Songs";
// Label and key tip as one text: "\n" then the key tip, no label.
inline constexpr char kMainButtonText[] = "\nf";
inline constexpr char kAboutButtonText[] = "\na";

// The looks: the document menus' labels (not shown) and menu 200's.
inline constexpr char kLookWindows2000[] = "Windows &2000";
inline constexpr char kLookOfficeXP[] = "Office &XP";
inline constexpr char kLookWindowsXP[] = "&Windows XP";
inline constexpr char kLookOffice2003[] = "Office 200&3";
inline constexpr char kLookVisualStudio2005[] = "Visual Studio.NET 200&5";
inline constexpr char kLookOffice2007Blue[] = "Office 2007 (&Blue Style)";
inline constexpr char kLookOffice2007Black[] = "Office 2007 (B&lack Style)";
inline constexpr char kLookOffice2007Silver[] = "Office 2007 (&Silver Style)";
inline constexpr char kLookOffice2007Aqua[] = "Office 2007 (&Aqua Style)";

// Menu 311, the tray menu.
inline constexpr char kTrayExit[] = "Exit";
inline constexpr char kTrayCustomizeMenu[] = "Customize Menu...";
inline constexpr char kTrayShow[] = "Show";
inline constexpr char kTrayStop[] = "Stop";
inline constexpr char kTrayPlay[] = "Play";
inline constexpr char kTrayPlayPreviousChannel[] = "Play Previous Channel";
inline constexpr char kTrayPlayNextChannel[] = "Play Next Channel";

// Ribbon strings.
inline constexpr char kMainButtonTooltip[] = "Click Here to Change Application Skin";
inline constexpr char kStyleLabel[] = "Style";
inline constexpr char kStyleTooltip[] = "Modify Visual Style";
inline constexpr char kStyleDescription[] = "Choose one of the Office 2007 themes";

// Status bar.
inline constexpr char kStatusPaneText[] = "Current Status";
inline constexpr char kStatusPaneLabel[] = "Status";
inline constexpr char kStatusPaneSample[] =
    "XXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX";
inline constexpr char kContactPaneLabel[] = "XXXX";
inline constexpr char kContactPaneSample[] = "XXXXXXXXXXXXXXXXXXXXXXXXXXXX";
inline constexpr char kStatusPaneDescription[] = "This Pane Displays Current Status";
inline constexpr char kGetMoreSoftware[] = "Get More Software Utilities";
inline constexpr char kDownloadMoreSoftware[] = "Download More Software Utilities";
inline constexpr char kVisitPrefix[] = "Visit ";
inline constexpr char kSendUsYourVoice[] = "Let People from Across the Globe Hear your Voice.";
inline constexpr char kContactPaneDescriptionPrefix[] = "Please do drop us a line at ";
inline constexpr char kContactPaneText[] = "Contact Us";

// The pages' forms.
inline constexpr char kChannelsListLabel[] = "Channels List";
inline constexpr char kHotKeysGroupTitle[] = "System Wide Hot Keys";
inline constexpr char kHotKeysNote[] =
    "Note : Assign System Wide Hot Keys and then Switch to Radio Tab to use the System Wide Hotkeys.";
inline constexpr char kHotKeyPlayLabel[] = "&Play :";
inline constexpr char kHotKeyPlayNextLabel[] = "Play &Next Channel :";
inline constexpr char kHotKeyPlayPrevLabel[] = "Play P&revious Channel :";
inline constexpr char kHotKeyStopLabel[] = "&Stop :";
inline constexpr char kAssignButton[] = "Assign";
inline constexpr char kClearButton[] = "Clear";
inline constexpr char kConfigureHotKeysButton[] = "Desktop Shortcuts...";
inline constexpr char kTriggerToolTip[] = "The keys the desktop has given this action";
inline constexpr char kLoadHotKeyPlayFailed[] = "Failed to Load HotKey for Playing Channel.";
inline constexpr char kLoadHotKeyPlayNextFailed[] = "Failed to Load HotKey for Playing Next Channel.";
inline constexpr char kLoadHotKeyPlayPrevFailed[] = "Failed to Load HotKey for Playing Previous Channel.";
inline constexpr char kLoadHotKeyStopFailed[] = "Failed to Load HotKey to Stop Playing Channel.";
inline constexpr char kStoreHotKeyPlayFailed[] = "Failed to Store HotKey to Play Channel.";
inline constexpr char kStoreHotKeyPlayNextFailed[] = "Failed to Store HotKey to Play Next Channel.";
inline constexpr char kStoreHotKeyPlayPrevFailed[] = "Failed to Store HotKey to Play Previous Channel.";
inline constexpr char kStoreHotKeyStopFailed[] = "Failed to Store HotKey to Stop Playing.";

// The about box.
inline constexpr char kAboutTitle[] = "About Kestrel Radio";
inline constexpr char kAboutVersion[] = "Kestrel Radio, Version 1.0";
inline constexpr char kAboutContactPrefix[] = "Contact Us : ";
inline constexpr char kAboutOk[] = "OK";

}

// The string with id nID; empty when the table holds none. A command's
// prompt is its description, a newline and its tooltip title.
CString LoadResourceString(UINT nID);
