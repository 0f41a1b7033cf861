#pragma once

#include "platform/tray/TrayIcon.h"

#include <QSystemTrayIcon>

// The notification-area icon through Qt's tray icon, which speaks
// StatusNotifierItem on the session bus where a host listens there and
// embeds itself in an XEmbed tray otherwise.
class CSystemTrayIcon final : public ITrayIcon
{
    Q_OBJECT

public:
    explicit CSystemTrayIcon(QObject* pParent = nullptr);
    ~CSystemTrayIcon() override;

    bool IsAvailable() const override;
    bool Add(const QIcon& icon, const QString& strTip) override;
    void SetTip(const QString& strTip) override;
    void Remove() override;
    bool IsAdded() const override;
    QString Tip() const override;

private:
    void OnActivated(QSystemTrayIcon::ActivationReason reason);
    // A StatusNotifierItem host has no double-click: its activation is the
    // user's click that opens the program.
    static bool IsStatusNotifierHostRegistered();

    // Asked once, as the tray icon itself decides once which way it speaks.
    bool m_bStatusNotifier;
    QSystemTrayIcon m_icon;
};
