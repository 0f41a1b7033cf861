#include "platform/webview/WebView.h"

#include "platform/webview/WebEngineModule.h"

#include <QApplication>
#include <QEvent>
#include <QVBoxLayout>

namespace {
// What counts as the reader's own input on a page. Events the window system
// delivers are spontaneous; a page's script makes none of these.
bool IsReadersInput(const QEvent& event)
{
    if (!event.spontaneous())
        return false;
    switch (event.type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::TouchBegin:
        return true;
    default:
        return false;
    }
}
}

CWebView::CWebView(const Options& options, QWidget* pParent)
    : QWidget(pParent)
    , m_options(options)
{
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    m_dormancyTimer.setSingleShot(true);
    m_dormancyTimer.setInterval(options.nDormantAfterMs);
    connect(&m_dormancyTimer, &QTimer::timeout, this, [this] {
        // What the reader typed into a page would be lost with its renderer.
        if (m_pPage != nullptr && !isVisible() && !m_bUserInput) {
            m_bDormant = true;
            m_pPage->SetDormant(true);
        }
    });
}

CWebView::~CWebView()
{
    qApp->removeEventFilter(this);
    // The page reports to this view, so it goes first.
    m_pPage.reset();
}

void CWebView::Navigate(const QUrl& url)
{
    m_requestedUrl = url;
    m_bUserInput = false;
    if (m_pPage == nullptr)
        return;
    m_bNavigating = true;
    m_pPage->Navigate(url);
}

void CWebView::Reload()
{
    if (m_pPage != nullptr && !m_bNavigating)
        m_pPage->Reload();
}

QUrl CWebView::Url() const
{
    return m_pPage != nullptr ? m_pPage->Url() : m_requestedUrl;
}

QString CWebView::Title() const
{
    return m_pPage != nullptr ? m_pPage->Title() : QString();
}

void CWebView::showEvent(QShowEvent* pEvent)
{
    QWidget::showEvent(pEvent);
    m_dormancyTimer.stop();
    if (m_pPage != nullptr && m_bDormant) {
        m_bDormant = false;
        m_pPage->SetDormant(false);
    }
}

void CWebView::paintEvent(QPaintEvent* pEvent)
{
    QWidget::paintEvent(pEvent);
    // Loading the engine takes a while: the window is painted first, and the
    // page is made once that paint has gone out.
    if (m_pPage == nullptr && !m_bPageScheduled) {
        m_bPageScheduled = true;
        QTimer::singleShot(0, this, [this] {
            m_bPageScheduled = false;
            if (m_pPage == nullptr && isVisible())
                CreatePage();
        });
    }
}

void CWebView::hideEvent(QHideEvent* pEvent)
{
    QWidget::hideEvent(pEvent);
    if (m_pPage != nullptr && !m_bDormant)
        m_dormancyTimer.start();
}

bool CWebView::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (IsReadersInput(*pEvent)) {
        auto* pWidget = qobject_cast<QWidget*>(pWatched);
        if (pWidget != nullptr && isAncestorOf(pWidget)) {
            m_bUserInput = true;
            m_outsideLinks.NoteUserInput();
        }
    }
    return QWidget::eventFilter(pWatched, pEvent);
}

void CWebView::CreatePage()
{
    IWebEngineBackend* pBackend = WebEngineModule::Backend();
    if (pBackend == nullptr)
        return;
    m_pPage = pBackend->CreatePage(m_options, *this, this);
    // The engine makes and remakes the widgets that take the page's input
    // as it likes; the application sees every event on its way to them.
    qApp->installEventFilter(this);
    layout()->addWidget(m_pPage->Widget());
    if (!m_requestedUrl.isEmpty())
        Navigate(m_requestedUrl);
}

void CWebView::OnLoadFinished(bool bOk)
{
    m_bNavigating = false;
    emit LoadFinished(bOk);
}

void CWebView::OnTitleChanged(const QString& strTitle)
{
    emit TitleChanged(strTitle);
}

void CWebView::OnOutsideLinkRequested(const QUrl& url)
{
    if (m_outsideLinks.MayLeave())
        emit OutsideLinkRequested(url);
}

bool CWebView::IsAvailable()
{
    return WebEngineModule::IsInstalled();
}

std::unique_ptr<CWebView> CreateWebView(const CWebView::Options& options, QWidget* pParent)
{
    return std::make_unique<CWebView>(options, pParent);
}
