#pragma once

#include <QWidget>

class CMFCRibbonApplicationButton;

// The round application button: its image on a disc in the look's accent
// colour. Presses and double-clicks go to the button's handlers.
class RibbonApplicationButtonWidget : public QWidget
{
    Q_OBJECT

public:
    RibbonApplicationButtonWidget(CMFCRibbonApplicationButton* pButton, QWidget* pParent);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void enterEvent(QEnterEvent* pEvent) override;
    void leaveEvent(QEvent* pEvent) override;

private:
    CMFCRibbonApplicationButton* m_pButton;
    bool m_bHover = false;
};
