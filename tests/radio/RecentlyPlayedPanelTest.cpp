// The "Recently Played" panel over a real history file: newest first, a
// search over titles and channels, the chosen title copied or looked up on
// the web, station text shown as it is, never as markup.
#include "platform/history/SongHistory.h"
#include "radio/RecentlyPlayedPanel.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QUrlQuery>
#include <gtest/gtest.h>

namespace {
const QDateTime kMorning = QDateTime(QDate(2024, 5, 1), QTime(8, 0), Qt::UTC);
const QString kMarkupTitle = QStringLiteral("<b>Loud</b> & <img src=\"x.png\"> - Song");

class RecentlyPlayedPanelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_pHistory = CreateSongHistory(m_folder.filePath(QStringLiteral("h.db")));
        ASSERT_TRUE(m_pHistory->IsAvailable());
        m_pHistory->AddSong(QStringLiteral("Jazz FM"), QStringLiteral("Miles Davis - So What"), kMorning);
        m_pHistory->AddSong(QStringLiteral("Rock Radio"), kMarkupTitle, kMorning.addSecs(300));
        m_pHistory->AddSong(QStringLiteral("Talk Now"), QString(), kMorning.addSecs(600));
    }

    QTreeWidget& Songs(CRecentlyPlayedPanel& panel) { return *panel.findChild<QTreeWidget*>(); }

    QStringList VisibleTitles(CRecentlyPlayedPanel& panel)
    {
        QStringList titles;
        QTreeWidget& songs = Songs(panel);
        for (int i = 0; i < songs.topLevelItemCount(); ++i) {
            if (!songs.topLevelItem(i)->isHidden())
                titles.append(songs.topLevelItem(i)->text(2));
        }
        return titles;
    }

    void Choose(CRecentlyPlayedPanel& panel, int nRow)
    {
        Songs(panel).clearSelection();
        Songs(panel).topLevelItem(nRow)->setSelected(true);
    }

    QTemporaryDir m_folder;
    std::unique_ptr<ISongHistory> m_pHistory;
};

TEST_F(RecentlyPlayedPanelTest, ListsTheSongsNewestFirstAndSearchesTitlesAndChannels)
{
    CRecentlyPlayedPanel panel(m_pHistory.get());
    EXPECT_EQ(VisibleTitles(panel), QStringList({QString(), kMarkupTitle, QStringLiteral("Miles Davis - So What")}));
    EXPECT_EQ(Songs(panel).topLevelItem(0)->text(1), QStringLiteral("Talk Now"));

    auto* pSearch = panel.findChild<QLineEdit*>();
    pSearch->setText(QStringLiteral("miles"));
    EXPECT_EQ(VisibleTitles(panel), QStringList({QStringLiteral("Miles Davis - So What")}));
    pSearch->setText(QStringLiteral("ROCK"));
    EXPECT_EQ(VisibleTitles(panel), QStringList({kMarkupTitle}));
    pSearch->clear();
    EXPECT_EQ(VisibleTitles(panel).size(), 3);

    // A song heard later shows once the panel reads the history again.
    m_pHistory->AddSong(QStringLiteral("Jazz FM"), QStringLiteral("Newest"), kMorning.addSecs(900));
    panel.Refresh();
    EXPECT_EQ(VisibleTitles(panel).first(), QStringLiteral("Newest"));
}

TEST_F(RecentlyPlayedPanelTest, CopiesAndLooksUpTheChosenTitleAsTheStationSentIt)
{
    CRecentlyPlayedPanel panel(m_pHistory.get());
    QList<QUrl> opened;
    panel.SetUrlOpener([&opened](const QUrl& url) {
        opened.append(url);
        return true;
    });
    Choose(panel, 1);
    panel.CopySelectedTitle();
    EXPECT_EQ(QApplication::clipboard()->text(), kMarkupTitle);
    panel.SearchSelectedOnWeb();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0].scheme(), QStringLiteral("https"));
    EXPECT_EQ(QUrlQuery(opened[0]).queryItemValue(QStringLiteral("q"), QUrl::FullyDecoded), kMarkupTitle)
        << qPrintable(opened[0].toString());
    // Its tip is escaped, so that it shows the markup as text too.
    EXPECT_NE(Songs(panel).topLevelItem(1)->toolTip(2), kMarkupTitle);
    EXPECT_TRUE(Songs(panel).topLevelItem(1)->toolTip(2).contains(QStringLiteral("&lt;b&gt;")));

    // A station without titles: its channel stands for the song.
    Choose(panel, 0);
    panel.CopySelectedTitle();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("Talk Now"));
}

TEST_F(RecentlyPlayedPanelTest, SavesTheChosenSongOnlyWhileItCanBeSavedAndSaysWhyNot)
{
    CRecentlyPlayedPanel panel(m_pHistory.get());
    QPushButton* pSave = nullptr;
    for (QPushButton* pButton : panel.findChildren<QPushButton*>())
        pSave = pButton->text() == QStringLiteral("Save Song") ? pButton : pSave;
    ASSERT_NE(pSave, nullptr);
    EXPECT_FALSE(pSave->isEnabled()) << "no song chosen";

    // Only Jazz FM's songs are held, as long as the test says so.
    bool bHeld = true;
    QList<SongHistoryEntry> saved;
    panel.SetSongSaving(
        [&bHeld](const SongHistoryEntry& song) {
            if (song.strChannel == QStringLiteral("Jazz FM") && bHeld)
                return CRecentlyPlayedPanel::SaveOffer{true, QStringLiteral("Save it")};
            return CRecentlyPlayedPanel::SaveOffer{false, QStringLiteral("Not kept: <b>gone</b>")};
        },
        [&saved](const SongHistoryEntry& song) { saved.append(song); });

    Choose(panel, 2);
    EXPECT_TRUE(pSave->isEnabled());
    EXPECT_EQ(pSave->toolTip(), QStringLiteral("Save it"));
    pSave->click();
    ASSERT_EQ(saved.size(), 1);
    EXPECT_EQ(saved[0].strTitle, QStringLiteral("Miles Davis - So What"));
    EXPECT_EQ(saved[0].started, kMorning);

    Choose(panel, 1);
    EXPECT_FALSE(pSave->isEnabled());
    EXPECT_TRUE(pSave->toolTip().contains(QStringLiteral("&lt;b&gt;gone"))) << "the reason, as plain text";
    panel.SaveSelectedSong();
    EXPECT_EQ(saved.size(), 1);

    // The buffer moves on: the button follows once asked again.
    Choose(panel, 2);
    bHeld = false;
    panel.RefreshButtons();
    EXPECT_FALSE(pSave->isEnabled());
    panel.SaveSelectedSong();
    EXPECT_EQ(saved.size(), 1);
}

TEST_F(RecentlyPlayedPanelTest, WithoutAHistoryItSaysWhy)
{
    const auto pBroken = CreateSongHistory(m_folder.filePath(QStringLiteral("missing/h.db")));
    CRecentlyPlayedPanel panel(pBroken.get());
    panel.show();
    EXPECT_EQ(Songs(panel).topLevelItemCount(), 0);
    bool bSaid = false;
    for (QLabel* pLabel : panel.findChildren<QLabel*>())
        bSaid = bSaid || (pLabel->isVisible() && pLabel->text().contains(QStringLiteral("cannot be kept")));
    EXPECT_TRUE(bSaid);
}
}
