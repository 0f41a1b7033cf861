// Text from a station or from the station list, full of markup, goes through
// every place that shows such text: it reads as written, no picture it names
// is ever opened, and no table it holds is laid out.

#include "frame/MainFrameTrayIcon.h"
#include "fw/CListCtrl.h"
#include "fw/CWnd.h"
#include "fw/MessageBox.h"
#include "fw/PlainText.h"
#include "fw/ribbon/CMFCRibbonStatusBar.h"
#include "fw/ribbon/CMFCRibbonStatusBarPane.h"
#include "radio/NowPlayingPanel.h"
#include "radio/PlayerTransportBar.h"

#include <QApplication>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocumentFragment>
#include <QTimer>
#include <QToolTip>
#include <QWindow>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace {

// Whether anyone opened or read a file since the watch began, told by the
// kernel rather than by any code of ours.
class FileOpenWatch
{
public:
    explicit FileOpenWatch(const QString& strPath)
        : m_nDescriptor(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        EXPECT_GE(inotify_add_watch(m_nDescriptor, QFile::encodeName(strPath).constData(), IN_OPEN | IN_ACCESS), 0);
    }
    ~FileOpenWatch() { close(m_nDescriptor); }
    FileOpenWatch(const FileOpenWatch&) = delete;
    FileOpenWatch& operator=(const FileOpenWatch&) = delete;

    bool Opened()
    {
        alignas(inotify_event) char buffer[4096];
        while (read(m_nDescriptor, buffer, sizeof buffer) > 0)
            m_bOpened = true;
        return m_bOpened;
    }

private:
    int m_nDescriptor;
    bool m_bOpened = false;
};

class PlainTextTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        m_strPicture = m_folder.filePath(QStringLiteral("picture.png"));
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(Qt::red);
        ASSERT_TRUE(picture.save(m_strPicture));
        m_strMarkup = QStringLiteral("<b>Now</b> <img src=\"file://%1\"><table>").arg(m_strPicture);
        for (int nRow = 0; nRow < 2000; ++nRow)
            m_strMarkup += QStringLiteral("<tr><td>cell</td><td>cell</td></tr>");
        m_strMarkup += QStringLiteral("</table>");
        m_pWatch = std::make_unique<FileOpenWatch>(m_strPicture);
    }

    void TearDown() override { QToolTip::hideText(); }

    // Shows widget's tooltip as a pointer resting on it would, and returns
    // what the tip reads.
    static QString ShownToolTip(QWidget* pWidget)
    {
        QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), pWidget->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(pWidget, &help);
        QLabel* pTip = nullptr;
        for (QWidget* pTop : QApplication::topLevelWidgets()) {
            if (pTop->inherits("QTipLabel") && pTop->isVisible())
                pTip = qobject_cast<QLabel*>(pTop);
        }
        if (pTip == nullptr)
            return QString();
        pTip->grab();
        return pTip->textFormat() == Qt::PlainText || !Qt::mightBeRichText(pTip->text())
            ? pTip->text()
            : QTextDocumentFragment::fromHtml(pTip->text()).toPlainText();
    }

    // The markup with its runs of white space made single, as a tip wraps it.
    QString Simplified() const { return m_strMarkup.simplified(); }

    QTemporaryDir m_folder;
    QString m_strPicture;
    QString m_strMarkup;
    std::unique_ptr<FileOpenWatch> m_pWatch;
};

TEST_F(PlainTextTest, TheHelperLeavesOrdinaryTextAloneAndEscapesMarkup)
{
    EXPECT_EQ(PlainToolTip(QStringLiteral("Playing: Song & Dance")), QStringLiteral("Playing: Song & Dance"));
    EXPECT_EQ(QTextDocumentFragment::fromHtml(PlainToolTip(m_strMarkup)).toPlainText(), Simplified());
    EXPECT_EQ(TextOfPlainWindowTitle(PlainWindowTitle(QStringLiteral("a [*] b [*][*]"))),
              QStringLiteral("a [*] b [*][*]"));
}

TEST_F(PlainTextTest, PlayerStatusLineAndItsTipReadAsWritten)
{
    CPlayerTransportBar bar;
    bar.resize(400, 40);
    bar.show();
    bar.SetStatus(m_strMarkup);
    auto* pStatus = bar.findChild<QLabel*>(QLatin1String(CPlayerTransportBar::kStatusName));
    ASSERT_NE(pStatus, nullptr);
    bar.grab();

    EXPECT_EQ(pStatus->textFormat(), Qt::PlainText);
    EXPECT_EQ(pStatus->text(), m_strMarkup);
    EXPECT_EQ(ShownToolTip(pStatus), Simplified());
    EXPECT_FALSE(m_pWatch->Opened());
}

TEST_F(PlainTextTest, NowPlayingTitleAndStationReadAsWritten)
{
    CNowPlayingPanel panel;
    panel.resize(400, 200);
    panel.show();
    panel.SetTitle(m_strMarkup, m_strMarkup);
    panel.grab();

    EXPECT_EQ(panel.Title(), m_strMarkup);
    for (QLabel* pLabel : panel.findChildren<QLabel*>())
        EXPECT_EQ(pLabel->textFormat(), Qt::PlainText);
    EXPECT_FALSE(m_pWatch->Opened());
}

TEST_F(PlainTextTest, StatusPaneTextAndTipReadAsWritten)
{
    CWnd frame;
    auto* pStatusBar = new CMFCRibbonStatusBar;
    ASSERT_TRUE(pStatusBar->Create(&frame));
    auto* pPane = new CMFCRibbonStatusBarPane(120, QStringLiteral("status"), TRUE);
    pStatusBar->AddElement(pPane, QStringLiteral("Status"));
    frame.resize(500, 100);
    frame.show();
    QCoreApplication::processEvents();
    pPane->SetText(m_strMarkup);
    pPane->SetDescription(m_strMarkup);
    pPane->Redraw();
    ASSERT_NE(pPane->GetWidget(), nullptr);
    frame.grab();

    EXPECT_EQ(ShownToolTip(pPane->GetWidget()), Simplified());
    EXPECT_FALSE(m_pWatch->Opened());
}

TEST_F(PlainTextTest, TrayTipReadsAsWritten)
{
    CWnd frame;
    CMainFrameTrayIcon icon(&frame);
    const auto shown = [&icon] {
        const QString strTip = icon.GetTip();
        return Qt::mightBeRichText(strTip) ? QTextDocumentFragment::fromHtml(strTip).toPlainText() : strTip;
    };
    const QString strMarkup = QStringLiteral("<b>Jazz</b> <img src=\"file://%1\">").arg(m_strPicture);
    icon.Add(strMarkup);
    EXPECT_EQ(shown(), strMarkup.simplified());
    icon.SetTip(QStringLiteral("<i>Rock</i> & <u>Roll</u>"));
    EXPECT_EQ(shown(), QStringLiteral("<i>Rock</i> & <u>Roll</u>"));
    // Cut first, so that no escape is cut in half.
    icon.SetTip(QStringLiteral("<b>") + QString(200, QLatin1Char('&')));
    EXPECT_EQ(shown(), QStringLiteral("<b>") + QString(CMainFrameTrayIcon::kMaxTipLength - 3, QLatin1Char('&')));
    icon.Remove();
}

TEST_F(PlainTextTest, ListTitlesAndCellsReadAsWritten)
{
    CListCtrl list;
    list.InsertColumn(0, m_strMarkup, LVCFMT_LEFT, 200);
    list.InsertColumn(1, QStringLiteral("Station"), LVCFMT_LEFT, 200);
    list.InsertItem(0, m_strMarkup);
    list.SetItemText(0, 1, m_strMarkup);
    list.resize(500, 300);
    list.show();
    list.grab();

    EXPECT_EQ(list.GetItemText(0, 0), m_strMarkup);
    EXPECT_EQ(list.GetItemText(0, 1), m_strMarkup);
    EXPECT_FALSE(m_pWatch->Opened());
}

TEST_F(PlainTextTest, MessageBoxReadsAsWritten)
{
    Qt::TextFormat shownFormat = Qt::AutoText;
    QString strShown;
    QTimer::singleShot(0, [&] {
        auto* pBox = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(pBox, nullptr);
        pBox->grab();
        shownFormat = pBox->textFormat();
        strShown = pBox->text();
        pBox->accept();
    });

    AfxMessageBox(m_strMarkup, MB_OK | MB_ICONINFORMATION);

    EXPECT_EQ(shownFormat, Qt::PlainText);
    EXPECT_EQ(strShown, m_strMarkup);
    EXPECT_FALSE(m_pWatch->Opened());
}

TEST_F(PlainTextTest, WindowTitleReadsAsWritten)
{
    const QString strTitle = QStringLiteral("Station [*] <b>Now</b>");
    CWnd window;
    window.show();
    window.SetWindowText(strTitle);
    ASSERT_NE(window.windowHandle(), nullptr);

    EXPECT_EQ(window.windowHandle()->title(), strTitle);
    EXPECT_EQ(window.GetWindowText(), strTitle);
}

}
