#include "platform/webview/WebEngineView.h"

#include "platform/webview/GuardedWebPage.h"

#include <QFileInfo>
#include <QLibraryInfo>
#include <QVBoxLayout>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace {
constexpr char kHelperProcessName[] = "QtWebEngineProcess";
constexpr char kHelperProcessVariable[] = "QTWEBENGINEPROCESS_PATH";
}

bool IsWebViewAvailable()
{
    const QString overridden = qEnvironmentVariable(kHelperProcessVariable);
    if (!overridden.isEmpty())
        return QFileInfo(overridden).isExecutable();
    const QString helper = QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath) + '/' + kHelperProcessName;
    return QFileInfo(helper).isExecutable();
}

CWebView* CreateWebView(const CWebView::Options& options, QWidget* pParent)
{
    return new CWebEngineView(options, pParent);
}

CWebEngineView::CWebEngineView(const Options& options, QWidget* pParent)
    : CWebView(pParent)
    , m_pView(new QWebEngineView(this))
{
    auto* pPage = new CGuardedWebPage(options.links, m_pView);
    pPage->settings()->setAttribute(QWebEngineSettings::ShowScrollBars, options.bScrollBars);
    m_pView->setPage(pPage);
    m_pView->setContextMenuPolicy(Qt::NoContextMenu);

    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->addWidget(m_pView);

    connect(m_pView, &QWebEngineView::loadFinished, this, &CWebView::LoadFinished);
    connect(pPage, &CGuardedWebPage::OutsideLinkRequested, this, &CWebView::OutsideLinkRequested);
}

void CWebEngineView::Navigate(const QUrl& url)
{
    m_pView->setUrl(url);
}

void CWebEngineView::Reload()
{
    m_pView->reload();
}

QUrl CWebEngineView::Url() const
{
    return m_pView->url();
}
