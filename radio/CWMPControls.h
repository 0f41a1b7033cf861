#pragma once

#include <QPointer>

class CWMPPlayer4;

// The player's transport controls, handed out by CWMPPlayer4::GetControls
// for a call or two. It does nothing once its player is gone.
class CWMPControls
{
public:
    explicit CWMPControls(CWMPPlayer4* pPlayer);

    void play();
    void pause();
    void stop();

private:
    QPointer<CWMPPlayer4> m_pPlayer;
};
