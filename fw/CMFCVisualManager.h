#pragma once

#include <QColor>
#include <QObject>
#include <QPalette>

// The colours of the ribbon and the status bar in one look.
struct CMFCRibbonColors {
    QColor tabRow;  // the band behind the category tabs
    QColor tabText;  // labels of the tabs that are not active
    QColor panelBackground;  // the active category's face
    QColor panelCaption;  // the strip with each panel's name at its foot
    QColor text;  // labels of the elements
    QColor accent;  // hover, press and check marks, the active tab's rim
};

// One look of the whole window: the application palette (dialogs, lists,
// views), the ribbon's colours and the caption that a ribbon draws for its
// frame (also the frame's border and the status bar).
struct CMFCVisualLook {
    QPalette palette;
    CMFCRibbonColors ribbon;
    QColor caption;
    QColor captionText;
};

// The look that every framework window draws itself in. The program picks
// a look; the ribbons, status bars and frames follow at once.
class CMFCVisualManager : public QObject
{
    Q_OBJECT

public:
    static CMFCVisualManager* GetInstance();

    // Applies the palette to the application and redraws the framework's
    // windows in the new colours.
    void SetLook(const CMFCVisualLook& look);
    const CMFCVisualLook& GetLook() const { return m_look; }

    // A look made from a palette alone, the one in use until the program
    // sets its own.
    static CMFCVisualLook LookFromPalette(const QPalette& palette);

signals:
    void LookChanged();

private:
    CMFCVisualManager();

    CMFCVisualLook m_look;
};
