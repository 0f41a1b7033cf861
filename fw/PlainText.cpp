#include "fw/PlainText.h"

#include <QLabel>
#include <QTextDocument>

namespace {
const char kModifiedMarkPlaceholder[] = "[*]";
const char kLiteralPlaceholder[] = "[*][*]";
}

void ShowAsPlainText(QLabel* pLabel)
{
    pLabel->setTextFormat(Qt::PlainText);
}

QString PlainToolTip(const QString& strText)
{
    if (!Qt::mightBeRichText(strText))
        return strText;
    return Qt::convertFromPlainText(strText, Qt::WhiteSpaceNormal);
}

QString PlainWindowTitle(const QString& strText)
{
    QString strTitle = strText;
    strTitle.replace(QLatin1String(kModifiedMarkPlaceholder), QLatin1String(kLiteralPlaceholder));
    return strTitle;
}

QString TextOfPlainWindowTitle(const QString& strTitle)
{
    QString strText = strTitle;
    strText.replace(QLatin1String(kLiteralPlaceholder), QLatin1String(kModifiedMarkPlaceholder));
    return strText;
}
