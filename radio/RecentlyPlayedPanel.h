#pragma once

#include "platform/history/SongHistory.h"

#include <QList>
#include <QUrl>
#include <QWidget>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

// The songs heard, newest first, on the radio page: a search over titles
// and channels, and for the chosen song its title to the clipboard, a web
// search for it in the desktop's browser, or its sound saved while the
// time-shift buffer still holds it. Titles come from the stations and are
// shown as plain text.
class CRecentlyPlayedPanel : public QWidget
{
    Q_OBJECT

public:
    // Hands an address to the desktop's browser; false when none took it.
    using UrlOpener = std::function<bool(const QUrl& url)>;
    // Whether a song can be saved now, and what the Save button's tip says
    // about it (why not, when it cannot).
    struct SaveOffer {
        bool bCanSave = false;
        QString strTip;
    };
    using SaveCheck = std::function<SaveOffer(const SongHistoryEntry& song)>;
    using SaveAction = std::function<void(const SongHistoryEntry& song)>;

    // pHistory may be null: the panel then says that no history is kept.
    explicit CRecentlyPlayedPanel(ISongHistory* pHistory, QWidget* pParent = nullptr);

    void SetUrlOpener(UrlOpener opener);
    // Without these no song can be saved from the panel.
    void SetSongSaving(SaveCheck check, SaveAction save);
    // Reads the history again.
    void Refresh();

    // The chosen song's title, or its channel when the station sent none.
    QString SelectedTitle() const;
    void CopySelectedTitle();
    void SearchSelectedOnWeb();
    void SaveSelectedSong();
    // Asks again whether the chosen song can be saved: the buffer moves on.
    void RefreshButtons();

    // The web address that searches for a song.
    static QUrl WebSearchUrl(const QString& strSong);

private:
    void ApplyFilter();
    // The chosen song, if any.
    const SongHistoryEntry* SelectedSong() const;

    ISongHistory* m_pHistory;
    UrlOpener m_opener;
    SaveCheck m_saveCheck;
    SaveAction m_save;
    // As the list shows them.
    QList<SongHistoryEntry> m_songs;
    QLineEdit* m_pSearch;
    QTreeWidget* m_pSongs;
    QLabel* m_pMessage;
    QPushButton* m_pCopy;
    QPushButton* m_pWebSearch;
    QPushButton* m_pSave;
};
