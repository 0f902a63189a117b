// The application as a whole: the message loop and the request to end it.
#pragma once

namespace ixo::platform {

class Application {
 public:
  virtual ~Application() = default;
  // Asks the message loop to end as soon as it runs; returns at once.
  virtual void RequestTerminate() = 0;
  virtual bool TerminateRequested() const = 0;
};

}  // namespace ixo::platform
