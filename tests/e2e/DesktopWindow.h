#pragma once

#include <QColor>
#include <QHash>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

// A top-level X window of another program, seen and driven the way a user
// and the desktop do: xdotool and xwininfo on the test display.
namespace DesktopWindow {
// The window's size; empty when it cannot be read.
QSize Size(const QString& strWindow);
// Moves the pointer to the point (in the window's coordinates) and clicks.
void ClickAt(const QString& strWindow, const QPoint& point);
// Moves the pointer to a corner of the screen, away from every button.
void MovePointerAway();
// The window that has the keyboard focus.
QString FocusedWindow();
// The colour the screen shows at the point of the window.
QColor ColourAt(const QString& strWindow, const QPoint& point);
// Whether the window is transient for (a dialog of) the other.
bool IsTransientFor(const QString& strWindow, const QString& strOwner);
}

// Where the program's ribbon puts its buttons in a window of the real
// window's size and the real profile's look: the program's own main window
// built offscreen by kestrel-ribbon-locator, asked for its widgets' places.
class RibbonPlaces
{
public:
    // False with Error() set when the locator fails.
    bool Locate(const QString& strConfigFolder, const QSize& windowSize);
    QString Error() const { return m_strError; }

    QRect ApplicationButton() const { return m_places.value(QStringLiteral("application")); }
    QRect Tab(int nIndex) const { return m_places.value(QStringLiteral("tab %1").arg(nIndex)); }
    QRect Element(unsigned nID) const { return m_places.value(QStringLiteral("element %1").arg(nID)); }
    QRect CloseButton() const { return m_places.value(QStringLiteral("close")); }

private:
    QHash<QString, QRect> m_places;
    QString m_strError;
};
