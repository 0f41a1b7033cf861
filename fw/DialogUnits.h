#pragma once

#include <QFont>
#include <QRect>

// Forms are laid out in dialog units: a quarter of the form font's average
// character width across, an eighth of its height down.
namespace DialogUnits {
QRect ToPixels(const QRect& rectDialogUnits, const QFont& font);
QSize ToPixels(const QSize& sizeDialogUnits, const QFont& font);
}
