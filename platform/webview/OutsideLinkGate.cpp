#include "platform/webview/OutsideLinkGate.h"

#include <QDeadlineTimer>
#include <utility>

COutsideLinkGate::COutsideLinkGate(Clock clock)
    : m_clock(std::move(clock))
{
}

void COutsideLinkGate::NoteUserInput()
{
    m_nLastInputMs = m_clock();
}

bool COutsideLinkGate::MayLeave()
{
    const qint64 nNow = m_clock();
    const std::optional<qint64> nInput = std::exchange(m_nLastInputMs, std::nullopt);
    if (!nInput || nNow - *nInput > kUserInputWindowMs)
        return false;
    if (m_nLastLeaveMs && nNow - *m_nLastLeaveMs < kLeaveIntervalMs)
        return false;
    m_nLastLeaveMs = nNow;
    return true;
}

qint64 COutsideLinkGate::SteadyClock()
{
    return QDeadlineTimer::current().deadline();
}
