// The application as a whole: the message loop, idle time, the request to end,
// and the notifications that concern the whole program rather than one window.
#pragma once

#include <string_view>

namespace ixo::platform {

// What idle processing tells the message loop.
enum class IdleAnswer {
  kDone,         // nothing left: wait for the next message
  kRunAgain,     // more work is ready now: call idle again before waiting
  kKeepRunning,  // nothing ready, but the caller asked to be called continuously
};

class ApplicationListener {
 public:
  virtual ~ApplicationListener() = default;
  // Called whenever the loop has no message waiting.
  virtual IdleAnswer OnIdle() = 0;
  // An exception escaped a notification handler; the loop goes on.
  virtual void OnException(std::string_view message) = 0;
  virtual void OnActivation(bool active) = 0;
  virtual void OnMinimize() = 0;
  virtual void OnRestore() = 0;
  // The session is ending: the query returns whether the end may go ahead.
  virtual bool OnShutdownQuery() = 0;
  virtual void OnShutdown() = 0;
  virtual void OnWorkAreaChanged() = 0;
  virtual void OnDisplayChanged() = 0;
};

class Application {
 public:
  virtual ~Application() = default;
  virtual void SetListener(ApplicationListener* listener) = 0;
  // Dispatches messages, timers and idle time until termination is requested.
  virtual void RunMessageLoop() = 0;
  // Asks the message loop to end as soon as it runs; returns at once.
  virtual void RequestTerminate() = 0;
  virtual bool TerminateRequested() const = 0;
};

}  // namespace ixo::platform
