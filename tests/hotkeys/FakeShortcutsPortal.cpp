// A stand-in for the desktop's portal on the test's session bus, speaking
// the real interfaces: org.freedesktop.portal.GlobalShortcuts (sessions,
// binding, listing, Activated and ShortcutsChanged, answers through Request
// objects) and org.freedesktop.host.portal.Registry. Like xdg-desktop-portal
// 1.21 it refuses a session to a host program that has not registered, and
// like the desktops it binds a session's shortcuts once and keeps the
// trigger of a shortcut it remembers.
//
//   fake-shortcuts-portal [--version N] [--no-registry] [--no-shortcuts]
//                         [--remember ID=TRIGGER]... [--answer ID=TRIGGER]...
//
// --remember: what the desktop knows from an earlier run; --answer: the
// trigger the user gives a shortcut in the dialog instead of the preferred
// one (empty: none). It prints "ready" once it owns its name, then a line
// for every call; on standard input "activate ID" presses a shortcut and
// "change ID TRIGGER" changes one as the desktop's settings would.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QMap>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdio>
#include <unistd.h>

namespace {
constexpr char kService[] = "org.freedesktop.portal.Desktop";
constexpr char kPath[] = "/org/freedesktop/portal/desktop";
constexpr uint kSuccess = 0;
constexpr uint kOtherError = 2;
}

struct Shortcut {
    QString id;
    QVariantMap properties;
};
// Spelled out in the slots and signals: the bus looks their types up by the
// name moc records.
using ShortcutList = QList<Shortcut>;
Q_DECLARE_METATYPE(Shortcut)

QDBusArgument& operator<<(QDBusArgument& argument, const Shortcut& shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, Shortcut& shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

namespace {
void Print(const QString& line)
{
    std::puts(qPrintable(line));
    std::fflush(stdout);
}

// "CTRL+ALT+N" as a desktop shows it: "Ctrl+Alt+N".
QString Describe(const QString& trigger)
{
    static const QMap<QString, QString> names{
        {"CTRL", "Ctrl"}, {"ALT", "Alt"}, {"SHIFT", "Shift"}, {"LOGO", "Meta"}, {"NUM", "Num"}};
    QStringList parts = trigger.split('+');
    for (QString& part : parts)
        part = names.value(part, part);
    return parts.join('+');
}

QString RequestPath(const QDBusMessage& message, const QVariantMap& options, const char* kind)
{
    const QString sender = message.service().mid(1).replace('.', '_');
    return QStringLiteral("/org/freedesktop/portal/desktop/%1/%2/%3")
        .arg(QLatin1String(kind), sender, options.value("handle_token").toString());
}
}

class Portal : public QObject
{
    Q_OBJECT

public:
    QDBusConnection bus = QDBusConnection::sessionBus();
    bool registryOffered = true;
    QSet<QString> registeredSenders;
    QMap<QString, QString> remembered;  // id -> trigger description
    QMap<QString, QString> answers;
    QString lastSession;
    QSet<QString> boundSessions;

    // The answer after the call's reply, as a portal sends it.
    void Respond(const QString& path, uint response, const QVariantMap& results)
    {
        QTimer::singleShot(0, this, [this, path, response, results] {
            QDBusMessage signal = QDBusMessage::createSignal(path, "org.freedesktop.portal.Request", "Response");
            signal << response << results;
            if (!bus.send(signal))
                std::fputs("cannot send a response\n", stderr);
        });
    }

    ShortcutList RememberedList() const
    {
        ShortcutList list;
        for (auto it = remembered.cbegin(); it != remembered.cend(); ++it)
            list << Shortcut{it.key(), {{"description", it.key()}, {"trigger_description", it.value()}}};
        return list;
    }
};

class ShortcutsAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.GlobalShortcuts")
    Q_PROPERTY(uint version READ version)

public:
    ShortcutsAdaptor(Portal* portal, uint version)
        : QDBusAbstractAdaptor(portal)
        , m_portal(*portal)
        , m_version(version)
    {
    }
    uint version() const { return m_version; }

    void Activate(const QString& id) { emit Activated(QDBusObjectPath(m_portal.lastSession), id, 1000, {}); }
    void Change(const QString& id, const QString& trigger)
    {
        m_portal.remembered.insert(id, trigger);
        emit ShortcutsChanged(QDBusObjectPath(m_portal.lastSession),
                              {Shortcut{id, {{"description", id}, {"trigger_description", trigger}}}});
    }

public slots:
    QDBusObjectPath CreateSession(const QVariantMap& options, const QDBusMessage& message)
    {
        const QString path = RequestPath(message, options, "request");
        const bool registered = m_portal.registeredSenders.contains(message.service());
        Print(QStringLiteral("CreateSession %1").arg(registered ? "registered" : "unregistered"));
        if (m_portal.registryOffered && !registered) {
            m_portal.Respond(path, kOtherError, {});
            return QDBusObjectPath(path);
        }
        m_portal.lastSession =
            RequestPath(message, {{"handle_token", options.value("session_handle_token")}}, "session");
        m_portal.Respond(path, kSuccess, {{"session_handle", m_portal.lastSession}});
        return QDBusObjectPath(path);
    }

    QDBusObjectPath BindShortcuts(const QDBusObjectPath& session, const QList<Shortcut>& shortcuts, const QString&,
                                  const QVariantMap& options, const QDBusMessage& message)
    {
        const QString path = RequestPath(message, options, "request");
        QStringList asked;
        for (const Shortcut& shortcut : shortcuts)
            asked << QStringLiteral("%1=%2:%3")
                         .arg(shortcut.id, shortcut.properties.value("preferred_trigger").toString(),
                              shortcut.properties.value("description").toString());
        Print(QStringLiteral("BindShortcuts ") + asked.join(','));
        if (m_portal.boundSessions.contains(session.path())) {
            m_portal.Respond(path, kOtherError, {});
            return QDBusObjectPath(path);
        }
        m_portal.boundSessions.insert(session.path());
        ShortcutList bound;
        for (const Shortcut& shortcut : shortcuts) {
            QString trigger = m_portal.remembered.value(shortcut.id);
            if (trigger.isEmpty()) {
                trigger = m_portal.answers.contains(shortcut.id)
                    ? m_portal.answers.value(shortcut.id)
                    : Describe(shortcut.properties.value("preferred_trigger").toString());
            }
            if (trigger.isEmpty())
                continue;
            m_portal.remembered.insert(shortcut.id, trigger);
            bound << Shortcut{
                shortcut.id,
                {{"description", shortcut.properties.value("description")}, {"trigger_description", trigger}}};
        }
        m_portal.Respond(path, kSuccess, {{"shortcuts", QVariant::fromValue(bound)}});
        return QDBusObjectPath(path);
    }

    QDBusObjectPath ListShortcuts(const QDBusObjectPath&, const QVariantMap& options, const QDBusMessage& message)
    {
        const QString path = RequestPath(message, options, "request");
        Print(QStringLiteral("ListShortcuts"));
        m_portal.Respond(path, kSuccess, {{"shortcuts", QVariant::fromValue(m_portal.RememberedList())}});
        return QDBusObjectPath(path);
    }

    void ConfigureShortcuts(const QDBusObjectPath&, const QString&, const QVariantMap&)
    {
        Print(QStringLiteral("ConfigureShortcuts"));
    }

signals:
    void Activated(const QDBusObjectPath& session, const QString& id, qulonglong timestamp, const QVariantMap& options);
    void ShortcutsChanged(const QDBusObjectPath& session, const QList<Shortcut>& shortcuts);

private:
    Portal& m_portal;
    uint m_version;
};

class RegistryAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.host.portal.Registry")
    Q_PROPERTY(uint version READ version)

public:
    explicit RegistryAdaptor(Portal* portal)
        : QDBusAbstractAdaptor(portal)
        , m_portal(*portal)
    {
    }
    uint version() const { return 1; }

public slots:
    void Register(const QString& appId, const QVariantMap&, const QDBusMessage& message)
    {
        Print(QStringLiteral("Register ") + appId);
        m_portal.registeredSenders.insert(message.service());
    }

private:
    Portal& m_portal;
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    qDBusRegisterMetaType<Shortcut>();
    qDBusRegisterMetaType<ShortcutList>();
    QCommandLineParser parser;
    const QCommandLineOption version("version", "interface version", "N", "1");
    const QCommandLineOption noRegistry("no-registry", "no host registry");
    const QCommandLineOption noShortcuts("no-shortcuts", "no GlobalShortcuts interface");
    const QCommandLineOption remember("remember", "a shortcut known already", "ID=TRIGGER");
    const QCommandLineOption answer("answer", "the user's trigger for a shortcut", "ID=TRIGGER");
    parser.addOptions({version, noRegistry, noShortcuts, remember, answer});
    parser.process(app);

    Portal portal;
    portal.registryOffered = !parser.isSet(noRegistry);
    for (const QString& value : parser.values(remember))
        portal.remembered.insert(value.section('=', 0, 0), value.section('=', 1));
    for (const QString& value : parser.values(answer))
        portal.answers.insert(value.section('=', 0, 0), value.section('=', 1));
    ShortcutsAdaptor* shortcuts = nullptr;
    if (!parser.isSet(noShortcuts))
        shortcuts = new ShortcutsAdaptor(&portal, parser.value(version).toUInt());
    if (portal.registryOffered)
        new RegistryAdaptor(&portal);
    if (!portal.bus.registerObject(kPath, &portal) || !portal.bus.registerService(kService)) {
        std::fputs("cannot take the portal's name\n", stderr);
        return 1;
    }
    Print(QStringLiteral("ready"));

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QByteArray pending;
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[256];
        const ssize_t count = read(STDIN_FILENO, buffer, sizeof buffer);
        if (count <= 0) {
            app.quit();
            return;
        }
        pending.append(buffer, count);
        while (pending.contains('\n')) {
            const QStringList words = QString::fromUtf8(pending.left(pending.indexOf('\n'))).split(' ');
            pending.remove(0, pending.indexOf('\n') + 1);
            if (shortcuts != nullptr && words.size() == 2 && words[0] == "activate")
                shortcuts->Activate(words[1]);
            if (shortcuts != nullptr && words.size() == 3 && words[0] == "change")
                shortcuts->Change(words[1], words[2]);
        }
    });
    return app.exec();
}

#include "FakeShortcutsPortal.moc"
