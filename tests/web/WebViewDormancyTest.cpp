// The web view over the real engine: a page hidden for a while gives its
// renderer back, and comes back by itself when shown again.
#include "../player/PlayerTestSupport.h"
#include "StationServer.h"

#include "platform/webview/WebView.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

constexpr int kLoadTimeoutMs = 20000;
// Hidden views give their renderer back soon, so that the test need not
// wait the program's half minute.
constexpr int kDormantAfterMs = 1000;
const CWebView::Options kOptions{.nDormantAfterMs = kDormantAfterMs};

// The processes this process started, and theirs: the engine's helpers.
int CountDescendants(qint64 pid)
{
    int nFound = 0;
    for (const QString& task :
         QDir(QStringLiteral("/proc/%1/task").arg(pid)).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile children(QStringLiteral("/proc/%1/task/%2/children").arg(pid).arg(task));
        if (!children.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& child : children.readAll().split(' ')) {
            if (!child.trimmed().isEmpty())
                nFound += 1 + CountDescendants(child.trimmed().toLongLong());
        }
    }
    return nFound;
}

int CountHelpers()
{
    return CountDescendants(QCoreApplication::applicationPid());
}

TEST(WebViewDormancyTest, AHiddenPageEndsItsRendererAndLoadsAgainWhenShown)
{
    StationServer server;
    ASSERT_TRUE(server.Start()) << qPrintable(server.Error());
    QWidget window;
    auto* pLayout = new QVBoxLayout(&window);
    const std::unique_ptr<CWebView> pView = CreateWebView(kOptions, &window);
    pLayout->addWidget(pView.get());
    window.resize(640, 480);

    QSignalSpy loads(pView.get(), &CWebView::LoadFinished);
    pView->Navigate(QUrl(server.MusicBaseUrl() + "/"));
    QTest::qWait(500);
    EXPECT_FALSE(pView->HasPage()) << "no engine before the view is seen";
    EXPECT_EQ(server.CountRequests("/"), 0);

    window.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !loads.isEmpty(); }, kLoadTimeoutMs));
    EXPECT_TRUE(loads.first().first().toBool());
    EXPECT_EQ(server.CountRequests("/"), 1);
    const int nAwake = CountHelpers();

    window.hide();
    EXPECT_TRUE(QTest::qWaitFor([&] { return CountHelpers() < nAwake; }, kDormantAfterMs + kLoadTimeoutMs))
        << "the renderer ends while nobody sees the page: " << nAwake << " helpers before";

    window.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return server.CountRequests("/") == 2; }, kLoadTimeoutMs))
        << "the page loads again when seen";
    EXPECT_EQ(pView->Url().toString(), server.MusicBaseUrl() + "/");
}

TEST(WebViewDormancyTest, APageTheReaderTypedIntoKeepsWhatWasTyped)
{
    CFixedPagesServer pages;
    ASSERT_TRUE(pages.Start());
    pages.Serve("/form.html", "text/html",
                "<input id='song' autofocus style='width:100%' oninput='document.title=this.value'>");
    pages.Serve("/plain.html", "text/html", "<p>Nothing to type into.</p>");
    QWidget typedWindow;
    QWidget plainWindow;
    const std::unique_ptr<CWebView> pTyped = CreateWebView(kOptions, &typedWindow);
    const std::unique_ptr<CWebView> pPlain = CreateWebView(kOptions, &plainWindow);
    for (QWidget* pWindow : {&typedWindow, &plainWindow}) {
        (new QVBoxLayout(pWindow))->addWidget(pWindow->findChild<CWebView*>());
        pWindow->resize(480, 320);
    }
    QSignalSpy typedLoads(pTyped.get(), &CWebView::LoadFinished);
    QSignalSpy plainLoads(pPlain.get(), &CWebView::LoadFinished);
    pTyped->Navigate(pages.Url("/form.html"));
    pPlain->Navigate(pages.Url("/plain.html"));
    plainWindow.show();
    typedWindow.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !typedLoads.isEmpty() && !plainLoads.isEmpty(); }, kLoadTimeoutMs));

    // The reader clicks into the form and types, as the window system
    // delivers clicks and keys.
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&typedWindow));
    const QPoint field(100, 18);
    QWidget* pTarget = pTyped->childAt(field);
    ASSERT_NE(pTarget, nullptr);
    QTest::mouseClick(pTarget, Qt::LeftButton, {}, pTarget->mapFrom(pTyped.get(), field));
    QTest::keyClicks(pTarget, QStringLiteral("my song"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return pTyped->Title() == QLatin1String("my song"); }, kLoadTimeoutMs));

    typedWindow.hide();
    plainWindow.hide();
    // The untouched page sleeps when its time is up; by then the typed one's
    // has come too.
    ASSERT_TRUE(QTest::qWaitFor([&] { return pPlain->IsDormant(); }, kDormantAfterMs + kLoadTimeoutMs));
    EXPECT_FALSE(pTyped->IsDormant());
    typedWindow.show();
    EXPECT_EQ(pTyped->Title(), QLatin1String("my song"));
    EXPECT_EQ(pages.RequestedPaths().count("/form.html"), 1) << "the typed page was loaded again";
}

}
