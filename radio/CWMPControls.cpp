#include "radio/CWMPControls.h"

#include "radio/CWMPPlayer4.h"

CWMPControls::CWMPControls(CWMPPlayer4* pPlayer)
    : m_pPlayer(pPlayer)
{
}

void CWMPControls::play()
{
    if (m_pPlayer)
        m_pPlayer->Resume();
}

void CWMPControls::pause()
{
    if (m_pPlayer)
        m_pPlayer->Pause();
}

void CWMPControls::stop()
{
    if (m_pPlayer)
        m_pPlayer->Stop();
}
