#pragma once

#include <QtGlobal>
#include <functional>
#include <optional>

// Decides whether an address a page hands out may leave the program for the
// desktop's own program (the user's web browser, the mail program). Only
// what follows the reader's own input on the page leaves: a mouse click or a
// key press a moment before. A page's script can click its links, open
// windows and run timers as it likes; none of that is the reader's, so none
// of it starts anything on the desktop. Each input lets at most one address
// out, and at most one leaves a second, so that not even a reader's clicks
// on a page that plays tricks can flood the desktop with browsers.
class COutsideLinkGate
{
public:
    // Milliseconds on a clock that never goes back.
    using Clock = std::function<qint64()>;

    explicit COutsideLinkGate(Clock clock = SteadyClock);

    // The reader pressed a mouse button or a key on the page.
    void NoteUserInput();
    // Whether an address the page hands out now may leave. Takes up the
    // input it follows, whatever the answer.
    bool MayLeave();

    // How long after the reader's input a hand-out still counts as the
    // reader's: the round trip through the page's renderer, with room for a
    // busy machine.
    static constexpr qint64 kUserInputWindowMs = 2000;
    // The least time between two addresses that leave.
    static constexpr qint64 kLeaveIntervalMs = 1000;

    static qint64 SteadyClock();

private:
    Clock m_clock;
    std::optional<qint64> m_nLastInputMs;
    std::optional<qint64> m_nLastLeaveMs;
};
