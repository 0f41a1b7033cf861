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
constexpr char kTimeColumn[] = "Time";
constexpr char kChannelColumn[] = "Channel";
constexpr char kTitleColumn[] = "Title";
constexpr char kNoHistory[] = "The songs heard cannot be kept: %1";
constexpr char kTimeFormat[] = "ddd hh:mm";
constexpr char kWebSearchAddress[] = "https://duckduckgo.com/";
constexpr char kWebSearchQuery[] = "q";

enum Column { kTime, kChannel, kTitle };
constexpr int kTitleRole = Qt::UserRole;
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
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->addLayout(pTop);
    pLayout->addWidget(m_pMessage);
    pLayout->addWidget(m_pSongs, 1);

    connect(m_pSearch, &QLineEdit::textChanged, this, &CRecentlyPlayedPanel::ApplyFilter);
    connect(m_pSongs, &QTreeWidget::itemSelectionChanged, this, &CRecentlyPlayedPanel::RefreshButtons);
    connect(m_pCopy, &QPushButton::clicked, this, &CRecentlyPlayedPanel::CopySelectedTitle);
    connect(m_pWebSearch, &QPushButton::clicked, this, &CRecentlyPlayedPanel::SearchSelectedOnWeb);
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

void CRecentlyPlayedPanel::Refresh()
{
    m_pSongs->clear();
    if (m_pHistory == nullptr || !m_pHistory->IsAvailable()) {
        m_pMessage->setText(QString::fromLatin1(kNoHistory).arg(m_pHistory ? m_pHistory->ErrorText() : QString()));
        m_pMessage->show();
        RefreshButtons();
        return;
    }
    m_pMessage->hide();
    QList<QTreeWidgetItem*> items;
    for (const SongHistoryEntry& song : m_pHistory->RecentSongs()) {
        // Item texts are never read as markup; tips would be.
        auto* pItem = new QTreeWidgetItem;
        pItem->setText(kTime, song.started.toLocalTime().toString(QLatin1String(kTimeFormat)));
        pItem->setText(kChannel, song.strChannel);
        pItem->setText(kTitle, song.strTitle);
        pItem->setToolTip(kTitle, PlainToolTip(song.strTitle));
        pItem->setToolTip(kChannel, PlainToolTip(song.strChannel));
        pItem->setData(kTitle, kTitleRole, song.strTitle.isEmpty() ? song.strChannel : song.strTitle);
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
