#include "frame/LookColours.h"

QPalette LookColours::ToPalette() const
{
    QPalette palette;
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, windowText);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, base.darker(104));
    palette.setColor(QPalette::Text, windowText);
    palette.setColor(QPalette::Button, button);
    palette.setColor(QPalette::ButtonText, windowText);
    palette.setColor(QPalette::Highlight, highlight);
    palette.setColor(QPalette::HighlightedText, highlightText);
    palette.setColor(QPalette::ToolTipBase, base);
    palette.setColor(QPalette::ToolTipText, windowText);
    palette.setColor(QPalette::PlaceholderText, windowText.lighter(250));
    palette.setColor(QPalette::Light, button.lighter(130));
    palette.setColor(QPalette::Midlight, button.lighter(112));
    palette.setColor(QPalette::Mid, button.darker(130));
    palette.setColor(QPalette::Dark, button.darker(160));
    palette.setColor(QPalette::Shadow, button.darker(300));
    palette.setColor(QPalette::Link, highlight.darker(140));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, windowText.lighter(300));
    palette.setColor(QPalette::Disabled, QPalette::Text, windowText.lighter(300));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, windowText.lighter(300));
    return palette;
}
