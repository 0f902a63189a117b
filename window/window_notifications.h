// Routes the window system's notifications to the engine windows' handlers: one
// listener per window (knowing its index) and one for the application.
#pragma once

#include "platform/application.h"
#include "platform/window_system.h"

namespace ixo {

class EngineWindows;

class WindowNotifications : public platform::WindowListener {
 public:
  WindowNotifications(EngineWindows& windows, int index) : windows_(windows), index_(index) {}

  void OnMouseDown(platform::MouseButton button, platform::Point position) override;
  void OnMouseMove(platform::Point position) override;
  void OnMouseUp(platform::MouseButton button, platform::Point position) override;
  void OnDoubleClick(platform::Point position) override;
  void OnWheel(bool up) override;
  void OnKeyDown(int virtual_key) override;
  void OnKeyPress(unsigned char character) override;
  void OnKeyUp(int virtual_key) override;
  void OnPaint() override;
  void OnMoved() override;
  void OnResized() override;
  void OnActivation(bool active) override;
  void OnCloseRequest() override;
  void OnPrivateMessage(uint32_t number, uint64_t first, uint64_t second) override;

 private:
  EngineWindows& windows_;
  int index_;
};

class ApplicationNotifications : public platform::ApplicationListener {
 public:
  explicit ApplicationNotifications(EngineWindows& windows) : windows_(windows) {}

  platform::IdleAnswer OnIdle() override;
  void OnException(std::string_view message) override;
  void OnActivation(bool active) override;
  void OnMinimize() override;
  void OnRestore() override;
  bool OnShutdownQuery() override;
  void OnShutdown() override;
  void OnWorkAreaChanged() override;
  void OnDisplayChanged() override;

 private:
  EngineWindows& windows_;
};

}  // namespace ixo
