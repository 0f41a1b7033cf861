#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

class CMFCRibbonBar;

// The top of the ribbon: the caption row (the frame's title and its
// minimise, maximise and close buttons, when the ribbon draws the frame's
// caption) and the tab row (the application button at the left, a tab per
// category, the tab row's elements at the right). Dragging the caption
// moves the window. A click on a tab asks the ribbon to activate its
// category; a double-click on a tab minimises or restores the ribbon.
class RibbonHeader : public QWidget
{
    Q_OBJECT

public:
    explicit RibbonHeader(CMFCRibbonBar* pBar);

    void SetApplicationButtonWidget(QWidget* pButton, QSize size);
    void AddTabElementWidget(QWidget* pElement);
    void SetCaptionShown(bool bShown);
    void WatchWindow(QWidget* pWindow);

    int CaptionHeight() const;
    int TabsHeight() const;
    // The tab of category nIndex, in this widget's coordinates.
    QRect TabRect(int nIndex) const;
    int TabAt(const QPoint& point) const;
    // The caption's close button, in this widget's coordinates; empty while
    // the ribbon does not draw the caption or the frame has no close button.
    QRect CloseButtonRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void leaveEvent(QEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    enum class CaptionButton {
        None,
        Minimize,
        Maximize,
        Close,
    };

    QList<CaptionButton> CaptionButtons() const;
    QRect CaptionButtonRect(int nIndex) const;
    CaptionButton CaptionButtonAt(const QPoint& point) const;
    void PaintCaptionButton(QPainter& painter, CaptionButton button, const QRect& rect) const;
    int TabsLeft() const;
    int TabsRight() const;
    void Relayout();

    CMFCRibbonBar* m_pBar;
    QPointer<QWidget> m_pApplicationButton;
    QSize m_applicationButtonSize;
    QList<QPointer<QWidget>> m_tabElements;
    QPointer<QWidget> m_pWindow;
    bool m_bCaptionShown = false;
    int m_nHoverTab = -1;
    CaptionButton m_hoverButton = CaptionButton::None;
    CaptionButton m_pressedButton = CaptionButton::None;
};
