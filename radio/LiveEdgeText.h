#pragma once

#include <QString>

class ITimeShift;

// How far behind the live edge of a time-shifted channel play stands, in
// the words the listener reads.
namespace LiveEdgeText {
// "02:15", or "1:02:15" from an hour on.
QString ClockText(double dSeconds);
// "Paused", "-02:15 behind live" or "Live"; empty while the buffer does not
// keep the channel.
QString Of(const ITimeShift* pTimeShift, bool bPaused);
}
