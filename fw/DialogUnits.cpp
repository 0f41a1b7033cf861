#include "fw/DialogUnits.h"

#include <QFontMetricsF>

namespace DialogUnits {

namespace {
struct BaseUnits {
    qreal x;
    qreal y;
};

BaseUnits BaseUnitsOf(const QFont& font)
{
    const QFontMetricsF metrics(font);
    const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return {metrics.horizontalAdvance(alphabet) / alphabet.size(), metrics.height()};
}
}

QRect ToPixels(const QRect& rectDialogUnits, const QFont& font)
{
    const BaseUnits units = BaseUnitsOf(font);
    return QRect(qRound(rectDialogUnits.x() * units.x / 4), qRound(rectDialogUnits.y() * units.y / 8),
                 qRound(rectDialogUnits.width() * units.x / 4), qRound(rectDialogUnits.height() * units.y / 8));
}

QSize ToPixels(const QSize& sizeDialogUnits, const QFont& font)
{
    return ToPixels(QRect(QPoint(0, 0), sizeDialogUnits), font).size();
}

}
