#pragma once

#include "fw/Accelerator.h"
#include "fw/ribbon/CMFCRibbonButton.h"

#include <QList>

// Resources of the main frame that are tables rather than texts.
namespace MainFrameResources {
// Accelerator table 128: the framework's edit, file and pane keys.
QList<ACCEL> Accelerators();
// Menu 200, under the ribbon's Style button: the four Office 2007 looks.
QList<CMFCRibbonMenuItem> StyleMenu();
}
