#pragma once

#include "fw/Types.h"
#include "frame/LookColours.h"

// The nine application looks (commands 210-218) and the visual managers
// that draw them. The Office 2007 manager keeps its colour style between
// looks, so a look id it does not know draws in whichever style it had.
namespace ApplicationLooks {

enum class VisualManager { Windows2000, OfficeXP, WindowsXP, Office2003, VisualStudio2005, Office2007 };
enum class Office2007Style { LunaBlue, ObsidianBlack, Silver, Aqua };

// The manager the look id asks for; any id outside 210-218 asks for the
// Office 2007 manager.
VisualManager ManagerFor(UINT nLookId);
// The Office 2007 style that ids 215-218 set; false for every other id.
bool StyleFor(UINT nLookId, Office2007Style* pStyle);

// The colours a manager draws in (the style counts only for Office 2007).
const LookColours& ColoursFor(VisualManager manager, Office2007Style style);

}
