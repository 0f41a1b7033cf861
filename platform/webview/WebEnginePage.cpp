#include "platform/webview/WebEnginePage.h"

#include "platform/webview/GuardedWebPage.h"

#include <QVBoxLayout>
#include <QWebEngineSettings>
#include <QWebEngineView>

CWebEnginePage::CWebEnginePage(const WebPageOptions& options, IWebPageClient& client, QWidget* pParent)
    : QWidget(pParent)
    , m_pView(new QWebEngineView(this))
    , m_pPage(new CGuardedWebPage(options.links, m_pView))
{
    m_pPage->settings()->setAttribute(QWebEngineSettings::ShowScrollBars, options.bScrollBars);
    m_pView->setPage(m_pPage);
    m_pView->setContextMenuPolicy(Qt::NoContextMenu);

    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->addWidget(m_pView);

    connect(m_pPage, &QWebEnginePage::loadFinished, this, [&client](bool bOk) { client.OnLoadFinished(bOk); });
    connect(m_pPage, &QWebEnginePage::titleChanged, this,
            [&client](const QString& strTitle) { client.OnTitleChanged(strTitle); });
    connect(m_pPage, &CGuardedWebPage::OutsideLinkRequested, this,
            [&client](const QUrl& url) { client.OnOutsideLinkRequested(url); });
}

void CWebEnginePage::Navigate(const QUrl& url)
{
    m_pPage->setUrl(url);
}

void CWebEnginePage::Reload()
{
    m_pPage->triggerAction(QWebEnginePage::Reload);
}

QUrl CWebEnginePage::Url() const
{
    return m_pPage->url();
}

QString CWebEnginePage::Title() const
{
    return m_pPage->title();
}

void CWebEnginePage::SetDormant(bool bDormant)
{
    // A discarded page has no renderer; made active again it loads anew.
    m_pPage->setLifecycleState(bDormant ? QWebEnginePage::LifecycleState::Discarded
                                        : QWebEnginePage::LifecycleState::Active);
}
