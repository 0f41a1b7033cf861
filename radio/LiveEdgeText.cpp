#include "radio/LiveEdgeText.h"

#include "platform/media/TimeShift.h"
#include "radio/PlayerTexts.h"

namespace LiveEdgeText {
namespace {
constexpr int kSecondsPerMinute = 60;
}

QString ClockText(double dSeconds)
{
    const int nSeconds = static_cast<int>(dSeconds);
    const QString strMinutes = QStringLiteral("%1:%2")
                                   .arg(nSeconds / kSecondsPerMinute % kSecondsPerMinute, 2, 10, QLatin1Char('0'))
                                   .arg(nSeconds % kSecondsPerMinute, 2, 10, QLatin1Char('0'));
    const int nHours = nSeconds / (kSecondsPerMinute * kSecondsPerMinute);
    return nHours > 0 ? QStringLiteral("%1:%2").arg(nHours).arg(strMinutes) : strMinutes;
}

QString Of(const ITimeShift* pTimeShift, bool bPaused)
{
    if (pTimeShift == nullptr || !pTimeShift->IsActive())
        return QString();
    if (bPaused)
        return QString::fromLatin1(PlayerTexts::kPaused);
    const double dBehind = pTimeShift->SecondsBehindLive();
    if (dBehind > 0)
        return QString::fromLatin1(PlayerTexts::kBehindLive).arg(ClockText(dBehind));
    return QString::fromLatin1(PlayerTexts::kLive);
}
}
