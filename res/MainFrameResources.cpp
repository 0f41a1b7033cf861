#include "res/MainFrameResources.h"

#include "res/Resource.h"
#include "res/StringTable.h"

namespace MainFrameResources {

QList<ACCEL> Accelerators()
{
    return {
        {Qt::CTRL | Qt::Key_C, ID_EDIT_COPY},   {Qt::CTRL | Qt::Key_Insert, ID_EDIT_COPY},
        {Qt::CTRL | Qt::Key_X, ID_EDIT_CUT},    {Qt::SHIFT | Qt::Key_Delete, ID_EDIT_CUT},
        {Qt::CTRL | Qt::Key_V, ID_EDIT_PASTE},  {Qt::SHIFT | Qt::Key_Insert, ID_EDIT_PASTE},
        {Qt::CTRL | Qt::Key_Z, ID_EDIT_UNDO},   {Qt::ALT | Qt::Key_Backspace, ID_EDIT_UNDO},
        {Qt::CTRL | Qt::Key_N, ID_FILE_NEW},    {Qt::CTRL | Qt::Key_O, ID_FILE_OPEN},
        {Qt::CTRL | Qt::Key_S, ID_FILE_SAVE},   {QKeyCombination(Qt::Key_F6), ID_NEXT_PANE},
        {Qt::SHIFT | Qt::Key_F6, ID_PREV_PANE},
    };
}

QList<CMFCRibbonMenuItem> StyleMenu()
{
    return {
        {ID_VIEW_APPLOOK_OFF_2007_BLUE, Texts::kLookOffice2007Blue},
        {ID_VIEW_APPLOOK_OFF_2007_BLACK, Texts::kLookOffice2007Black},
        {ID_VIEW_APPLOOK_OFF_2007_SILVER, Texts::kLookOffice2007Silver},
        {ID_VIEW_APPLOOK_OFF_2007_AQUA, Texts::kLookOffice2007Aqua},
    };
}

QList<CContextMenuItem> SystemTrayMenu()
{
    return {
        {ID_TRAY_EXIT, Texts::kTrayExit},
        {0, CString()},
        {ID_TRAY_CUSTOMIZE_MENU, Texts::kTrayCustomizeMenu},
        {ID_TRAY_SHOW, Texts::kTrayShow},
        {0, CString()},
        {ID_TRAY_STOP, Texts::kTrayStop},
        {ID_TRAY_PLAY, Texts::kTrayPlay},
        {ID_TRAY_PLAY_PREVIOUS, Texts::kTrayPlayPreviousChannel},
        {ID_TRAY_PLAY_NEXT, Texts::kTrayPlayNextChannel},
    };
}

}
