#include "platform/history/SqliteSongHistory.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {
constexpr char kDriver[] = "QSQLITE";
constexpr char kDamagedSuffix[] = ".damaged";

// A song's times are stored as milliseconds since 1970 in UTC.
constexpr char kCreateTable[] = "CREATE TABLE IF NOT EXISTS songs ("
                                "id INTEGER PRIMARY KEY, channel TEXT NOT NULL, title TEXT NOT NULL, "
                                "started INTEGER NOT NULL, ended INTEGER)";
constexpr char kCheckColumns[] = "SELECT id, channel, title, started, ended FROM songs LIMIT 1";
constexpr char kInsert[] = "INSERT INTO songs (channel, title, started) VALUES (?, ?, ?)";
constexpr char kTrim[] = "DELETE FROM songs WHERE id <= (SELECT MAX(id) FROM songs) - ?";
constexpr char kEnd[] = "UPDATE songs SET ended = ? WHERE id = ?";
constexpr char kRecent[] = "SELECT id, channel, title, started, ended FROM songs ORDER BY id DESC LIMIT ?";

QDateTime TimeOf(const QVariant& value)
{
    if (value.isNull())
        return QDateTime();
    return QDateTime::fromMSecsSinceEpoch(value.toLongLong(), Qt::UTC);
}

// Qt binds a null string as SQL's NULL; a song without a title has an
// empty one.
QString NotNull(const QString& strText)
{
    return strText.isNull() ? QStringLiteral("") : strText;
}

// Runs one statement that takes no values; false when it fails.
bool Run(QSqlDatabase& db, const char* statement, QString* pError)
{
    QSqlQuery query(db);
    if (query.exec(QString::fromLatin1(statement)))
        return true;
    *pError = query.lastError().text();
    return false;
}

// The first value of a statement's first row, as text.
QString FirstValue(QSqlDatabase& db, const char* statement)
{
    QSqlQuery query(db);
    if (!query.exec(QString::fromLatin1(statement)) || !query.next())
        return QString();
    return query.value(0).toString();
}
}

CSqliteSongHistory::CSqliteSongHistory(const QString& strFilePath, QObject* pParent)
    : ISongHistory(pParent)
    , m_strFilePath(strFilePath)
    , m_strConnection(QStringLiteral("kestrel-song-history-%1").arg(reinterpret_cast<quintptr>(this), 0, 16))
{
    m_bAvailable = Open();
    if (!m_bAvailable && QFileInfo::exists(m_strFilePath)) {
        Close();
        if (SetAside())
            m_bAvailable = Open();
    }
    if (!m_bAvailable)
        Close();
}

CSqliteSongHistory::~CSqliteSongHistory()
{
    Close();
}

bool CSqliteSongHistory::Open()
{
    m_db = QSqlDatabase::addDatabase(QString::fromLatin1(kDriver), m_strConnection);
    if (!m_db.isValid())
        return Fail(QStringLiteral("SQLite is not available"), m_db.lastError().text());
    m_db.setDatabaseName(m_strFilePath);
    if (!m_db.open())
        return Fail(QStringLiteral("cannot be opened"), m_db.lastError().text());
    // Not every file system can hold the log beside the file; the rollback
    // journal that SQLite then keeps is as safe, only slower.
    FirstValue(m_db, "PRAGMA journal_mode=WAL");
    QString strError;
    if (!Run(m_db, "PRAGMA synchronous=FULL", &strError))
        return Fail(QStringLiteral("cannot be read"), strError);
    const QString strCheck = FirstValue(m_db, "PRAGMA quick_check");
    if (strCheck != QLatin1String("ok"))
        return Fail(QStringLiteral("is damaged"), strCheck);
    if (!Run(m_db, kCreateTable, &strError) || !Run(m_db, kCheckColumns, &strError))
        return Fail(QStringLiteral("is not a song history"), strError);
    m_strError.clear();
    return true;
}

void CSqliteSongHistory::Close()
{
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_strConnection);
}

bool CSqliteSongHistory::SetAside()
{
    QString strTarget = m_strFilePath + QLatin1String(kDamagedSuffix);
    for (int n = 1; QFileInfo::exists(strTarget); ++n)
        strTarget = m_strFilePath + QLatin1String(kDamagedSuffix) + QString::number(n);
    if (!QFile::rename(m_strFilePath, strTarget))
        return false;
    // The log belongs to the file set aside and goes with it.
    for (const char* suffix : {"-wal", "-shm"}) {
        const QString strLog = m_strFilePath + QLatin1String(suffix);
        if (QFileInfo::exists(strLog))
            QFile::rename(strLog, strTarget + QLatin1String(suffix));
    }
    return true;
}

bool CSqliteSongHistory::Fail(const QString& strWhat, const QString& strWhy)
{
    m_strError = QStringLiteral("The song history %1 %2: %3").arg(m_strFilePath, strWhat, strWhy);
    return false;
}

bool CSqliteSongHistory::IsAvailable() const
{
    return m_bAvailable;
}

QString CSqliteSongHistory::ErrorText() const
{
    return m_strError;
}

qint64 CSqliteSongHistory::AddSong(const QString& strChannel, const QString& strTitle, const QDateTime& started)
{
    if (!m_bAvailable)
        return 0;
    // The song and the trimming of the oldest go in one transaction, so the
    // file never holds more than it should, nor a song half added.
    if (!m_db.transaction())
        return 0;
    QSqlQuery insert(m_db);
    insert.prepare(QString::fromLatin1(kInsert));
    insert.addBindValue(NotNull(strChannel));
    insert.addBindValue(NotNull(strTitle));
    insert.addBindValue(started.toMSecsSinceEpoch());
    QSqlQuery trim(m_db);
    trim.prepare(QString::fromLatin1(kTrim));
    trim.addBindValue(kKeptSongs);
    if (!insert.exec() || !trim.exec()) {
        m_strError = insert.lastError().isValid() ? insert.lastError().text() : trim.lastError().text();
        m_db.rollback();
        return 0;
    }
    const qint64 nId = insert.lastInsertId().toLongLong();
    if (!m_db.commit()) {
        m_strError = m_db.lastError().text();
        m_db.rollback();
        return 0;
    }
    emit Changed();
    return nId;
}

bool CSqliteSongHistory::EndSong(qint64 nId, const QDateTime& ended)
{
    if (!m_bAvailable)
        return false;
    QSqlQuery query(m_db);
    query.prepare(QString::fromLatin1(kEnd));
    query.addBindValue(ended.isValid() ? QVariant(ended.toMSecsSinceEpoch()) : QVariant());
    query.addBindValue(nId);
    if (!query.exec()) {
        m_strError = query.lastError().text();
        return false;
    }
    emit Changed();
    return true;
}

QList<SongHistoryEntry> CSqliteSongHistory::RecentSongs(int nLimit) const
{
    QList<SongHistoryEntry> songs;
    if (!m_bAvailable)
        return songs;
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    query.prepare(QString::fromLatin1(kRecent));
    query.addBindValue(nLimit);
    if (!query.exec())
        return songs;
    while (query.next()) {
        SongHistoryEntry song;
        song.nId = query.value(0).toLongLong();
        song.strChannel = query.value(1).toString();
        song.strTitle = query.value(2).toString();
        song.started = TimeOf(query.value(3));
        song.ended = TimeOf(query.value(4));
        songs.append(song);
    }
    return songs;
}
