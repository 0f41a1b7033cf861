#include "platform/media/TimeShift.h"

#include <QtGlobal>

ITimeShift::ITimeShift(QObject* pParent)
    : QObject(pParent)
{
}

ITimeShift::~ITimeShift() = default;

double ITimeShift::SecondsBehindLive() const
{
    if (!m_bActive)
        return 0;
    const double dBehind = m_dBufferEnd - m_dPosition;
    return dBehind < kLiveMarginSeconds ? 0 : dBehind;
}

void ITimeShift::UpdateBuffer(const Buffer& buffer)
{
    const Buffer current{m_bActive, m_dPosition, m_dBufferStart, m_dBufferEnd, m_bStreamEnded, m_nFileBytes};
    if (current == buffer)
        return;
    m_bActive = buffer.bActive;
    m_dPosition = buffer.dPosition;
    m_dBufferStart = buffer.dStart;
    m_dBufferEnd = buffer.dEnd;
    m_bStreamEnded = buffer.bStreamEnded;
    m_nFileBytes = buffer.nFileBytes;
    emit Changed();
}
