#include "fw/CCmdTarget.h"

#include "fw/CCmdUI.h"

BOOL CCmdTarget::OnCmdMsg(UINT nID, CCmdUI* pCmdUI)
{
    return DispatchOwnCommand(nID, pCmdUI);
}

BOOL CCmdTarget::DispatchOwnCommand(UINT nID, CCmdUI* pCmdUI)
{
    if (pCmdUI != nullptr) {
        for (const UpdateEntry& entry : m_updates) {
            if (nID >= entry.nFirst && nID <= entry.nLast) {
                entry.handler(pCmdUI);
                return TRUE;
            }
        }
        // A command with a handler but no update handler is simply enabled.
        for (const CommandEntry& entry : m_commands) {
            if (nID >= entry.nFirst && nID <= entry.nLast) {
                pCmdUI->Enable(TRUE);
                return TRUE;
            }
        }
        return FALSE;
    }
    for (const CommandEntry& entry : m_commands) {
        if (nID >= entry.nFirst && nID <= entry.nLast) {
            entry.handler(nID);
            return TRUE;
        }
    }
    return FALSE;
}

void CCmdTarget::AddCommand(UINT nFirst, UINT nLast, std::function<void(UINT)> handler)
{
    m_commands.push_back({nFirst, nLast, std::move(handler)});
}

void CCmdTarget::AddUpdate(UINT nFirst, UINT nLast, std::function<void(CCmdUI*)> handler)
{
    m_updates.push_back({nFirst, nLast, std::move(handler)});
}
