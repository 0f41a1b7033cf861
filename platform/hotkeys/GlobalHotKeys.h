#pragma once

#include <QList>
#include <QObject>
#include <QSet>
#include <memory>

// Key combinations that reach the program from whichever window has the
// keyboard. A combination belongs to one owner under an id of the owner's
// choosing; while it is held, no other owner of this program and no other
// program on the desktop can have it. An owner's combinations end when the
// owner is destroyed.
//
// Keys are virtual-key codes; modifiers are the bits below, and any higher
// bits are kept with the registration but do not take part in the key.
class CGlobalHotKeys : public QObject
{
    Q_OBJECT

public:
    static constexpr unsigned kModifierAlt = 0x01;
    static constexpr unsigned kModifierControl = 0x02;
    static constexpr unsigned kModifierShift = 0x04;
    static constexpr unsigned kModifierSuper = 0x08;
    static constexpr unsigned kModifierKeys = 0x0F;

    explicit CGlobalHotKeys(QObject* pParent = nullptr);
    ~CGlobalHotKeys() override;

    // False where the desktop offers no global key grabs (no X11 display);
    // every registration then fails.
    virtual bool IsAvailable() const = 0;

    // False when the combination is held already, by this program or by
    // another, or cannot be had on this keyboard.
    bool Register(QObject* pOwner, int nId, unsigned nModifiers, unsigned nVirtualKey);
    // False when the owner holds nothing under that id.
    bool Unregister(QObject* pOwner, int nId);
    void UnregisterAll(QObject* pOwner);

signals:
    // A held combination was pressed.
    void Pressed(QObject* pOwner, int nId, unsigned nModifiers, unsigned nVirtualKey);

protected:
    // The backend takes the combination from the desktop, or says why not.
    virtual bool Grab(unsigned nModifiers, unsigned nVirtualKey) = 0;
    virtual void Ungrab(unsigned nModifiers, unsigned nVirtualKey) = 0;
    // The backend reports a press of a combination it grabbed.
    void ReportPressed(unsigned nModifiers, unsigned nVirtualKey);

private:
    struct Registration {
        QObject* pOwner;
        int nId;
        unsigned nModifiers;
        unsigned nVirtualKey;
    };
    bool IsHeld(unsigned nModifiers, unsigned nVirtualKey) const;
    void Release(qsizetype nIndex);

    QList<Registration> m_registrations;
    QSet<QObject*> m_watchedOwners;
};

// The global hot keys of this platform.
std::unique_ptr<CGlobalHotKeys> CreateGlobalHotKeys(QObject* pParent = nullptr);
