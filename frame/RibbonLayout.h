#pragma once

#include "frame/PageCategory.h"
#include "fw/Types.h"

#include <QList>

// The ribbon's categories, panels and elements, in the order they are
// built: category by category, panel by panel, element by element.
namespace RibbonLayout {

enum class ElementKind { Button, CheckBox };

struct Element {
    PageCategory category;
    const char* panel;
    const char* label;
    ElementKind kind;
    UINT nID;
    int nSmallImage;  // into the category's strips; -1 none
    int nLargeImage;
};

const QList<Element>& Elements();

// Every panel's icon when it is collapsed, and the About button's icon:
// images of the panel strip.
inline constexpr int kCollapsedPanelImage = 7;
inline constexpr int kAboutButtonImage = 0;
inline constexpr int kMainButtonSize = 45;

}
