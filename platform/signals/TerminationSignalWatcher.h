#pragma once

#include <QObject>

class QSocketNotifier;

// Turns the signals that ask a program to end (SIGTERM from the session or
// kill, SIGINT from a terminal, SIGHUP when the terminal goes) into a Qt
// signal on the event loop, so that the program ends through its own clean
// shutdown instead of dying mid-way. The handler only writes the signal's
// number into a pipe; everything else happens on the GUI thread.
class CTerminationSignalWatcher : public QObject
{
    Q_OBJECT

public:
    explicit CTerminationSignalWatcher(QObject* pParent = nullptr);
    ~CTerminationSignalWatcher() override;

    // False when the pipe or the handlers could not be set up (or another
    // watcher is already installed).
    bool IsAvailable() const;

    // Whether one of the signals arrived since the watcher was installed.
    // Work that holds the event loop up (a download) asks this now and then
    // and stops, so that the program can end soon.
    static bool IsTerminationRequested();

signals:
    void TerminationRequested(int nSignal);

private:
    void OnPipeReadable();

    QSocketNotifier* m_pNotifier = nullptr;
    bool m_bInstalled = false;
};
