#include "fw/CMFCVisualManager.h"

#include <QApplication>

CMFCVisualManager::CMFCVisualManager()
    : m_look(LookFromPalette(QApplication::palette()))
{
}

CMFCVisualManager* CMFCVisualManager::GetInstance()
{
    static CMFCVisualManager* pInstance = new CMFCVisualManager;
    return pInstance;
}

void CMFCVisualManager::SetLook(const CMFCVisualLook& look)
{
    m_look = look;
    QApplication::setPalette(look.palette);
    emit LookChanged();
}

CMFCVisualLook CMFCVisualManager::LookFromPalette(const QPalette& palette)
{
    CMFCVisualLook look;
    look.palette = palette;
    look.caption = palette.color(QPalette::Window).darker(115);
    look.captionText = palette.color(QPalette::WindowText);
    look.ribbon.tabRow = look.caption;
    look.ribbon.tabText = palette.color(QPalette::WindowText);
    look.ribbon.panelBackground = palette.color(QPalette::Window).lighter(106);
    look.ribbon.panelCaption = palette.color(QPalette::Window);
    look.ribbon.text = palette.color(QPalette::WindowText);
    look.ribbon.accent = palette.color(QPalette::Highlight);
    return look;
}
