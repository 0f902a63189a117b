#include "platform/headless/virtual_desktop.h"

#include <algorithm>
#include <cstring>
#include <exception>

namespace ixo::platform {

namespace {

// Virtual keys that name the left/right twins of a generic modifier.
bool IsTwinOf(int generic_key, int key) {
  switch (generic_key) {
    case 0x10: return key == 0xA0 || key == 0xA1;
    case 0x11: return key == 0xA2 || key == 0xA3;
    case 0x12: return key == 0xA4 || key == 0xA5;
    default: return false;
  }
}

}  // namespace

namespace {

// A virtual window keeps at most this many bytes of what it shows.
constexpr size_t kMaxKeptPixelBytes = size_t{64} << 20;

}  // namespace

VirtualDesktop::VirtualDesktop(VirtualClock& clock, Size screen) : clock_(clock), screen_(screen) {}

VirtualWindow* VirtualDesktop::Find(WindowId id) {
  auto found = windows_.find(id);
  return found == windows_.end() ? nullptr : &found->second;
}

const VirtualWindow* VirtualDesktop::window(WindowId id) const {
  auto found = windows_.find(id);
  return found == windows_.end() ? nullptr : &found->second;
}

WindowId VirtualDesktop::CreateWindow(WindowListener& listener) {
  WindowId id = next_window_id_++;
  VirtualWindow& window = windows_[id];
  window.id = id;
  window.listener = &listener;
  stacking_.push_back(id);
  return id;
}

void VirtualDesktop::DestroyWindow(WindowId id) {
  if (!windows_.erase(id)) return;
  std::erase(stacking_, id);
  paint_pending_.erase(id);
  if (focus_ == id) focus_ = 0;
  if (pointer_grab_ == id) pointer_grab_ = 0;
}

void VirtualDesktop::BringToFront(WindowId id) {
  std::erase(stacking_, id);
  // Topmost windows stay above the others.
  const bool topmost = Find(id)->style.topmost;
  auto position = std::find_if(stacking_.begin(), stacking_.end(), [&](WindowId other) {
    return topmost || !windows_.at(other).style.topmost;
  });
  stacking_.insert(position, id);
}

void VirtualDesktop::Show(WindowId id) {
  VirtualWindow* window = Find(id);
  if (!window || window->visible) return;
  window->visible = true;
  BringToFront(id);
  paint_pending_.insert(id);
}

void VirtualDesktop::Hide(WindowId id) {
  if (VirtualWindow* window = Find(id)) window->visible = false;
}

bool VirtualDesktop::IsVisible(WindowId id) {
  VirtualWindow* window = Find(id);
  return window && window->visible;
}

Rect VirtualDesktop::Bounds(WindowId id) {
  VirtualWindow* window = Find(id);
  return window ? window->bounds : Rect{};
}

void VirtualDesktop::SetBounds(WindowId id, Rect bounds) {
  VirtualWindow* window = Find(id);
  if (!window) return;
  bounds = WithinWindowExtents(bounds);
  const Rect before = window->bounds;
  window->bounds = bounds;
  if (before.width != bounds.width || before.height != bounds.height) {
    // What the window showed is gone; the next paint brings it back.
    window->pixels.clear();
    paint_pending_.insert(id);
  }
  // The window system reports moves and sizes while the call is made.
  WindowListener* listener = window->listener;
  if (before.left != bounds.left || before.top != bounds.top) listener->OnMoved();
  if (Find(id) && (before.width != bounds.width || before.height != bounds.height)) listener->OnResized();
}

void VirtualDesktop::SetStyle(WindowId id, WindowStyle style) {
  if (VirtualWindow* window = Find(id)) {
    window->style = style;
    BringToFront(id);
  }
}

void VirtualDesktop::PlaceBehindTopmost(WindowId id) {
  if (!Find(id)) return;
  std::erase(stacking_, id);
  auto position = std::find_if(stacking_.begin(), stacking_.end(),
                               [&](WindowId other) { return !windows_.at(other).style.topmost; });
  stacking_.insert(position, id);
}

void VirtualDesktop::SetFocus(WindowId id) {
  VirtualWindow* window = Find(id);
  if (window && !window->style.no_activate) focus_ = id;
}

void VirtualDesktop::Present(WindowId id, PixelView picture) {
  VirtualWindow* window = Find(id);
  if (!window) return;
  const int width = std::min(picture.width, window->bounds.width);
  const int height = std::min(picture.height, window->bounds.height);
  if (width <= 0 || height <= 0) return;
  // The window's pixels are kept as large as the window only as far as a
  // picture can be: a window far larger than any picture keeps none.
  const size_t row_bytes = static_cast<size_t>(window->bounds.width) * 3;
  const size_t size = row_bytes * static_cast<size_t>(window->bounds.height);
  if (size > kMaxKeptPixelBytes) return;
  if (window->pixels.size() != size) window->pixels.assign(size, 0);
  for (int y = 0; y < height; ++y)
    std::memcpy(window->pixels.data() + y * row_bytes, picture.pixels + y * picture.stride,
                static_cast<size_t>(width) * 3);
}

void VirtualDesktop::Invalidate(WindowId id) {
  if (Find(id)) paint_pending_.insert(id);
}

void VirtualDesktop::RepaintScreenArea(Rect area) {
  for (auto& [id, window] : windows_) {
    const Rect& b = window.bounds;
    bool overlaps = b.left < area.left + area.width && area.left < b.left + b.width &&
                    b.top < area.top + area.height && area.top < b.top + b.height;
    if (window.visible && overlaps) paint_pending_.insert(id);
  }
}

Rect VirtualDesktop::ScreenRect(const VirtualWindow& window) const {
  Rect rect = window.bounds;
  // A child's place counts from its parent's client area.
  for (const VirtualWindow* parent = this->window(window.parent); parent; parent = this->window(parent->parent)) {
    rect.left += parent->bounds.left;
    rect.top += parent->bounds.top;
  }
  return rect;
}

bool VirtualDesktop::Takes(const VirtualWindow& window, Point position) const {
  for (const VirtualWindow* w = &window; w; w = this->window(w->parent))
    if (!w->visible) return false;
  const Rect rect = ScreenRect(window);
  if (!rect.Contains(position)) return false;
  if (!window.shape) return true;
  // Outside its shape a window is a hole.
  const Point client{position.x - rect.left, position.y - rect.top};
  return std::any_of(window.shape->begin(), window.shape->end(), [&](const Rect& r) { return r.Contains(client); });
}

WindowHit VirtualDesktop::WindowAt(Point position) {
  // Children lie above their parents: a hit on one is a control of the parent too.
  for (WindowId id : stacking_) {
    const VirtualWindow& window = windows_.at(id);
    if (window.parent && Takes(window, position)) return {id, true, false};
  }
  for (WindowId id : stacking_) {
    const VirtualWindow& window = windows_.at(id);
    if (!window.parent && Takes(window, position)) return {id, true, false};
  }
  return {};
}

void VirtualDesktop::PostPrivateMessage(WindowId window, uint32_t number, uint64_t first, uint64_t second) {
  posted_.push_back({window, number, first, second});
}

TimerId VirtualDesktop::StartTimer(uint32_t interval_ms, std::function<void()> on_tick) {
  TimerId id = next_timer_id_++;
  // A timer of 0 ms still waits for the loop to come round: 1 ms at least.
  uint32_t interval = std::max<uint32_t>(interval_ms, 1);
  timers_[id] = {interval, clock_.elapsed_ms() + interval, std::move(on_tick)};
  return id;
}

void VirtualDesktop::StopTimer(TimerId timer) { timers_.erase(timer); }

bool VirtualDesktop::IsButtonDown(MouseButton button) { return buttons_down_.contains(button); }

bool VirtualDesktop::IsKeyDown(int key) {
  if (key == 0x01) return IsButtonDown(MouseButton::kLeft);
  if (key == 0x02) return IsButtonDown(MouseButton::kRight);
  if (key == 0x04) return IsButtonDown(MouseButton::kMiddle);
  if (keys_down_.contains(key)) return true;
  return std::any_of(keys_down_.begin(), keys_down_.end(), [&](int held) { return IsTwinOf(key, held); });
}

Point VirtualDesktop::ClientPosition(const VirtualWindow& window) const {
  const Rect rect = ScreenRect(window);
  return {pointer_.x - rect.left, pointer_.y - rect.top};
}

// Calls into the engine as the window system's dispatcher does: an exception
// that escapes goes to the application's hook and the loop goes on.
template <typename Deliver>
void VirtualDesktop::DeliverToWindow(WindowId id, Deliver deliver) {
  VirtualWindow* window = Find(id);
  if (!window) return;
  try {
    deliver(*window);
  } catch (const std::exception& error) {
    if (application_listener_) application_listener_->OnException(error.what());
  }
}

void VirtualDesktop::MovePointer(Point position) {
  pointer_ = position;
  WindowId target = pointer_grab_ ? pointer_grab_ : WindowAt(position).window;
  DeliverToWindow(target, [&](VirtualWindow& w) { w.listener->OnMouseMove(ClientPosition(w)); });
  RunIdle();
}

void VirtualDesktop::PressButton(MouseButton button) {
  buttons_down_.insert(button);
  WindowId target = pointer_grab_ ? pointer_grab_ : WindowAt(pointer_).window;
  pointer_grab_ = target;
  DeliverToWindow(target, [&](VirtualWindow& w) { w.listener->OnMouseDown(button, ClientPosition(w)); });
  RunIdle();
}

void VirtualDesktop::ReleaseButton(MouseButton button) {
  buttons_down_.erase(button);
  WindowId target = pointer_grab_ ? pointer_grab_ : WindowAt(pointer_).window;
  if (buttons_down_.empty()) pointer_grab_ = 0;
  DeliverToWindow(target, [&](VirtualWindow& w) { w.listener->OnMouseUp(button, ClientPosition(w)); });
  RunIdle();
}

void VirtualDesktop::DoubleClick() {
  DeliverToWindow(WindowAt(pointer_).window, [&](VirtualWindow& w) { w.listener->OnDoubleClick(ClientPosition(w)); });
  RunIdle();
}

void VirtualDesktop::TurnWheel(bool up) {
  DeliverToWindow(WindowAt(pointer_).window, [&](VirtualWindow& w) { w.listener->OnWheel(up); });
  RunIdle();
}

void VirtualDesktop::PressKey(int virtual_key, unsigned char character) {
  keys_down_.insert(virtual_key);
  WindowId target = focus_;
  DeliverToWindow(target, [&](VirtualWindow& w) { w.listener->OnKeyDown(virtual_key); });
  if (character) DeliverToWindow(target, [&](VirtualWindow& w) { w.listener->OnKeyPress(character); });
  RunIdle();
}

void VirtualDesktop::ReleaseKey(int virtual_key) {
  keys_down_.erase(virtual_key);
  DeliverToWindow(focus_, [&](VirtualWindow& w) { w.listener->OnKeyUp(virtual_key); });
  RunIdle();
}

void VirtualDesktop::RequestClose(WindowId id) {
  DeliverToWindow(id, [](VirtualWindow& w) { w.listener->OnCloseRequest(); });
  RunIdle();
}

void VirtualDesktop::SendActivation(WindowId id, bool active) {
  DeliverToWindow(id, [&](VirtualWindow& w) { w.listener->OnActivation(active); });
  RunIdle();
}

std::vector<WindowId> VirtualDesktop::StackingOrder() const {
  std::vector<WindowId> visible;
  for (WindowId id : stacking_)
    if (windows_.at(id).visible) visible.push_back(id);
  return visible;
}

bool VirtualDesktop::DispatchPending() {
  bool any = false;
  while (!posted_.empty()) {
    PostedMessage message = posted_.front();
    posted_.pop_front();
    DeliverToWindow(message.window, [&](VirtualWindow& w) {
      w.listener->OnPrivateMessage(message.number, message.first, message.second);
    });
    any = true;
  }
  while (!paint_pending_.empty()) {
    WindowId id = *paint_pending_.begin();
    paint_pending_.erase(paint_pending_.begin());
    DeliverToWindow(id, [](VirtualWindow& w) { w.listener->OnPaint(); });
    any = true;
  }
  return any;
}

bool VirtualDesktop::FireDueTimer() {
  const uint64_t now = clock_.elapsed_ms();
  auto due = timers_.end();
  for (auto it = timers_.begin(); it != timers_.end(); ++it)
    if (it->second.due_ms <= now && (due == timers_.end() || it->second.due_ms < due->second.due_ms)) due = it;
  if (due == timers_.end()) return false;
  // Re-armed before the tick runs: the tick may stop or restart its own timer.
  due->second.due_ms = now + due->second.interval_ms;
  std::function<void()> on_tick = due->second.on_tick;
  ++ticks_fired_;
  try {
    on_tick();
  } catch (const std::exception& error) {
    if (application_listener_) application_listener_->OnException(error.what());
  }
  return true;
}

void VirtualDesktop::RunIdle() {
  DispatchPending();
  while (application_listener_ && !terminate_requested_) {
    IdleAnswer answer = application_listener_->OnIdle();
    DispatchPending();
    // In virtual time a continuous idle would see nothing change before the next
    // timer; once per pass is all it needs.
    if (answer != IdleAnswer::kRunAgain) break;
  }
}

std::optional<uint64_t> VirtualDesktop::NextTimerDue() const {
  std::optional<uint64_t> next;
  for (const auto& [id, timer] : timers_)
    if (!next || timer.due_ms < *next) next = timer.due_ms;
  return next;
}

void VirtualDesktop::RunFor(std::optional<uint64_t> run_for_ms) {
  const uint64_t deadline = run_for_ms ? clock_.elapsed_ms() + *run_for_ms : UINT64_MAX;
  RunIdle();
  while (!terminate_requested_) {
    while (!terminate_requested_ && FireDueTimer()) RunIdle();
    if (terminate_requested_) break;
    std::optional<uint64_t> next = NextTimerDue();
    // Nothing is scheduled: without input nothing can happen any more, so the
    // time asked for passes at once.
    if (!next || *next > deadline) {
      if (deadline == UINT64_MAX) break;
      clock_.Advance(deadline - clock_.elapsed_ms());
      break;
    }
    clock_.Advance(*next - clock_.elapsed_ms());
  }
}

}  // namespace ixo::platform
