#pragma once

#include "fw/Types.h"

#include <QObject>
#include <memory>

class ITrayIcon;
class CWnd;

// The main frame's icon in the notification area: icon 128, the tip, and
// the mouse on the icon reported to the frame as posted WM_TRAY_NOTIFY
// messages (wParam the icon's id, lParam the mouse message).
class CMainFrameTrayIcon : public QObject
{
    Q_OBJECT

public:
    static constexpr UINT kIconId = 90;
    // The longest tip the icon shows; a longer one is cut.
    static constexpr qsizetype kMaxTipLength = 127;

    explicit CMainFrameTrayIcon(CWnd* pNotifyWindow);
    ~CMainFrameTrayIcon() override;

    // TRUE when a notification area took the icon. The tip is cut to
    // kMaxTipLength characters and shown as plain text.
    BOOL Add(const CString& strTip);
    void SetTip(const CString& strTip);
    void Remove();
    // Whether a hidden window could come back through the icon now.
    bool IsHostAvailable() const;
    bool IsAdded() const;
    // The tip as the icon holds it: escaped where it would read as markup.
    CString GetTip() const;

    // The tip for a status: the application's name, and on a second line
    // the status when there is one; cut to kMaxTipLength characters.
    static CString TipText(const CString& strAppName, const CString& strStatus);

private:
    CWnd* m_pNotifyWindow;
    std::unique_ptr<ITrayIcon> m_pIcon;
};
