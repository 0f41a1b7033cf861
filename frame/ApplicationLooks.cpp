#include "frame/ApplicationLooks.h"

#include "res/Resource.h"

namespace ApplicationLooks {

namespace {

QColor C(const char* name)
{
    return QColor(QLatin1String(name));
}

// Field order: caption, captionText, ribbon, panelBorder, panelCaption,
// panelCaptionText, panelText, highlight, highlightText, workspace, window,
// windowText, base, button, statusBar, statusText.

// Classic grey with a navy caption.
const LookColours kWindows2000 = {
    C("#0a246a"), C("#ffffff"), C("#d4d0c8"), C("#808080"), C("#bdb9b0"), C("#000000"), C("#000000"),
    C("#0a246a"), C("#ffffff"), C("#808080"), C("#d4d0c8"), C("#000000"), C("#ffffff"), C("#d4d0c8"),
    C("#d4d0c8"), C("#000000")};

// Pale warm white with lavender-blue hot elements.
const LookColours kOfficeXP = {
    C("#dedbd0"), C("#1c1c1c"), C("#f9f8f3"), C("#a8a496"), C("#e6e3d8"), C("#3a3a3a"), C("#1c1c1c"),
    C("#b6c8ec"), C("#000000"), C("#c5c2b8"), C("#f9f8f3"), C("#1c1c1c"), C("#ffffff"), C("#eeede5"),
    C("#e4e1d6"), C("#1c1c1c")};

// Saturated blue caption over beige.
const LookColours kWindowsXP = {
    C("#0058e6"), C("#ffffff"), C("#ece9d8"), C("#aca899"), C("#d9d5c2"), C("#1d1d1d"), C("#000000"),
    C("#316ac5"), C("#ffffff"), C("#8099c4"), C("#ece9d8"), C("#000000"), C("#ffffff"), C("#e3dfcc"),
    C("#d9d5c2"), C("#000000")};

// Sky blue bars with orange hot elements.
const LookColours kOffice2003 = {
    C("#6592df"), C("#ffffff"), C("#d5e5fb"), C("#7f9db9"), C("#a9c6f3"), C("#0f2f6b"), C("#0f2f6b"),
    C("#ffc872"), C("#000000"), C("#9ebef5"), C("#e3effd"), C("#000000"), C("#ffffff"), C("#c4daf9"),
    C("#a9c6f3"), C("#0f2f6b")};

// Khaki and olive, with a soft yellow for hot elements.
const LookColours kVisualStudio2005 = {
    C("#9d9a83"), C("#ffffff"), C("#f5f4ee"), C("#a9a48e"), C("#dcd9c8"), C("#2f2e26"), C("#2f2e26"),
    C("#ffe7a2"), C("#000000"), C("#8a8878"), C("#f5f4ee"), C("#000000"), C("#ffffff"), C("#e7e5d8"),
    C("#d8d5c4"), C("#2f2e26")};

// Office 2007 styles: light blue, obsidian black, silver and aqua.
const LookColours kLunaBlue = {
    C("#bfdbff"), C("#15428b"), C("#dbe7f7"), C("#8db2e3"), C("#c2d8f2"), C("#15428b"), C("#15428b"),
    C("#ffd86b"), C("#000000"), C("#abc2e6"), C("#eaf2fc"), C("#000000"), C("#ffffff"), C("#d7e6f9"),
    C("#c5dbf7"), C("#15428b")};

const LookColours kObsidianBlack = {
    C("#2b2b2b"), C("#f2f2f2"), C("#c9cbcf"), C("#6d7076"), C("#4b4e53"), C("#f0f0f0"), C("#1e1e1e"),
    C("#ffc04d"), C("#000000"), C("#3e4045"), C("#e6e7e9"), C("#000000"), C("#ffffff"), C("#d9dadd"),
    C("#35373b"), C("#f0f0f0")};

const LookColours kSilver = {
    C("#e1e4ea"), C("#3b3b3b"), C("#eef0f3"), C("#a7abb3"), C("#d3d7de"), C("#3b3b3b"), C("#222222"),
    C("#ffd86b"), C("#000000"), C("#c3c7cd"), C("#f5f6f8"), C("#000000"), C("#ffffff"), C("#e5e8ec"),
    C("#dcdfe4"), C("#333333")};

const LookColours kAqua = {
    C("#5fb9cc"), C("#ffffff"), C("#d8eff4"), C("#6fb6c7"), C("#aadbe6"), C("#0b3d4a"), C("#0b3d4a"),
    C("#ffcf5c"), C("#000000"), C("#7fbecd"), C("#e8f6f9"), C("#000000"), C("#ffffff"), C("#c9e8ef"),
    C("#8fcfdd"), C("#0b3d4a")};

}

VisualManager ManagerFor(UINT nLookId)
{
    switch (nLookId) {
    case ID_VIEW_APPLOOK_WIN_2000:
        return VisualManager::Windows2000;
    case ID_VIEW_APPLOOK_OFF_XP:
        return VisualManager::OfficeXP;
    case ID_VIEW_APPLOOK_WIN_XP:
        return VisualManager::WindowsXP;
    case ID_VIEW_APPLOOK_OFF_2003:
        return VisualManager::Office2003;
    case ID_VIEW_APPLOOK_VS_2005:
        return VisualManager::VisualStudio2005;
    default:
        return VisualManager::Office2007;
    }
}

bool StyleFor(UINT nLookId, Office2007Style* pStyle)
{
    switch (nLookId) {
    case ID_VIEW_APPLOOK_OFF_2007_BLUE:
        *pStyle = Office2007Style::LunaBlue;
        return true;
    case ID_VIEW_APPLOOK_OFF_2007_BLACK:
        *pStyle = Office2007Style::ObsidianBlack;
        return true;
    case ID_VIEW_APPLOOK_OFF_2007_SILVER:
        *pStyle = Office2007Style::Silver;
        return true;
    case ID_VIEW_APPLOOK_OFF_2007_AQUA:
        *pStyle = Office2007Style::Aqua;
        return true;
    default:
        return false;
    }
}

const LookColours& ColoursFor(VisualManager manager, Office2007Style style)
{
    switch (manager) {
    case VisualManager::Windows2000:
        return kWindows2000;
    case VisualManager::OfficeXP:
        return kOfficeXP;
    case VisualManager::WindowsXP:
        return kWindowsXP;
    case VisualManager::Office2003:
        return kOffice2003;
    case VisualManager::VisualStudio2005:
        return kVisualStudio2005;
    case VisualManager::Office2007:
        break;
    }
    switch (style) {
    case Office2007Style::LunaBlue:
        return kLunaBlue;
    case Office2007Style::ObsidianBlack:
        return kObsidianBlack;
    case Office2007Style::Silver:
        return kSilver;
    case Office2007Style::Aqua:
        break;
    }
    return kAqua;
}

}
