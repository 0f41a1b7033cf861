#pragma once

#include "fw/ribbon/CMFCRibbonButton.h"

#include <QPixmap>

// The round button at the left end of the ribbon's tab row. A press and a
// double-click call the virtual handlers; the framework opens nothing.
class CMFCRibbonApplicationButton : public CMFCRibbonButton
{
public:
    CMFCRibbonApplicationButton();

    void SetImage(const QPixmap& image);
    const QPixmap& GetImage() const { return m_image; }

    virtual void OnLButtonDown(CPoint point);
    virtual void OnLButtonDblClk(CPoint point);

protected:
    QWidget* CreateWidget(QWidget* pParent) override;
    void UpdateWidget() override;

private:
    QPixmap m_image;
};
