#pragma once

#include "fw/CCmdTarget.h"
#include "fw/Types.h"

#include <QEvent>
#include <QWidget>
#include <functional>
#include <map>

// A window: a widget that receives numbered window messages. PostMessage
// queues a message behind everything already queued; SendMessage handles it
// before it returns. A message first meets the class's message map (handlers
// added with MapMessage); what the map does not handle goes to DefWindowProc,
// which subclasses override to see those messages and then pass them on.
class CWnd : public QWidget, public CCmdTarget
{
    Q_OBJECT

public:
    explicit CWnd(QWidget* pParent = nullptr);
    ~CWnd() override;

    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // The message's whole journey: message map, then DefWindowProc.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // The window that owns this one as its frame, if any.
    class CFrameWnd* GetParentFrame() const;

protected:
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // WM_COMMAND: the command id in the low word of wParam, on its route.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);

    template <class T>
    void MapMessage(UINT message, LRESULT (T::*handler)(WPARAM, LPARAM))
    {
        m_messageMap[message] = [this, handler](WPARAM w, LPARAM l) { return (static_cast<T*>(this)->*handler)(w, l); };
    }

    bool event(QEvent* pEvent) override;

private:
    std::map<UINT, std::function<LRESULT(WPARAM, LPARAM)>> m_messageMap;
};

// The queued form of a window message.
class CWindowMessageEvent : public QEvent
{
public:
    CWindowMessageEvent(UINT message, WPARAM wParam, LPARAM lParam);
    static QEvent::Type EventType();

    UINT m_message;
    WPARAM m_wParam;
    LPARAM m_lParam;
};

// Whether pWnd is a live window, like IsWindow on a handle: null is not.
BOOL IsWindow(const CWnd* pWnd);
