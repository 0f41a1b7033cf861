#pragma once

#include <QString>
#include <cstdint>
#include <memory>

// One running instance per user: the first process makes itself findable
// under the program's name; a later one finds it, hands it a window message
// or asks it to come to the front, and ends.

// A request the running instance answers on its own event loop.
class IInstanceReceiver
{
public:
    virtual ~IInstanceReceiver() = default;
    // A window message for the main window; the answer goes back to the sender.
    virtual std::intptr_t OnInstanceMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
    // Show the main window and make it the active window.
    virtual void OnShowAndActivate() = 0;
};

// The running instance another process found.
class IRunningInstance
{
public:
    virtual ~IRunningInstance() = default;
    // Delivers the message and waits for the answer. False when the running
    // instance did not answer in time (it is gone or hangs).
    virtual bool SendMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                             std::intptr_t* pResult = nullptr) = 0;
    // Asks it to show and activate its main window and waits until it has.
    virtual bool ShowAndActivate() = 0;
};

class IInstanceService
{
public:
    virtual ~IInstanceService() = default;

    virtual bool IsAvailable() const = 0;
    // The instance listening under this service's name, or null when none does.
    virtual std::unique_ptr<IRunningInstance> FindRunningInstance() = 0;
    // Makes this process the one others find. Requests reach pReceiver on
    // the calling thread's event loop. False when another live process
    // already listens under the name or the name cannot be taken.
    virtual bool Listen(IInstanceReceiver* pReceiver) = 0;
    virtual void StopListening() = 0;
};

// The service under strName (the application title) for the current user.
std::unique_ptr<IInstanceService> CreateInstanceService(const QString& strName);
