#pragma once

#include <QUrl>
#include <QWidget>
#include <functional>

class ISongHistory;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
struct SongHistoryEntry;

// The songs heard, newest first, on the radio page: a search over titles
// and channels, and for the chosen song its title to the clipboard or a
// web search for it in the desktop's browser. Titles come from the
// stations and are shown as plain text.
class CRecentlyPlayedPanel : public QWidget
{
    Q_OBJECT

public:
    // Hands an address to the desktop's browser; false when none took it.
    using UrlOpener = std::function<bool(const QUrl& url)>;

    // pHistory may be null: the panel then says that no history is kept.
    explicit CRecentlyPlayedPanel(ISongHistory* pHistory, QWidget* pParent = nullptr);

    void SetUrlOpener(UrlOpener opener);
    // Reads the history again.
    void Refresh();

    // The chosen song's title, or its channel when the station sent none.
    QString SelectedTitle() const;
    void CopySelectedTitle();
    void SearchSelectedOnWeb();

    // The web address that searches for a song.
    static QUrl WebSearchUrl(const QString& strSong);

private:
    void ApplyFilter();
    void RefreshButtons();

    ISongHistory* m_pHistory;
    UrlOpener m_opener;
    QLineEdit* m_pSearch;
    QTreeWidget* m_pSongs;
    QLabel* m_pMessage;
    QPushButton* m_pCopy;
    QPushButton* m_pWebSearch;
};
