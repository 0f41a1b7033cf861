#pragma once

#include <QWidget>

class QHBoxLayout;
class QVBoxLayout;

// A ribbon panel on screen: its elements in columns and its name in a strip
// at the foot. A large element takes a column of its own; small elements
// fill columns of three from the top.
class RibbonPanelWidget : public QWidget
{
    Q_OBJECT

public:
    RibbonPanelWidget(const QString& strName, QWidget* pParent);

    void AddElementWidget(QWidget* pElement, bool bLarge);
    QString GetName() const { return m_strName; }

    static int CaptionHeight();
    // Wide enough for its elements and for its name.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* pEvent) override;

private:
    QString m_strName;
    QHBoxLayout* m_pColumns;
    QVBoxLayout* m_pSmallColumn = nullptr;
};
