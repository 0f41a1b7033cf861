#pragma once

#include <QObject>
#include <QUrl>
#include <memory>

// Opens an address with the desktop's own program for it: a web address in
// the user's web browser, a mail address in the mail program. Only such
// addresses are opened; nothing else on the computer is started.
class IShellOpen : public QObject
{
    Q_OBJECT

public:
    explicit IShellOpen(QObject* pParent = nullptr);
    ~IShellOpen() override;

    // False when the address is refused or no program took it.
    virtual bool Open(const QUrl& url) = 0;

    // Whether the address is one that may be handed to the desktop: http,
    // https or mailto.
    static bool MayOpen(const QUrl& url);
};

// The shell of this platform.
std::unique_ptr<IShellOpen> CreateShellOpen(QObject* pParent = nullptr);
