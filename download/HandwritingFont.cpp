#include "download/HandwritingFont.h"

#include <QFontDatabase>
#include <QStringList>

namespace {
// Most wanted first: the face the dialog was drawn for, then informal faces
// that Linux desktops commonly have.
const char* const kPreferredFamilies[] = {
    "Segoe Print", "Comic Neue", "Comic Sans MS", "Kalam", "Purisa", "URW Chancery L", "Z003", "TeX Gyre Chorus",
};
// Words in a family's name that mark a handwriting or script face.
const char* const kHandwritingWords[] = {"Print", "Hand", "Script", "Chancery", "Comic", "Brush"};

QString InstalledHandwritingFamily()
{
    const QStringList families = QFontDatabase::families();
    for (const char* pFamily : kPreferredFamilies) {
        if (families.contains(QLatin1String(pFamily), Qt::CaseInsensitive))
            return QLatin1String(pFamily);
    }
    for (const QString& strFamily : families) {
        for (const char* pWord : kHandwritingWords) {
            if (strFamily.contains(QLatin1String(pWord), Qt::CaseInsensitive))
                return strFamily;
        }
    }
    return QString();
}
}

QFont HandwritingFont(int nPointSize)
{
    QFont font;
    font.setPointSize(nPointSize);
    const QString strFamily = InstalledHandwritingFamily();
    if (!strFamily.isEmpty()) {
        font.setFamily(strFamily);
    } else {
        // Let fontconfig choose whatever it counts as cursive.
        font.setFamily(QStringLiteral("cursive"));
        font.setStyleHint(QFont::Cursive);
    }
    return font;
}
