#pragma once

#include "fw/Types.h"
#include "fw/CMFCVisualManager.h"

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

// The look a manager draws in (the style counts only for Office 2007):
// each of our own making, the nine told apart at a glance.
CMFCVisualLook LookFor(VisualManager manager, Office2007Style style);

// The Office 2007 manager's colour style now: blue until a look sets
// another, then kept across looks of other managers.
Office2007Style CurrentOffice2007Style();

// Draws the whole program in the look: the id's manager and, for ids
// 215-218, its Office 2007 style; any id outside 210-218 draws as Office
// 2007 in the style it has now.
void Apply(UINT nLookId);

}
