#pragma once

#include <QIcon>
#include <QObject>
#include <QString>
#include <memory>

// An icon in the desktop's notification area with a tip. What the user does
// with the mouse on it is reported as a gesture; the icon shows no menu of
// its own.
class ITrayIcon : public QObject
{
    Q_OBJECT

public:
    enum class Gesture {
        // A single press of the left button.
        Click,
        // The gesture that opens the program's window: a left double-click,
        // or the activation of a host that has no double-click.
        DoubleClick,
        // The right button: the user asks for the icon's menu.
        ContextClick,
        MiddleClick
    };
    Q_ENUM(Gesture)

    explicit ITrayIcon(QObject* pParent = nullptr);
    ~ITrayIcon() override;

    // Whether a notification area that shows icons runs on the desktop now.
    virtual bool IsAvailable() const = 0;

    // Puts the icon in the notification area. False when no host takes it;
    // the icon then appears on its own once a host starts.
    virtual bool Add(const QIcon& icon, const QString& strTip) = 0;
    virtual void SetTip(const QString& strTip) = 0;
    virtual void Remove() = 0;
    virtual bool IsAdded() const = 0;
    virtual QString Tip() const = 0;

signals:
    void Activated(ITrayIcon::Gesture gesture);
};

// The notification-area icon of this platform.
std::unique_ptr<ITrayIcon> CreateTrayIcon(QObject* pParent = nullptr);
