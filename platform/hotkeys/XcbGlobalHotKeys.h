#pragma once

#include "platform/hotkeys/GlobalHotKeys.h"

#include <QAbstractNativeEventFilter>
#include <QList>

struct xcb_connection_t;

// Global hot keys as key grabs on the X root window, through the X
// connection of the application itself, which then receives the presses. A
// grab is taken for every combination of NumLock, CapsLock and ScrollLock, so
// that the locks do not matter; another X client's grab of the same keys
// makes the grab fail.
class CXcbGlobalHotKeys : public IGlobalHotKeys, public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    explicit CXcbGlobalHotKeys(QObject* pParent = nullptr);
    ~CXcbGlobalHotKeys() override;

    bool IsAvailable() const override;

    bool nativeEventFilter(const QByteArray& eventType, void* pMessage, qintptr* pResult) override;

protected:
    // X11 grabs by combination; the id plays no part.
    bool Grab(int nId, unsigned nModifiers, unsigned nVirtualKey) override;
    void Ungrab(int nId, unsigned nModifiers, unsigned nVirtualKey) override;

private:
    struct KeyGrab {
        unsigned nModifiers;
        unsigned nVirtualKey;
        quint16 nModifierMask;
        QList<quint8> keyCodes;
        QList<quint16> lockMasks;
    };
    static xcb_connection_t* Connection();
    void UngrabKeys(const KeyGrab& grab) const;

    quint32 m_rootWindow = 0;
    QList<KeyGrab> m_grabs;
};
