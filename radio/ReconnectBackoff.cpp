#include "radio/ReconnectBackoff.h"

#include <algorithm>

int CReconnectBackoff::NextDelaySeconds()
{
    const int nDelay = m_nNextDelaySeconds;
    m_nNextDelaySeconds = std::min(m_nNextDelaySeconds * 2, kLongestDelaySeconds);
    return nDelay;
}

void CReconnectBackoff::Reset()
{
    m_nNextDelaySeconds = kFirstDelaySeconds;
}
