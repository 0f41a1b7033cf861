#pragma once

#include "fw/Types.h"

#include <functional>
#include <vector>

class CCmdUI;

// Anything that can handle commands: a table of command and update-UI
// handlers, filled by the owner's constructor. OnCmdMsg is the hook that
// frames and views override to route a command on to other targets.
class CCmdTarget
{
public:
    CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;
    virtual ~CCmdTarget() = default;

    // Runs the command nID (pCmdUI null) or asks for its update-UI state.
    // Returns TRUE when this target or one on its route handled it.
    virtual BOOL OnCmdMsg(UINT nID, CCmdUI* pCmdUI);

protected:
    // The target's own table, without routing.
    BOOL DispatchOwnCommand(UINT nID, CCmdUI* pCmdUI);

    template <class T>
    void MapCommand(UINT nID, void (T::*handler)())
    {
        AddCommand(nID, nID, [this, handler](UINT) { (static_cast<T*>(this)->*handler)(); });
    }
    template <class T>
    void MapCommandRange(UINT nFirst, UINT nLast, void (T::*handler)(UINT))
    {
        AddCommand(nFirst, nLast, [this, handler](UINT nID) { (static_cast<T*>(this)->*handler)(nID); });
    }
    template <class T>
    void MapUpdateCommandUI(UINT nID, void (T::*handler)(CCmdUI*))
    {
        AddUpdate(nID, nID, [this, handler](CCmdUI* pCmdUI) { (static_cast<T*>(this)->*handler)(pCmdUI); });
    }
    template <class T>
    void MapUpdateCommandUIRange(UINT nFirst, UINT nLast, void (T::*handler)(CCmdUI*))
    {
        AddUpdate(nFirst, nLast, [this, handler](CCmdUI* pCmdUI) { (static_cast<T*>(this)->*handler)(pCmdUI); });
    }

    void AddCommand(UINT nFirst, UINT nLast, std::function<void(UINT)> handler);
    void AddUpdate(UINT nFirst, UINT nLast, std::function<void(CCmdUI*)> handler);

private:
    struct CommandEntry {
        UINT nFirst;
        UINT nLast;
        std::function<void(UINT)> handler;
    };
    struct UpdateEntry {
        UINT nFirst;
        UINT nLast;
        std::function<void(CCmdUI*)> handler;
    };
    std::vector<CommandEntry> m_commands;
    std::vector<UpdateEntry> m_updates;
};
