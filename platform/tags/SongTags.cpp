#include "platform/tags/SongTags.h"

#include <QFile>
#include <taglib/fileref.h>
#include <taglib/tag.h>
#include <taglib/tstring.h>

namespace {
TagLib::String TagText(const QString& strText)
{
    return TagLib::String(strText.toStdString(), TagLib::String::UTF8);
}
}

bool WriteSongTags(const QString& strPath, const SongTags& tags, QString* pError)
{
    const QByteArray path = QFile::encodeName(strPath);
    TagLib::FileRef file(path.constData(), false);
    if (file.isNull() || file.tag() == nullptr) {
        *pError = QStringLiteral("the file's type holds no tags");
        return false;
    }
    TagLib::Tag* pTag = file.tag();
    pTag->setTitle(TagText(tags.strTitle));
    pTag->setArtist(TagText(tags.strArtist));
    pTag->setAlbum(TagText(tags.strAlbum));
    if (!file.save()) {
        *pError = QStringLiteral("the tags could not be written");
        return false;
    }
    return true;
}
