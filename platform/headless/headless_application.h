#pragma once

#include "platform/application.h"

namespace ixo::platform {

class HeadlessApplication : public Application {
 public:
  void SetListener(ApplicationListener*) override {}
  void RunMessageLoop() override {}
  void RequestTerminate() override { terminate_requested_ = true; }
  bool TerminateRequested() const override { return terminate_requested_; }

 private:
  bool terminate_requested_ = false;
};

}  // namespace ixo::platform
