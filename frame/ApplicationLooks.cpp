#include "frame/ApplicationLooks.h"

#include "res/Resource.h"

#include "fw/CMFCVisualManager.h"

namespace ApplicationLooks {

namespace {

// The Office 2007 manager's colour style, which outlives a change of look.
Office2007Style g_office2007Style = Office2007Style::LunaBlue;

QColor C(const char* name)
{
    return QColor(QLatin1String(name));
}

// The colours one look is drawn from.
struct Colours {
    QColor caption;  // the caption and tab row the ribbon draws, the status bar
    QColor captionText;
    QColor panel;  // the active category's face
    QColor panelCaption;  // a panel's name strip
    QColor panelText;  // element labels
    QColor accent;  // hot, pressed and checked elements, selections
    QColor accentText;
    QColor window;  // pages and dialogs
    QColor windowText;
    QColor base;  // lists and edits
    QColor button;
};

QPalette PaletteOf(const Colours& colours)
{
    QPalette palette;
    palette.setColor(QPalette::Window, colours.window);
    palette.setColor(QPalette::WindowText, colours.windowText);
    palette.setColor(QPalette::Base, colours.base);
    palette.setColor(QPalette::AlternateBase, colours.base.darker(104));
    palette.setColor(QPalette::Text, colours.windowText);
    palette.setColor(QPalette::Button, colours.button);
    palette.setColor(QPalette::ButtonText, colours.windowText);
    palette.setColor(QPalette::Highlight, colours.accent);
    palette.setColor(QPalette::HighlightedText, colours.accentText);
    palette.setColor(QPalette::ToolTipBase, colours.base);
    palette.setColor(QPalette::ToolTipText, colours.windowText);
    palette.setColor(QPalette::PlaceholderText, colours.windowText.lighter(250));
    palette.setColor(QPalette::Light, colours.button.lighter(130));
    palette.setColor(QPalette::Midlight, colours.button.lighter(112));
    palette.setColor(QPalette::Mid, colours.button.darker(130));
    palette.setColor(QPalette::Dark, colours.button.darker(160));
    palette.setColor(QPalette::Shadow, colours.button.darker(300));
    palette.setColor(QPalette::Link, colours.accent.darker(160));
    const QColor disabledText = colours.windowText.lighter(300);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, disabledText);
    palette.setColor(QPalette::Disabled, QPalette::Text, disabledText);
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, disabledText);
    return palette;
}

CMFCVisualLook LookOf(const Colours& colours)
{
    CMFCVisualLook look;
    look.palette = PaletteOf(colours);
    look.ribbon.tabRow = colours.caption;
    look.ribbon.tabText = colours.captionText;
    look.ribbon.panelBackground = colours.panel;
    look.ribbon.panelCaption = colours.panelCaption;
    look.ribbon.text = colours.panelText;
    look.ribbon.accent = colours.accent;
    look.caption = colours.caption;
    look.captionText = colours.captionText;
    return look;
}

// Classic grey with a navy caption.
const Colours kWindows2000 = {C("#0a246a"), C("#ffffff"), C("#d4d0c8"), C("#bdb9b0"), C("#000000"), C("#0a246a"),
                              C("#ffffff"), C("#d4d0c8"), C("#000000"), C("#ffffff"), C("#d4d0c8")};

// Pale warm white with lavender-blue hot elements.
const Colours kOfficeXP = {C("#dedbd0"), C("#1c1c1c"), C("#f9f8f3"), C("#e6e3d8"), C("#1c1c1c"), C("#b6c8ec"),
                           C("#000000"), C("#f9f8f3"), C("#1c1c1c"), C("#ffffff"), C("#eeede5")};

// Saturated blue caption over beige.
const Colours kWindowsXP = {C("#0058e6"), C("#ffffff"), C("#ece9d8"), C("#d9d5c2"), C("#000000"), C("#316ac5"),
                            C("#ffffff"), C("#ece9d8"), C("#000000"), C("#ffffff"), C("#e3dfcc")};

// Sky blue bars with orange hot elements.
const Colours kOffice2003 = {C("#3f6fc7"), C("#ffffff"), C("#d5e5fb"), C("#a9c6f3"), C("#0f2f6b"), C("#ffc872"),
                             C("#000000"), C("#e3effd"), C("#000000"), C("#ffffff"), C("#c4daf9")};

// Khaki and olive, with a soft yellow for hot elements.
const Colours kVisualStudio2005 = {C("#9d9a83"), C("#ffffff"), C("#f5f4ee"), C("#dcd9c8"), C("#2f2e26"), C("#ffe7a2"),
                                   C("#000000"), C("#f5f4ee"), C("#000000"), C("#ffffff"), C("#e7e5d8")};

// Office 2007 styles: light blue, obsidian black, silver and aqua.
const Colours kLunaBlue = {C("#bfdbff"), C("#15428b"), C("#dbe7f7"), C("#c2d8f2"), C("#15428b"), C("#ffd86b"),
                           C("#000000"), C("#eaf2fc"), C("#000000"), C("#ffffff"), C("#d7e6f9")};

const Colours kObsidianBlack = {C("#2b2b2b"), C("#f2f2f2"), C("#c9cbcf"), C("#a9acb2"), C("#1e1e1e"), C("#ffc04d"),
                                C("#000000"), C("#e6e7e9"), C("#000000"), C("#ffffff"), C("#d9dadd")};

const Colours kSilver = {C("#e1e4ea"), C("#3b3b3b"), C("#eef0f3"), C("#d3d7de"), C("#222222"), C("#ffd86b"),
                         C("#000000"), C("#f5f6f8"), C("#000000"), C("#ffffff"), C("#e5e8ec")};

const Colours kAqua = {C("#3ea3ba"), C("#ffffff"), C("#d8eff4"), C("#aadbe6"), C("#0b3d4a"), C("#ffcf5c"),
                       C("#000000"), C("#e8f6f9"), C("#000000"), C("#ffffff"), C("#c9e8ef")};

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

CMFCVisualLook LookFor(VisualManager manager, Office2007Style style)
{
    switch (manager) {
    case VisualManager::Windows2000:
        return LookOf(kWindows2000);
    case VisualManager::OfficeXP:
        return LookOf(kOfficeXP);
    case VisualManager::WindowsXP:
        return LookOf(kWindowsXP);
    case VisualManager::Office2003:
        return LookOf(kOffice2003);
    case VisualManager::VisualStudio2005:
        return LookOf(kVisualStudio2005);
    case VisualManager::Office2007:
        break;
    }
    switch (style) {
    case Office2007Style::LunaBlue:
        return LookOf(kLunaBlue);
    case Office2007Style::ObsidianBlack:
        return LookOf(kObsidianBlack);
    case Office2007Style::Silver:
        return LookOf(kSilver);
    case Office2007Style::Aqua:
        break;
    }
    return LookOf(kAqua);
}

Office2007Style CurrentOffice2007Style()
{
    return g_office2007Style;
}

void Apply(UINT nLookId)
{
    StyleFor(nLookId, &g_office2007Style);
    CMFCVisualManager::GetInstance()->SetLook(LookFor(ManagerFor(nLookId), g_office2007Style));
}

}
