#pragma once

#include "fw/Accelerator.h"
#include "fw/CContextMenuManager.h"
#include "fw/ribbon/CMFCRibbonButton.h"

#include <QList>

// Resources of the main frame that are tables rather than texts.
namespace MainFrameResources {
// Accelerator table 128: the framework's edit, file and pane keys.
QList<ACCEL> Accelerators();
// Menu 200, under the ribbon's Style button: the four Office 2007 looks.
QList<CMFCRibbonMenuItem> StyleMenu();
// Menu 311, the tray menu, top to bottom; a separator has the command 0.
QList<CContextMenuItem> SystemTrayMenu();
}
