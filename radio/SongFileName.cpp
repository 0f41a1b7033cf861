#include "radio/SongFileName.h"

#include <QDir>
#include <QFileInfo>

namespace SongFileName {
namespace {
// Characters that no file name here carries: separators, and those that
// other systems refuse, so that a copied song still fits there.
const QString kForbidden = QStringLiteral("/\\:*?\"<>|");
constexpr QChar kReplacement = u'_';
}

QString Sanitised(const QString& strText, const QString& strFallback)
{
    QString strName;
    strName.reserve(strText.size());
    for (const QChar character : strText) {
        if (kForbidden.contains(character) || character.category() == QChar::Other_Control ||
            character.category() == QChar::Other_Format)
            strName += kReplacement;
        else
            strName += character;
    }
    strName = strName.simplified();
    while (strName.startsWith(u'.') || strName.startsWith(u' '))
        strName.remove(0, 1);
    while (strName.toUtf8().size() > kMaxNameBytes)
        strName.chop(strName.size() > 1 && strName.at(strName.size() - 1).isLowSurrogate() ? 2 : 1);
    strName = strName.trimmed();
    while (strName.endsWith(u'.'))
        strName.chop(1);
    return strName.isEmpty() ? strFallback : strName;
}

QString FreePath(const QString& strFolder, const QString& strBaseName, const QString& strExtension)
{
    const QDir folder(strFolder);
    QString strPath = folder.filePath(strBaseName + u'.' + strExtension);
    for (int n = 2; QFileInfo::exists(strPath) || QFileInfo(strPath).isSymLink(); ++n)
        strPath = folder.filePath(QStringLiteral("%1 (%2).%3").arg(strBaseName).arg(n).arg(strExtension));
    return strPath;
}
}
