#pragma once

#include <QString>
#include <cstdint>
#include <memory>

// One running instance per user: the first process takes a per-user lock and
// makes itself findable under the program's name; a later one finds it, hands
// it a window message or asks it to come to the front, and ends.

// A request the running instance answers on its own event loop.
class IInstanceReceiver
{
public:
    virtual ~IInstanceReceiver() = default;
    // A window message for the main window; the answer goes back to the sender.
    virtual std::intptr_t OnInstanceMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
    // Show the main window and make it the active window, with the
    // activation token the later start was given by its launcher (empty
    // when it had none): the desktop lets a window come to the front only
    // with a token from the user's action.
    virtual void OnShowAndActivate(const QString& strActivationToken) = 0;
};

// The running instance another process found.
class IRunningInstance
{
public:
    virtual ~IRunningInstance() = default;
    // Delivers the message and waits for the answer. While the running
    // instance is still starting, the connection is tried again until the
    // sender's deadline. False when no answer came by then (it is gone or
    // hangs); the running instance then drops the request unanswered.
    virtual bool SendMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                             std::intptr_t* pResult = nullptr) = 0;
    // Asks it to show and activate its main window, handing it the
    // activation token this process was started with, and waits until it
    // has.
    virtual bool ShowAndActivate(const QString& strActivationToken) = 0;
};

enum class InstanceClaim {
    Listening,  // this process is the running instance, and later starts find it
    HeldByAnother,  // another process is the running instance
    NotFindable,  // this process is the running instance, but later starts cannot reach it
};

class IInstanceService
{
public:
    virtual ~IInstanceService() = default;

    virtual bool IsAvailable() const = 0;
    // Makes this process the user's running instance unless another one is:
    // takes the per-user lock first, then, holding it, clears a socket a
    // killed instance left and listens there. Requests reach pReceiver on
    // the calling thread's event loop.
    [[nodiscard]] virtual InstanceClaim Claim(IInstanceReceiver* pReceiver) = 0;
    // The instance that holds the claim; null when this process holds it.
    [[nodiscard]] virtual std::unique_ptr<IRunningInstance> FindRunningInstance() = 0;
    // Stops listening and gives the claim up.
    virtual void StopListening() = 0;
};

// The service under strName (the application title) for the current user.
std::unique_ptr<IInstanceService> CreateInstanceService(const QString& strName);
