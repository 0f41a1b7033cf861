#include "radio/RecentlyPlayedPanel.h"

#include "fw/PlainText.h"
#include "platform/history/SongHistory.h"
#include "platform/shellopen/ShellOpen.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QUrlQuery>
#include <QVBoxLayout>

namespace {
constexpr char kHeading[] = "Recently Played";
constexpr char kSearchPlaceholder[] = "Search songs and channels";
constexpr char kCopyTitle[] = "Copy Title";
constexpr char kWebSearch[] = "Search the Web";
constexpr char kSaveSong[] = "Save Song";
constexpr char kChooseASong[] = "Choose a song to save it while time-shift still keeps it.";
constexpr char kTimeColumn[] = "Time";
constexpr char kChannelColumn[] = "Channel";
constexpr char kTitleColumn[] = "Title";
constexpr char kNoHistory[] = "The songs heard cannot be kept: %1";
constexpr char kTimeFormat[] = "ddd hh:mm";
constexpr char kWebSearchAddress[] = "https://duckduckgo.com/";
constexpr char kWebSearchQuery[] = "q";

enum Column { kTime, kChannel, kTitle };
constexpr int kTitleRole = Qt::UserRole;
// The row's index into the songs as read.
constexpr int kSongRole = Qt::UserRole + 1;
}

CRecentlyPlayedPanel::CRecentlyPlayedPanel(ISongHistory* pHistory, QWidget* pParent)
    : QWidget(pParent)
    , m_pHistory(pHistory)
    , m_opener([](const QUrl& url) { return CreateShellOpen()->Open(url); })
    , m_pSearch(new QLineEdit(this))
    , m_pSongs(new QTreeWidget(this))
    , m_pMessage(new QLabel(this))
    , m_pCopy(new QPushButton(QLatin1String(kCopyTitle), this))
    , m_pWebSearch(new QPushButton(QLatin1String(kWebSearch), this))
    , m_pSave(new QPushButton(QLatin1String(kSaveSong), this))
{
    auto* pHeading = new QLabel(QLatin1String(kHeading), this);
    m_pSearch->setPlaceholderText(QLatin1String(kSearchPlaceholder));
    m_pSearch->setClearButtonEnabled(true);
    m_pSongs->setHeaderLabels({QLatin1String(kTimeColumn), QLatin1String(kChannelColumn), QLatin1String(kTitleColumn)});
    m_pSongs->setRootIsDecorated(false);
    m_pSongs->setUniformRowHeights(true);
    m_pSongs->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pSongs->header()->setStretchLastSection(true);
    ShowAsPlainText(m_pMessage);
    m_pMessage->setWordWrap(true);
    m_pMessage->hide();

    auto* pTop = new QHBoxLayout;
    pTop->addWidget(pHeading);
    pTop->addWidget(m_pSearch, 1);
    pTop->addWidget(m_pCopy);
    pTop->addWidget(m_pWebSearch);
    pTop->addWidget(m_pSave);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->addLayout(pTop);
    pLayout->addWidget(m_pMessage);
    pLayout->addWidget(m_pSongs, 1);

    connect(m_pSearch, &QLineEdit::textChanged, this, &CRecentlyPlayedPanel::ApplyFilter);
    connect(m_pSongs, &QTreeWidget::itemSelectionChanged, this, &CRecentlyPlayedPanel::RefreshButtons);
    connect(m_pCopy, &QPushButton::clicked, this, &CRecentlyPlayedPanel::CopySelectedTitle);
    connect(m_pWebSearch, &QPushButton::clicked, this, &CRecentlyPlayedPanel::SearchSelectedOnWeb);
    connect(m_pSave, &QPushButton::clicked, this, &CRecentlyPlayedPanel::SaveSelectedSong);
    if (m_pHistory != nullptr)
        connect(m_pHistory, &ISongHistory::Changed, this, [this] {
            if (isVisible())
                Refresh();
        });
    Refresh();
}

void CRecentlyPlayedPanel::SetUrlOpener(UrlOpener opener)
{
    m_opener = std::move(opener);
}

void CRecentlyPlayedPanel::SetSongSaving(SaveCheck check, SaveAction save)
{
    m_saveCheck = std::move(check);
    m_save = std::move(save);
    RefreshButtons();
}

void CRecentlyPlayedPanel::Refresh()
{
    m_pSongs->clear();
    m_songs.clear();
    if (m_pHistory == nullptr || !m_pHistory->IsAvailable()) {
        m_pMessage->setText(QString::fromLatin1(kNoHistory).arg(m_pHistory ? m_pHistory->ErrorText() : QString()));
        m_pMessage->show();
        RefreshButtons();
        return;
    }
    m_pMessage->hide();
    m_songs = m_pHistory->RecentSongs();
    QList<QTreeWidgetItem*> items;
    for (qsizetype i = 0; i < m_songs.size(); ++i) {
        const SongHistoryEntry& song = m_songs.at(i);
        // Item texts are never read as markup; tips would be.
        auto* pItem = new QTreeWidgetItem;
        pItem->setText(kTime, song.started.toLocalTime().toString(QLatin1String(kTimeFormat)));
        pItem->setText(kChannel, song.strChannel);
        pItem->setText(kTitle, song.strTitle);
        pItem->setToolTip(kTitle, PlainToolTip(song.strTitle));
        pItem->setToolTip(kChannel, PlainToolTip(song.strChannel));
        pItem->setData(kTitle, kTitleRole, song.strTitle.isEmpty() ? song.strChannel : song.strTitle);
        pItem->setData(kTitle, kSongRole, i);
        items.append(pItem);
    }
    m_pSongs->addTopLevelItems(items);
    ApplyFilter();
}

void CRecentlyPlayedPanel::ApplyFilter()
{
    const QString strFilter = m_pSearch->text().trimmed();
    for (int i = 0; i < m_pSongs->topLevelItemCount(); ++i) {
        QTreeWidgetItem* pItem = m_pSongs->topLevelItem(i);
        const bool bMatches = strFilter.isEmpty() || pItem->text(kTitle).contains(strFilter, Qt::CaseInsensitive) ||
            pItem->text(kChannel).contains(strFilter, Qt::CaseInsensitive);
        pItem->setHidden(!bMatches);
        if (!bMatches)
            pItem->setSelected(false);
    }
    RefreshButtons();
}

void CRecentlyPlayedPanel::RefreshButtons()
{
    const bool bChosen = !SelectedTitle().isEmpty();
    m_pCopy->setEnabled(bChosen);
    m_pWebSearch->setEnabled(bChosen);
    const SongHistoryEntry* pSong = SelectedSong();
    SaveOffer offer;
    if (pSong == nullptr)
        offer.strTip = QLatin1String(kChooseASong);
    else if (m_saveCheck)
        offer = m_saveCheck(*pSong);
    m_pSave->setEnabled(offer.bCanSave && m_save);
    m_pSave->setToolTip(PlainToolTip(offer.strTip));
}

const SongHistoryEntry* CRecentlyPlayedPanel::SelectedSong() const
{
    const QList<QTreeWidgetItem*> selected = m_pSongs->selectedItems();
    if (selected.isEmpty())
        return nullptr;
    const qsizetype nSong = selected.first()->data(kTitle, kSongRole).toLongLong();
    return nSong >= 0 && nSong < m_songs.size() ? &m_songs.at(nSong) : nullptr;
}

void CRecentlyPlayedPanel::SaveSelectedSong()
{
    const SongHistoryEntry* pSong = SelectedSong();
    if (pSong == nullptr || !m_saveCheck || !m_save || !m_saveCheck(*pSong).bCanSave)
        return;
    // The action may ask the listener, and the history may be read again
    // meanwhile: it gets a song of its own.
    const SongHistoryEntry song = *pSong;
    m_save(song);
    RefreshButtons();
}

QString CRecentlyPlayedPanel::SelectedTitle() const
{
    const QList<QTreeWidgetItem*> selected = m_pSongs->selectedItems();
    if (selected.isEmpty())
        return QString();
    return selected.first()->data(kTitle, kTitleRole).toString();
}

void CRecentlyPlayedPanel::CopySelectedTitle()
{
    const QString strTitle = SelectedTitle();
    if (!strTitle.isEmpty())
        QGuiApplication::clipboard()->setText(strTitle);
}

void CRecentlyPlayedPanel::SearchSelectedOnWeb()
{
    const QString strTitle = SelectedTitle();
    if (!strTitle.isEmpty() && m_opener)
        m_opener(WebSearchUrl(strTitle));
}

QUrl CRecentlyPlayedPanel::WebSearchUrl(const QString& strSong)
{
    QUrl url{QString::fromLatin1(kWebSearchAddress)};
    QUrlQuery query;
    query.addQueryItem(QLatin1String(kWebSearchQuery), QString::fromLatin1(QUrl::toPercentEncoding(strSong)));
    url.setQuery(query);
    return url;
}
