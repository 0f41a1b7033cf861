#pragma once

#include <QWidget>

class CMFCRibbonStatusBarPane;

// A status pane on screen: the pane's text, cut short with an ellipsis when
// it is wider than the pane, and the pane's description as its tooltip.
class RibbonStatusPaneWidget : public QWidget
{
    Q_OBJECT

public:
    RibbonStatusPaneWidget(CMFCRibbonStatusBarPane* pPane, QWidget* pParent);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;

private:
    CMFCRibbonStatusBarPane* m_pPane;
};
