#pragma once

// Resource and command identifiers of the program.

// Commands of the ribbon, the tray menu and the framework.
inline constexpr unsigned ID_WINDOW_MANAGER = 131;
inline constexpr unsigned ID_VIEW_APPLOOK_WIN_2000 = 210;
inline constexpr unsigned ID_VIEW_APPLOOK_OFF_XP = 211;
inline constexpr unsigned ID_VIEW_APPLOOK_WIN_XP = 212;
inline constexpr unsigned ID_VIEW_APPLOOK_OFF_2003 = 213;
inline constexpr unsigned ID_VIEW_APPLOOK_VS_2005 = 214;
inline constexpr unsigned ID_VIEW_APPLOOK_OFF_2007_BLUE = 215;
inline constexpr unsigned ID_VIEW_APPLOOK_OFF_2007_BLACK = 216;
inline constexpr unsigned ID_VIEW_APPLOOK_OFF_2007_SILVER = 217;
inline constexpr unsigned ID_VIEW_APPLOOK_OFF_2007_AQUA = 218;
inline constexpr unsigned ID_REFRESH_CHANNELS_LIST = 310;
inline constexpr unsigned ID_OPEN_PROMO_SITE = 311;
inline constexpr unsigned ID_RELOAD_PROMO_PAGE = 312;
inline constexpr unsigned ID_OPEN_MUSIC_SITE = 315;
inline constexpr unsigned ID_RELOAD_MUSIC_PAGE = 316;
inline constexpr unsigned ID_STOP = 317;
inline constexpr unsigned ID_PLAY = 319;
inline constexpr unsigned ID_PLAY_NEXT = 320;
inline constexpr unsigned ID_PLAY_PREVIOUS = 321;
inline constexpr unsigned ID_AUTO_STARTUP = 322;
inline constexpr unsigned ID_AUTO_PLAY = 323;
inline constexpr unsigned ID_HIDE_TO_TRAY = 324;
inline constexpr unsigned ID_DISPLAY_RADIO_CHANNELS = 325;
inline constexpr unsigned ID_DISPLAY_TV_CHANNELS = 326;
// The radio page's "Live" panel, added after the design's ribbon: ids of
// the program's own, apart from the design's.
inline constexpr unsigned ID_LIVE_PAUSE_RESUME = 340;
inline constexpr unsigned ID_LIVE_BACK = 341;
inline constexpr unsigned ID_LIVE_FORWARD = 342;
inline constexpr unsigned ID_LIVE_GO_LIVE = 343;
inline constexpr unsigned ID_LIVE_RECENTLY_PLAYED = 344;
inline constexpr unsigned ID_LIVE_SAVE_SONG = 345;
inline constexpr unsigned ID_LIVE_RECORD_SONGS = 346;
inline constexpr unsigned ID_TRAY_SHOW = 32773;
inline constexpr unsigned ID_TRAY_EXIT = 32774;
inline constexpr unsigned ID_TRAY_PLAY_PREVIOUS = 32784;
inline constexpr unsigned ID_TRAY_PLAY_NEXT = 32785;
inline constexpr unsigned ID_TRAY_CUSTOMIZE_MENU = 32787;
inline constexpr unsigned ID_TRAY_STOP = 32789;
inline constexpr unsigned ID_TRAY_PLAY = 32791;
inline constexpr unsigned ID_FILE_NEW = 57600;
inline constexpr unsigned ID_FILE_OPEN = 57601;
inline constexpr unsigned ID_FILE_SAVE = 57603;
inline constexpr unsigned ID_EDIT_COPY = 57634;
inline constexpr unsigned ID_EDIT_CUT = 57635;
inline constexpr unsigned ID_EDIT_PASTE = 57637;
inline constexpr unsigned ID_EDIT_UNDO = 57643;
inline constexpr unsigned ID_APP_ABOUT = 57664;
inline constexpr unsigned ID_NEXT_PANE = 57680;
inline constexpr unsigned ID_PREV_PANE = 57681;

// Status bar panes.
inline constexpr unsigned ID_STATUSBAR_PANE1 = 120;

// Dialogs and their controls.
inline constexpr unsigned IDD_ABOUTBOX = 100;
inline constexpr unsigned IDD_KESTRELRADIO_FORM = 101;
inline constexpr unsigned IDD_RADIOSETTINGS_FORM = 313;
inline constexpr unsigned IDC_LIST_CHANNELS = 1002;
inline constexpr unsigned IDC_PLAYER = 1003;
inline constexpr unsigned IDC_CHECK_NON_WORKING = 1005;
inline constexpr unsigned IDC_BANNER = 1017;
// Dialog 313, the hot key settings page.
inline constexpr unsigned IDC_HOTKEY_PLAY = 1010;
inline constexpr unsigned IDC_HOTKEY_PLAY_NEXT = 1011;
inline constexpr unsigned IDC_HOTKEY_PLAY_PREV = 1012;
inline constexpr unsigned IDC_HOTKEY_STOP = 1013;
inline constexpr unsigned IDC_ASSIGN_PLAY = 1014;
inline constexpr unsigned IDC_ASSIGN_PLAY_NEXT = 1015;
inline constexpr unsigned IDC_ASSIGN_PLAY_PREV = 1016;
inline constexpr unsigned IDC_ASSIGN_STOP = 1017;
inline constexpr unsigned IDC_CLEAR_PLAY = 1018;
inline constexpr unsigned IDC_CLEAR_PLAY_NEXT = 1019;
inline constexpr unsigned IDC_CLEAR_PLAY_PREV = 1020;
inline constexpr unsigned IDC_CLEAR_STOP = 1021;
// Where the desktop decides the triggers: each row's trigger as the desktop
// reports it, and the desktop's own settings of the keys.
inline constexpr unsigned IDC_TRIGGER_PLAY = 1022;
inline constexpr unsigned IDC_TRIGGER_PLAY_NEXT = 1023;
inline constexpr unsigned IDC_TRIGGER_PLAY_PREV = 1024;
inline constexpr unsigned IDC_TRIGGER_STOP = 1025;
inline constexpr unsigned IDC_CONFIGURE_HOTKEYS = 1026;

// The main frame's icon, menu, accelerators and title.
inline constexpr unsigned IDR_MAINFRAME = 128;
// The page templates' document strings.
inline constexpr unsigned IDR_KestrelRadioTYPE = 130;
inline constexpr unsigned IDR_PromoTYPE = 131;
inline constexpr unsigned IDR_HardwareTYPE = 133;
// Menus: the looks under the Style button, the tray menu.
inline constexpr unsigned IDR_STYLE_MENU = 200;
inline constexpr unsigned IDR_SYSTEM_TRAY_MENU = 311;

// Image strips.
inline constexpr unsigned IDB_SMALL_IMAGES = 110;
inline constexpr unsigned IDB_LARGE_IMAGES = 111;
inline constexpr unsigned IDB_MAIN_BUTTON = 112;
inline constexpr unsigned IDB_PANEL_IMAGES = 113;

// Strings of the string table (command prompts share their command's id).
inline constexpr unsigned IDP_OLE_INIT_FAILED = 100;
inline constexpr unsigned IDS_SYSTEM_TRAY_MENU = 101;
inline constexpr unsigned IDS_MAIN_BUTTON_TOOLTIP = 260;
inline constexpr unsigned IDS_STYLE_LABEL = 286;
inline constexpr unsigned IDS_STYLE_TOOLTIP = 287;
inline constexpr unsigned IDS_STYLE_DESCRIPTION = 288;
inline constexpr unsigned AFX_IDS_APP_TITLE = 57344;
