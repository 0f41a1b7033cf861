#include "fw/CListCtrl.h"
#include "fw/VirtualKeys.h"

#include <QApplication>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// One ItemChanged notification: row, old state, new state.
using Change = std::tuple<int, UINT, UINT>;

class CListCtrlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_list.resize(600, 300);
        m_list.InsertColumn(0, "Sr No", LVCFMT_LEFT, 50);
        m_list.InsertColumn(1, "Name", LVCFMT_CENTER, 150);
        m_list.InsertColumn(2, "Address", LVCFMT_LEFT, 0);
        for (int n = 0; n < 5; ++n) {
            m_list.InsertItem(n, QString::number(n + 1));
            m_list.SetItemText(n, 1, QString("Channel %1").arg(n));
            m_list.SetItemText(n, 2, QString("http://127.0.0.1/%1").arg(n));
        }
        m_spy.clear();
    }

    QTableView* View() { return m_list.findChild<QTableView*>(); }

    std::vector<Change> Changes()
    {
        std::vector<Change> changes;
        for (const QList<QVariant>& arguments : std::as_const(m_spy))
            changes.emplace_back(arguments[0].toInt(), arguments[1].toUInt(), arguments[2].toUInt());
        m_spy.clear();
        return changes;
    }

    void Show()
    {
        m_list.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_list));
        QApplication::processEvents();
    }

    CListCtrl m_list;
    QSignalSpy m_spy{&m_list, &CListCtrl::ItemChanged};
};

constexpr UINT kBoth = LVIS_SELECTED | LVIS_FOCUSED;

TEST_F(CListCtrlTest, ColumnsKeepTitleAlignmentAndWidthAndAZeroWidthColumnIsHidden)
{
    EXPECT_EQ(m_list.GetHeaderCtrl().GetItemCount(), 3);
    LVCOLUMN column;
    ASSERT_TRUE(m_list.GetColumn(1, column));
    EXPECT_EQ(column.strText, "Name");
    EXPECT_EQ(column.fmt, LVCFMT_CENTER);
    EXPECT_EQ(column.cx, 150);
    EXPECT_TRUE(View()->isColumnHidden(2));
    EXPECT_EQ(m_list.GetColumnWidth(2), 0);
    EXPECT_EQ(m_list.GetItemText(3, 2), "http://127.0.0.1/3");
    EXPECT_EQ(View()->model()->headerData(1, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>() &
                  Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);

    // A column inserted in the middle moves the later cells along.
    EXPECT_EQ(m_list.InsertColumn(1, "Genre", LVCFMT_RIGHT, 80), 1);
    EXPECT_EQ(m_list.GetItemText(4, 2), "Channel 4");
    EXPECT_EQ(m_list.GetItemText(4, 1), "");
    EXPECT_TRUE(View()->isColumnHidden(3));
    EXPECT_EQ(m_list.InsertColumn(99, "Last"), 4);
    EXPECT_EQ(m_list.InsertColumn(-1, "None"), -1);

    EXPECT_TRUE(m_list.DeleteColumn(1));
    EXPECT_FALSE(m_list.DeleteColumn(7));
    EXPECT_EQ(m_list.GetItemText(4, 1), "Channel 4");
    for (int n = m_list.GetHeaderCtrl().GetItemCount() - 1; n >= 0; --n)
        EXPECT_TRUE(m_list.DeleteColumn(n));
    EXPECT_EQ(m_list.GetHeaderCtrl().GetItemCount(), 0);
    EXPECT_EQ(m_list.GetItemCount(), 5);
}

TEST_F(CListCtrlTest, RowsAreInsertedAppendedAndDeleted)
{
    EXPECT_EQ(m_list.InsertItem(2, "new"), 2);
    EXPECT_EQ(m_list.GetItemText(2, 0), "new");
    EXPECT_EQ(m_list.GetItemText(2, 1), "");
    EXPECT_EQ(m_list.GetItemText(3, 1), "Channel 2");
    EXPECT_EQ(m_list.InsertItem(100, "end"), 6);
    EXPECT_EQ(m_list.InsertItem(-1, "none"), -1);
    EXPECT_EQ(m_list.GetItemCount(), 7);
    EXPECT_FALSE(m_list.SetItemText(7, 0, "x"));
    EXPECT_FALSE(m_list.SetItemText(0, 3, "x"));
    EXPECT_EQ(m_list.GetItemText(9, 0), "");
    EXPECT_TRUE(m_list.DeleteAllItems());
    EXPECT_EQ(m_list.GetItemCount(), 0);
    EXPECT_EQ(m_list.GetNextItem(-1, LVNI_ALL), -1);
}

TEST_F(CListCtrlTest, ARowIsInsertedWithAllItsTextsAtOnce)
{
    const QString strOdd = QStringView(u"a\0b", 3).toString() + QChar(0xFFFF) + QChar(0xD800);
    const QStringView texts[] = {u"new", strOdd, u"http://127.0.0.1/new", u"beyond the last column"};
    EXPECT_EQ(m_list.InsertItemTexts(2, texts), 2);
    EXPECT_EQ(m_list.GetItemText(2, 0), "new");
    EXPECT_EQ(m_list.GetItemText(2, 1), strOdd);
    EXPECT_EQ(m_list.GetItemText(2, 2), "http://127.0.0.1/new");
    EXPECT_EQ(m_list.GetItemText(2, 3), "");
    EXPECT_EQ(m_list.GetItemText(3, 1), "Channel 2");
    EXPECT_EQ(View()->model()->data(View()->model()->index(2, 1)).toString(), strOdd);

    const QStringView first[] = {u"end"};
    EXPECT_EQ(m_list.InsertItemTexts(100, first), 6);
    EXPECT_EQ(m_list.GetItemText(6, 0), "end");
    EXPECT_EQ(m_list.GetItemText(6, 2), "");
    EXPECT_EQ(m_list.InsertItemTexts(-1, first), -1);
    EXPECT_EQ(m_list.GetItemCount(), 7);
}

TEST_F(CListCtrlTest, TextsOfAnyLengthSurviveManyChangesAndColumnMoves)
{
    // Lengths on either side of the point where a row keeps a length in more units.
    const QList<qsizetype> lengths{0xFFFE, 0xFFFF, 0x10000, 200000};
    QList<QStringList> expected;
    for (int nRow = 0; nRow < 5; ++nRow)
        expected.append(
            {QString::number(nRow + 1), QString("Channel %1").arg(nRow), QString("http://127.0.0.1/%1").arg(nRow)});
    for (int nRow = 0; nRow < lengths.size(); ++nRow) {
        const QString strLong(lengths[nRow], QChar(u'a' + nRow));
        m_list.SetItemText(nRow, 1, strLong);
        expected[nRow][1] = strLong;
    }
    // Every row changed again and again, so that most of what the list has
    // stored is old text.
    for (int nRound = 0; nRound < 40; ++nRound) {
        for (int nRow = 0; nRow < m_list.GetItemCount(); ++nRow) {
            const QString strText = QString("round %1 row %2 ").arg(nRound).arg(nRow).repeated(nRound % 7);
            m_list.SetItemText(nRow, (nRound + nRow) % 3 == 1 ? 2 : 0, strText);
            expected[nRow][(nRound + nRow) % 3 == 1 ? 2 : 0] = strText;
        }
    }
    auto shown = [this](int nColumns) {
        QList<QStringList> rows;
        for (int nRow = 0; nRow < m_list.GetItemCount(); ++nRow) {
            QStringList cells;
            for (int nColumn = 0; nColumn < nColumns; ++nColumn)
                cells << m_list.GetItemText(nRow, nColumn);
            rows << cells;
        }
        return rows;
    };
    EXPECT_EQ(shown(3), expected);

    m_list.InsertColumn(0, "First");
    for (QStringList& row : expected)
        row.prepend(QString());
    EXPECT_EQ(shown(4), expected);
    m_list.DeleteColumn(2);
    for (QStringList& row : expected)
        row.removeAt(2);
    EXPECT_EQ(shown(3), expected);
}

TEST_F(CListCtrlTest, AppendedRowsReachTheViewInOneBatchAndAreUsableAtOnce)
{
    QSignalSpy inserted(View()->model(), &QAbstractItemModel::rowsInserted);
    QApplication::processEvents();
    ASSERT_EQ(View()->model()->rowCount(), 5);
    inserted.clear();
    for (int n = 5; n < 1000; ++n)
        m_list.InsertItem(n, QString::number(n + 1));
    EXPECT_EQ(m_list.GetItemCount(), 1000);
    EXPECT_EQ(inserted.count(), 0);
    QApplication::processEvents();
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_EQ(View()->model()->rowCount(), 1000);

    // A row that the view has not heard of yet can be selected at once.
    m_list.InsertItem(1000, "1001");
    EXPECT_TRUE(m_list.SetItemState(1000, kBoth, kBoth));
    EXPECT_EQ(m_list.GetNextItem(-1, LVNI_SELECTED), 1000);
    EXPECT_EQ(Changes(), std::vector<Change>({{1000, 0u, kBoth}}));
}

TEST_F(CListCtrlTest, SetItemStateReportsEachChangedRowOnceLosersFirst)
{
    EXPECT_TRUE(m_list.SetItemState(1, kBoth, kBoth));
    EXPECT_EQ(Changes(), std::vector<Change>({{1, 0u, kBoth}}));
    EXPECT_EQ(m_list.GetNextItem(-1, LVNI_SELECTED), 1);
    EXPECT_EQ(m_list.GetNextItem(1, LVNI_SELECTED), -1);
    EXPECT_EQ(m_list.GetNextItem(-1, LVNI_FOCUSED), 1);
    EXPECT_EQ(m_list.GetSelectionMark(), 1);
    EXPECT_EQ(m_list.GetItemState(1, kBoth), kBoth);

    // Single selection: selecting row 3 takes selection and focus from row 1.
    EXPECT_TRUE(m_list.SetItemState(3, kBoth, kBoth));
    EXPECT_EQ(Changes(), std::vector<Change>({{1, kBoth, 0u}, {3, 0u, kBoth}}));
    EXPECT_EQ(m_list.GetSelectedCount(), 1u);

    // The same state again changes nothing.
    EXPECT_TRUE(m_list.SetItemState(3, kBoth, kBoth));
    EXPECT_TRUE(Changes().empty());

    // Only the bits in the mask change.
    EXPECT_TRUE(m_list.SetItemState(0, LVIS_FOCUSED, LVIS_FOCUSED));
    EXPECT_EQ(Changes(), std::vector<Change>({{3, kBoth, LVIS_SELECTED}, {0, 0u, LVIS_FOCUSED}}));
    EXPECT_TRUE(m_list.SetItemState(3, 0, LVIS_SELECTED));
    EXPECT_EQ(Changes(), std::vector<Change>({{3, LVIS_SELECTED, 0u}}));
    EXPECT_EQ(m_list.GetNextItem(-1, LVNI_SELECTED), -1);
    EXPECT_TRUE(m_list.SetItemState(-1, 0, kBoth));
    EXPECT_EQ(Changes(), std::vector<Change>({{0, LVIS_FOCUSED, 0u}}));
    EXPECT_FALSE(m_list.SetItemState(5, kBoth, kBoth));
}

TEST_F(CListCtrlTest, DeletingRowsReportsNothingAndForgetsTheSelection)
{
    m_list.SetItemState(2, kBoth, kBoth);
    Changes();
    m_list.InsertItem(0, "first");
    EXPECT_EQ(m_list.GetNextItem(-1, LVNI_SELECTED), 3);
    m_list.DeleteAllItems();
    QApplication::processEvents();
    EXPECT_TRUE(Changes().empty());
    EXPECT_EQ(m_list.GetNextItem(-1, LVNI_SELECTED), -1);
    EXPECT_EQ(m_list.GetSelectionMark(), -1);
}

TEST_F(CListCtrlTest, AClickSelectsAndFocusesTheRowInOneNotification)
{
    Show();
    // Taking the keyboard focus may focus a row, but never selects one.
    for (const Change& change : Changes())
        EXPECT_EQ(std::get<2>(change) & LVIS_SELECTED, 0u);
    QTableView* pView = View();
    const QRect row = pView->visualRect(pView->model()->index(2, 1));
    ASSERT_TRUE(row.isValid());
    QTest::mouseClick(pView->viewport(), Qt::LeftButton, {}, row.center());
    QApplication::processEvents();
    const std::vector<Change> changes = Changes();
    ASSERT_FALSE(changes.empty());
    EXPECT_EQ(changes.back(), Change(2, 0u, kBoth));
    EXPECT_EQ(
        std::count_if(changes.begin(), changes.end(), [](const Change& change) { return std::get<0>(change) == 2; }),
        1);
    // Clicking the row that is already selected and focused changes nothing.
    QTest::mouseClick(pView->viewport(), Qt::LeftButton, {}, row.center());
    QApplication::processEvents();
    EXPECT_TRUE(Changes().empty());
}

TEST_F(CListCtrlTest, KeysAreReportedAsVirtualKeysAndArrowsMoveTheSelection)
{
    Show();
    QSignalSpy keys(&m_list, &CListCtrl::KeyDown);
    m_list.SetItemState(0, kBoth, kBoth);
    Changes();
    QTest::keyClick(View(), Qt::Key_F9);
    QTest::keyClick(View(), Qt::Key_F8);
    QTest::keyClick(View(), Qt::Key_Down);
    QApplication::processEvents();
    ASSERT_EQ(keys.count(), 3);
    EXPECT_EQ(keys[0][0].toUInt(), VK_F9);
    EXPECT_EQ(keys[1][0].toUInt(), VK_F8);
    EXPECT_EQ(keys[2][0].toUInt(), VK_DOWN);
    EXPECT_EQ(VK_F8, 0x77u);
    EXPECT_EQ(VK_F9, 0x78u);
    EXPECT_EQ(Changes(), std::vector<Change>({{0, kBoth, 0u}, {1, 0u, kBoth}}));
}

TEST_F(CListCtrlTest, EnsureVisibleScrollsTheRowIntoView)
{
    for (int n = 5; n < 500; ++n)
        m_list.InsertItem(n, QString::number(n + 1));
    Show();
    QTableView* pView = View();
    const QModelIndex last = pView->model()->index(499, 0);
    EXPECT_FALSE(pView->viewport()->rect().intersects(pView->visualRect(last)));
    EXPECT_TRUE(m_list.EnsureVisible(499, FALSE));
    EXPECT_TRUE(pView->viewport()->rect().contains(pView->visualRect(last)));
    EXPECT_FALSE(m_list.EnsureVisible(500, FALSE));
}

TEST_F(CListCtrlTest, GridLinesFollowTheExtendedStyle)
{
    EXPECT_FALSE(View()->showGrid());
    EXPECT_EQ(m_list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT), 0u);
    EXPECT_TRUE(View()->showGrid());
    EXPECT_EQ(m_list.GetExtendedStyle(), 0x21u);
    m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
    EXPECT_FALSE(View()->showGrid());
}

}
