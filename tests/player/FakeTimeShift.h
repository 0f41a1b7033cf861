#pragma once

#include "platform/media/TimeShift.h"

#include <QList>

// A time-shift buffer whose state the test sets, and which keeps what it is
// asked to do, for the logic above the buffer. The real buffer is tested
// against the station server.
class CFakeTimeShift final : public ITimeShift
{
    Q_OBJECT

public:
    struct SaveRequest {
        double dFrom;
        double dTo;
        QString strPath;
    };

    void SetBufferSeconds(int nSeconds) override { m_nBufferSeconds = nSeconds; }
    QString ErrorText() const override { return QString(); }
    bool IsEnabled() const override { return m_nBufferSeconds > 0; }
    void SeekBy(double dSeconds) override { m_seeks.append(dSeconds); }
    void SeekToLive() override { ++m_nSeeksToLive; }
    void Save(double dFrom, double dTo, const QString& strPath) override { m_saves.append({dFrom, dTo, strPath}); }
    QString SaveExtension() const override { return QStringLiteral("mp3"); }

    // The buffer holds the stream from dStart to dEnd and plays at dPosition.
    void Hold(double dStart, double dEnd, double dPosition)
    {
        UpdateBuffer({.bActive = true, .dPosition = dPosition, .dStart = dStart, .dEnd = dEnd});
    }
    void Drop() { UpdateBuffer({}); }
    using ITimeShift::SaveFinished;

    int m_nBufferSeconds = 30 * 60;
    QList<double> m_seeks;
    int m_nSeeksToLive = 0;
    QList<SaveRequest> m_saves;
};
