#include "window/window_notifications.h"

#include "window/engine_windows.h"
#include "window/window_input.h"
#include "window/window_messages.h"

namespace ixo {

void WindowNotifications::OnMouseDown(platform::MouseButton button, platform::Point position) {
  HandleMouseDown(windows_, index_, button, position);
}
void WindowNotifications::OnMouseMove(platform::Point position) { HandleMouseMove(windows_, index_, position); }
void WindowNotifications::OnMouseUp(platform::MouseButton button, platform::Point position) {
  HandleMouseUp(windows_, index_, button, position);
}
void WindowNotifications::OnDoubleClick(platform::Point) { HandleDoubleClick(windows_, index_); }
void WindowNotifications::OnWheel(bool up) { HandleWheel(windows_, index_, up); }
void WindowNotifications::OnKeyDown(int virtual_key) { HandleKeyDown(windows_, index_, virtual_key); }
void WindowNotifications::OnKeyPress(unsigned char character) { HandleKeyPress(windows_, index_, character); }
void WindowNotifications::OnKeyUp(int virtual_key) { HandleKeyUp(windows_, index_, virtual_key); }
void WindowNotifications::OnPaint() { PaintWindow(windows_, index_); }
void WindowNotifications::OnMoved() { HandleMoved(windows_, index_); }
void WindowNotifications::OnResized() { HandleResized(windows_, index_); }
void WindowNotifications::OnActivation(bool active) { HandleActivation(windows_, index_, active); }
void WindowNotifications::OnCloseRequest() { HandleCloseRequest(windows_, index_); }
void WindowNotifications::OnPrivateMessage(uint32_t number, uint64_t first, uint64_t second) {
  HandlePrivateMessage(windows_, index_, number, first, second);
}

platform::IdleAnswer ApplicationNotifications::OnIdle() { return IdleProcessing(windows_); }
void ApplicationNotifications::OnException(std::string_view message) { HandleException(windows_, message); }
void ApplicationNotifications::OnActivation(bool active) { HandleApplicationActivation(windows_, active); }
void ApplicationNotifications::OnMinimize() { HandleMinimize(windows_); }
void ApplicationNotifications::OnRestore() { HandleRestore(windows_); }
bool ApplicationNotifications::OnShutdownQuery() { return HandleShutdownQuery(windows_); }
void ApplicationNotifications::OnShutdown() { HandleShutdown(windows_); }
void ApplicationNotifications::OnWorkAreaChanged() { HandleWorkAreaChanged(windows_); }
void ApplicationNotifications::OnDisplayChanged() { HandleDisplayChanged(windows_); }

}  // namespace ixo
