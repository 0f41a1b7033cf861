#pragma once

#include <QColor>
#include <QPalette>

// The colours of one application look: the ribbon's caption and tab row,
// its panels, the pages, the status bar. Every look is our own; the nine of
// them are told apart at a glance.
struct LookColours
{
    QColor caption;            // the caption and tab row the ribbon draws
    QColor captionText;
    QColor ribbon;             // the active category's panel area
    QColor panelBorder;
    QColor panelCaption;       // a panel's label strip
    QColor panelCaptionText;
    QColor panelText;          // element labels on the panel area
    QColor highlight;          // hot, pressed and checked elements, selections
    QColor highlightText;
    QColor workspace;          // the client area around the pages
    QColor window;             // pages and dialogs
    QColor windowText;
    QColor base;               // lists and edits
    QColor button;
    QColor statusBar;
    QColor statusText;

    // The widget palette of pages, dialogs and controls in this look.
    QPalette ToPalette() const;
};
