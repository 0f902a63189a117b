#include "platform/desktop/gtk_desktop.h"

#include <gdk/gdkx.h>
#include <glib-unix.h>
#include <gtk/gtk.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <exception>

#include "engine/script_charset.h"
#include "platform/desktop/key_map.h"
#include "platform/desktop/native_window.h"

namespace ixo::platform {

GtkDesktop::NativeWindow::~NativeWindow() {
  if (picture) cairo_surface_destroy(picture);
  if (status_icon) {
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    gtk_status_icon_set_visible(status_icon, FALSE);
    G_GNUC_END_IGNORE_DEPRECATIONS
    g_signal_handlers_disconnect_by_data(status_icon, this);
    g_object_unref(status_icon);
  }
  if (balloon) g_object_unref(balloon);
}

void RemapWindow(GtkDesktop::NativeWindow& window, const std::function<void()>& change_while_unmapped) {
  const bool mapped = gtk_widget_get_mapped(window.widget);
  if (mapped) gtk_widget_hide(window.widget);
  change_while_unmapped();
  if (!mapped) return;
  gtk_window_move(GTK_WINDOW(window.widget), window.bounds.left, window.bounds.top);
  gtk_widget_show(window.widget);
}

std::vector<unsigned long> CardinalProperty(_XDisplay* display, unsigned long window, const char* name,
                                            unsigned long type) {
  Atom actual_type = None;
  int actual_format = 0;
  unsigned long count = 0, remaining = 0;
  unsigned char* data = nullptr;
  std::vector<unsigned long> values;
  gdk_x11_display_error_trap_push(gdk_display_get_default());
  const int status = XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 4096, False, type,
                                        &actual_type, &actual_format, &count, &remaining, &data);
  gdk_x11_display_error_trap_pop_ignored(gdk_display_get_default());
  if (status == Success && data && actual_type == type && actual_format == 32) {
    // Xlib hands 32-bit items over in longs.
    const unsigned long* items = reinterpret_cast<const unsigned long*>(data);
    values.assign(items, items + count);
  }
  if (data) XFree(data);
  return values;
}

struct GtkDesktop::Timer {
  GtkDesktop* desktop = nullptr;
  TimerId id = 0;
  std::function<void()> on_tick;
};

namespace {

MouseButton ButtonOf(guint button) {
  return button == 3 ? MouseButton::kRight : button == 2 ? MouseButton::kMiddle : MouseButton::kLeft;
}

// The key code of a key event: from the key's unshifted symbol, so that shift
// and the keyboard layout's levels do not change it.
int VirtualKeyOf(const GdkEventKey* event) {
  guint keyval = event->keyval;
  GdkKeymap* keymap = gdk_keymap_get_for_display(gdk_display_get_default());
  guint unshifted = 0;
  if (gdk_keymap_translate_keyboard_state(keymap, event->hardware_keycode, static_cast<GdkModifierType>(0),
                                          event->group, &unshifted, nullptr, nullptr, nullptr))
    keyval = unshifted;
  return VirtualKeyOfKeysym(keyval);
}

// The character a key press types, as a script byte; 0 for none.
unsigned char CharacterOf(const GdkEventKey* event) {
  gunichar character = gdk_keyval_to_unicode(event->keyval);
  if (character == 0) return 0;
  // Control with a letter types the control character of that letter.
  if ((event->state & GDK_CONTROL_MASK) && character < 0x80 && g_ascii_isalpha(static_cast<gchar>(character)))
    return static_cast<unsigned char>(g_ascii_toupper(static_cast<gchar>(character)) & 0x1F);
  std::optional<unsigned char> byte = source::WindowsByteOf(character);
  return byte ? *byte : 0;
}

}  // namespace

// Notifications of one window. Each reads what it needs of the window before
// calling into the engine, which may destroy the window.
namespace window_signals {

using Native = GtkDesktop::NativeWindow;

gboolean OnButtonPress(GtkWidget*, GdkEventButton* event, gpointer data) {
  Native* window = static_cast<Native*>(data);
  if (!window->enabled) return TRUE;
  WindowListener* listener = window->listener;
  Point position{static_cast<int>(event->x), static_cast<int>(event->y)};
  if (event->button > 3) return TRUE;
  if (event->type == GDK_BUTTON_PRESS)
    window->desktop->Dispatch([&] { listener->OnMouseDown(ButtonOf(event->button), position); });
  else if (event->type == GDK_2BUTTON_PRESS && event->button == 1)
    window->desktop->Dispatch([&] { listener->OnDoubleClick(position); });
  return TRUE;
}

gboolean OnButtonRelease(GtkWidget*, GdkEventButton* event, gpointer data) {
  Native* window = static_cast<Native*>(data);
  if (!window->enabled) return TRUE;
  WindowListener* listener = window->listener;
  Point position{static_cast<int>(event->x), static_cast<int>(event->y)};
  if (event->button <= 3)
    window->desktop->Dispatch([&] { listener->OnMouseUp(ButtonOf(event->button), position); });
  return TRUE;
}

gboolean OnMotion(GtkWidget*, GdkEventMotion* event, gpointer data) {
  Native* window = static_cast<Native*>(data);
  if (!window->enabled) return TRUE;
  WindowListener* listener = window->listener;
  Point position{static_cast<int>(event->x), static_cast<int>(event->y)};
  window->desktop->Dispatch([&] { listener->OnMouseMove(position); });
  return TRUE;
}

gboolean OnScroll(GtkWidget*, GdkEventScroll* event, gpointer data) {
  Native* window = static_cast<Native*>(data);
  if (!window->enabled) return TRUE;
  WindowListener* listener = window->listener;
  bool up = event->direction == GDK_SCROLL_UP ||
            (event->direction == GDK_SCROLL_SMOOTH && event->delta_y < 0);
  bool down = event->direction == GDK_SCROLL_DOWN ||
              (event->direction == GDK_SCROLL_SMOOTH && event->delta_y > 0);
  if (up || down) window->desktop->Dispatch([&] { listener->OnWheel(up); });
  return TRUE;
}

gboolean OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer data) {
  Native* window = static_cast<Native*>(data);
  if (!window->enabled) return TRUE;
  GtkDesktop* desktop = window->desktop;
  WindowListener* listener = window->listener;
  const int virtual_key = VirtualKeyOf(event);
  const unsigned char character = CharacterOf(event);
  const WindowId id = window->id;
  if (virtual_key) desktop->Dispatch([&] { listener->OnKeyDown(virtual_key); });
  // The key down may have closed the window; the character goes to it only if not.
  if (character && desktop->IsVisible(id)) desktop->Dispatch([&] { listener->OnKeyPress(character); });
  return TRUE;
}

gboolean OnKeyRelease(GtkWidget*, GdkEventKey* event, gpointer data) {
  Native* window = static_cast<Native*>(data);
  if (!window->enabled) return TRUE;
  WindowListener* listener = window->listener;
  const int virtual_key = VirtualKeyOf(event);
  if (virtual_key) window->desktop->Dispatch([&] { listener->OnKeyUp(virtual_key); });
  return TRUE;
}

gboolean OnDraw(GtkWidget*, cairo_t* cr, gpointer data) {
  Native* window = static_cast<Native*>(data);
  // The engine paints from the back buffer: the picture is renewed, then shown.
  window->painting = true;
  WindowListener* listener = window->listener;
  window->desktop->Dispatch([&] { listener->OnPaint(); });
  window->painting = false;
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_paint(cr);
  if (window->picture) {
    cairo_set_source_surface(cr, window->picture, 0, 0);
    cairo_paint(cr);
  }
  return TRUE;
}

// How often an unconfirmed move or resize is asked for again.
constexpr int kRequestRetries = 3;

gboolean OnConfigure(GtkWidget*, GdkEventConfigure* event, gpointer data) {
  Native* window = static_cast<Native*>(data);
  const Rect before = window->bounds;
  // Places are read from the server as they are now: a top-level window's on
  // the screen (the event's own numbers can be relative to a window manager's
  // frame), a control's from its parent's client area.
  Point place{event->x, event->y};
  Display* display = gdk_x11_get_default_xdisplay();
  ::Window child = 0;
  if (!window->parent) {
    XTranslateCoordinates(display, window->id, DefaultRootWindow(display), 0, 0, &place.x, &place.y, &child);
  } else {
    XTranslateCoordinates(display, window->id, window->parent, 0, 0, &place.x, &place.y, &child);
    // Only the engine places a control: GTK still takes it for a top-level
    // window and may put it where it last saw it on the screen.
    if (place.x != before.left || place.y != before.top) {
      XMoveWindow(display, window->id, before.left, before.top);
      place = {before.left, before.top};
    }
  }
  // While a move or resize of the engine's is unconfirmed, an answer that does
  // not match it belongs to an earlier request (a window shown and then sized at
  // once): ask again rather than take it, a few times before giving in.
  if (window->requested) {
    const Rect& wanted = *window->requested;
    const bool matches = place.x == wanted.left && place.y == wanted.top &&
                         event->width == std::max(wanted.width, 1) && event->height == std::max(wanted.height, 1);
    if (matches || ++window->request_retries > kRequestRetries) {
      window->requested.reset();
    } else {
      gtk_window_move(GTK_WINDOW(window->widget), wanted.left, wanted.top);
      gtk_window_resize(GTK_WINDOW(window->widget), std::max(wanted.width, 1), std::max(wanted.height, 1));
      return FALSE;
    }
  }
  // A window of size 0 is shown 1×1: that is no resize.
  const bool resized = (event->width != std::max(before.width, 1) || event->height != std::max(before.height, 1));
  const bool moved = place.x != before.left || place.y != before.top;
  window->bounds.left = place.x;
  window->bounds.top = place.y;
  if (resized) {
    window->bounds.width = event->width;
    window->bounds.height = event->height;
  }
  WindowListener* listener = window->listener;
  if (moved) window->desktop->Dispatch([&] { listener->OnMoved(); });
  if (resized && window->desktop->IsVisible(window->id)) window->desktop->Dispatch([&] { listener->OnResized(); });
  return FALSE;
}

gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer data) {
  Native* window = static_cast<Native*>(data);
  WindowListener* listener = window->listener;
  window->desktop->Dispatch([&] { listener->OnCloseRequest(); });
  return TRUE;  // the engine destroys the window when it agrees
}

gboolean OnFocusChange(GtkWidget*, GdkEventFocus* event, gpointer data) {
  Native* window = static_cast<Native*>(data);
  GtkDesktop* desktop = window->desktop;
  WindowListener* listener = window->listener;
  const bool active = event->in != 0;
  desktop->Dispatch([&] { listener->OnActivation(active); });
  desktop->UpdateApplicationActivation();
  return FALSE;
}

gboolean OnWindowState(GtkWidget*, GdkEventWindowState* event, gpointer data) {
  Native* window = static_cast<Native*>(data);
  const GdkWindowState state = event->new_window_state;
  if (event->changed_mask & (GDK_WINDOW_STATE_ICONIFIED | GDK_WINDOW_STATE_MAXIMIZED))
    window->state = state & GDK_WINDOW_STATE_ICONIFIED   ? WindowState::kMinimized
                    : state & GDK_WINDOW_STATE_MAXIMIZED ? WindowState::kMaximized
                                                         : WindowState::kNormal;
  if (event->changed_mask & GDK_WINDOW_STATE_ABOVE) window->keep_above = state & GDK_WINDOW_STATE_ABOVE;
  if (!(event->changed_mask & GDK_WINDOW_STATE_ICONIFIED)) return FALSE;
  ApplicationListener* listener = window->desktop->listener();
  if (!listener) return FALSE;
  const bool minimized = event->new_window_state & GDK_WINDOW_STATE_ICONIFIED;
  window->desktop->Dispatch([&] { minimized ? listener->OnMinimize() : listener->OnRestore(); });
  return FALSE;
}

GdkFilterReturn OnXEvent(GdkXEvent* native_event, GdkEvent*, gpointer data) {
  Native* window = static_cast<Native*>(data);
  XEvent* event = static_cast<XEvent*>(native_event);
  if (event->type != ClientMessage) return GDK_FILTER_CONTINUE;
  const XClientMessageEvent& message = event->xclient;
  if (message.format != 32 || message.message_type != gdk_x11_get_xatom_by_name("_IXO_MESSAGE"))
    return GDK_FILTER_CONTINUE;
  // Each 32-bit item travels in a long; the two words are split in halves.
  const auto item = [&](int index) { return static_cast<uint64_t>(static_cast<uint32_t>(message.data.l[index])); };
  const uint32_t number = static_cast<uint32_t>(item(0));
  const uint64_t first = item(1) | item(2) << 32;
  const uint64_t second = item(3) | item(4) << 32;
  WindowListener* listener = window->listener;
  window->desktop->Dispatch([&] { listener->OnPrivateMessage(number, first, second); });
  return GDK_FILTER_REMOVE;
}

}  // namespace window_signals

namespace {

gboolean OnTimerTick(gpointer data) {
  GtkDesktop::Timer* timer = static_cast<GtkDesktop::Timer*>(data);
  // The tick may stop its own timer: keep what the call needs.
  std::function<void()> on_tick = timer->on_tick;
  GtkDesktop* desktop = timer->desktop;
  desktop->Dispatch(on_tick);
  return G_SOURCE_CONTINUE;
}

gboolean OnTerminateSignal(gpointer data) {
  GtkDesktop* desktop = static_cast<GtkDesktop*>(data);
  ApplicationListener* listener = desktop->listener();
  // The session is ending (or someone asked this process to stop): the object
  // may refuse, as it may refuse the end of a session.
  if (listener) desktop->Dispatch([&] {
      if (listener->OnShutdownQuery()) listener->OnShutdown();
    });
  if (!listener) desktop->RequestTerminate();
  return G_SOURCE_CONTINUE;
}

GdkFilterReturn OnRootEvent(GdkXEvent* native_event, GdkEvent*, gpointer data) {
  GtkDesktop* desktop = static_cast<GtkDesktop*>(data);
  XEvent* event = static_cast<XEvent*>(native_event);
  if (event->type != PropertyNotify || event->xproperty.atom != gdk_x11_get_xatom_by_name("_NET_WORKAREA"))
    return GDK_FILTER_CONTINUE;
  desktop->NotifyAppBarsOfWorkArea();
  if (desktop->listener()) desktop->Dispatch([&] { desktop->listener()->OnWorkAreaChanged(); });
  return GDK_FILTER_CONTINUE;
}

void OnScreenChanged(GdkScreen*, gpointer data) {
  GtkDesktop* desktop = static_cast<GtkDesktop*>(data);
  if (desktop->listener()) desktop->Dispatch([&] { desktop->listener()->OnDisplayChanged(); });
}

gboolean OnIdle(gpointer data);

}  // namespace

std::unique_ptr<GtkDesktop> GtkDesktop::Open(std::string& error) {
  // Shapes, the pointer queries and the messages between engines are X11's.
  gdk_set_allowed_backends("x11");
  if (!gtk_init_check(nullptr, nullptr)) {
    const char* display = std::getenv("DISPLAY");
    error = display && *display ? std::string("cannot open the display ") + display
                                : std::string("no display (DISPLAY is not set)");
    return nullptr;
  }
  Display* display = gdk_x11_get_default_xdisplay();
  unsigned long atom = XInternAtom(display, "_IXO_MESSAGE", False);
  std::unique_ptr<GtkDesktop> desktop(new GtkDesktop(display, atom));
  desktop->WatchDesktopChanges();
  return desktop;
}

GtkDesktop::GtkDesktop(_XDisplay* display, unsigned long message_atom)
    : display_(display), message_atom_(message_atom) {}

GtkDesktop::~GtkDesktop() {
  for (auto& [id, timer] : timers_) g_source_remove(static_cast<guint>(id));
  timers_.clear();
  if (idle_source_) g_source_remove(idle_source_);
  while (!windows_.empty()) DestroyWindow(windows_.begin()->first);
  StopNotifications();
}

void GtkDesktop::WatchDesktopChanges() {
  GdkWindow* root = gdk_get_default_root_window();
  gdk_window_set_events(root, static_cast<GdkEventMask>(gdk_window_get_events(root) | GDK_PROPERTY_CHANGE_MASK));
  gdk_window_add_filter(root, OnRootEvent, this);
  GdkScreen* screen = gdk_screen_get_default();
  g_signal_connect(screen, "size-changed", G_CALLBACK(OnScreenChanged), this);
  g_signal_connect(screen, "monitors-changed", G_CALLBACK(OnScreenChanged), this);
  g_unix_signal_add(SIGTERM, OnTerminateSignal, this);
  g_unix_signal_add(SIGHUP, OnTerminateSignal, this);
}

GtkDesktop::NativeWindow* GtkDesktop::Find(WindowId id) {
  auto found = windows_.find(id);
  return found == windows_.end() ? nullptr : found->second.get();
}

WindowId GtkDesktop::CreateWindow(WindowListener& listener) {
  auto window = std::make_unique<NativeWindow>();
  window->desktop = this;
  window->listener = &listener;
  GtkWidget* widget = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  window->widget = widget;
  gtk_window_set_title(GTK_WINDOW(widget), "ixo");
  gtk_window_set_decorated(GTK_WINDOW(widget), FALSE);
  gtk_widget_set_app_paintable(widget, TRUE);
  gtk_window_set_default_size(GTK_WINDOW(widget), 1, 1);
  gtk_widget_add_events(widget, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_POINTER_MOTION_MASK |
                                    GDK_SCROLL_MASK | GDK_KEY_PRESS_MASK | GDK_KEY_RELEASE_MASK |
                                    GDK_FOCUS_CHANGE_MASK | GDK_STRUCTURE_MASK);
  using namespace window_signals;
  NativeWindow* raw = window.get();
  g_signal_connect(widget, "button-press-event", G_CALLBACK(OnButtonPress), raw);
  g_signal_connect(widget, "button-release-event", G_CALLBACK(OnButtonRelease), raw);
  g_signal_connect(widget, "motion-notify-event", G_CALLBACK(OnMotion), raw);
  g_signal_connect(widget, "scroll-event", G_CALLBACK(OnScroll), raw);
  g_signal_connect(widget, "key-press-event", G_CALLBACK(OnKeyPress), raw);
  g_signal_connect(widget, "key-release-event", G_CALLBACK(OnKeyRelease), raw);
  g_signal_connect(widget, "draw", G_CALLBACK(OnDraw), raw);
  g_signal_connect(widget, "configure-event", G_CALLBACK(OnConfigure), raw);
  g_signal_connect(widget, "delete-event", G_CALLBACK(OnDelete), raw);
  g_signal_connect(widget, "focus-in-event", G_CALLBACK(OnFocusChange), raw);
  g_signal_connect(widget, "focus-out-event", G_CALLBACK(OnFocusChange), raw);
  g_signal_connect(widget, "window-state-event", G_CALLBACK(OnWindowState), raw);
  gtk_widget_realize(widget);
  GdkWindow* gdk_window = gtk_widget_get_window(widget);
  gdk_window_add_filter(gdk_window, OnXEvent, raw);
  window->id = gdk_x11_window_get_xid(gdk_window);
  WindowId id = window->id;
  windows_[id] = std::move(window);
  return id;
}

void GtkDesktop::DestroyWindow(WindowId id) {
  if (!Find(id)) return;
  // Controls become top-level windows first: the X server would destroy them
  // with their parent behind GTK's back.
  std::vector<WindowId> children;
  for (const auto& [child, window] : windows_)
    if (window->parent == id) children.push_back(child);
  for (WindowId child : children) SetParent(child, 0);
  auto found = windows_.find(id);
  std::unique_ptr<NativeWindow> window = std::move(found->second);
  windows_.erase(found);
  gdk_window_remove_filter(gtk_widget_get_window(window->widget), window_signals::OnXEvent, window.get());
  g_signal_handlers_disconnect_by_data(window->widget, window.get());
  gtk_widget_destroy(window->widget);
}

void GtkDesktop::Show(WindowId id) {
  NativeWindow* window = Find(id);
  if (!window || window->visible) return;
  window->visible = true;
  gtk_window_move(GTK_WINDOW(window->widget), window->bounds.left, window->bounds.top);
  gtk_widget_show(window->widget);
}

void GtkDesktop::Hide(WindowId id) {
  NativeWindow* window = Find(id);
  if (!window || !window->visible) return;
  window->visible = false;
  gtk_widget_hide(window->widget);
}

bool GtkDesktop::IsVisible(WindowId id) {
  NativeWindow* window = Find(id);
  return window && window->visible;
}

Rect GtkDesktop::Bounds(WindowId id) {
  NativeWindow* window = Find(id);
  return window ? window->bounds : Rect{};
}

void GtkDesktop::SetBounds(WindowId id, Rect bounds) {
  NativeWindow* window = Find(id);
  if (!window) return;
  bounds = WithinWindowExtents(bounds);
  const Rect before = window->bounds;
  window->bounds = bounds;
  if (!window->parent) {
    window->requested = bounds;
    window->request_retries = 0;
  }
  gtk_window_move(GTK_WINDOW(window->widget), bounds.left, bounds.top);
  gtk_window_resize(GTK_WINDOW(window->widget), std::max(bounds.width, 1), std::max(bounds.height, 1));
  // The engine hears of its own moves at once, as the window system reports them
  // while the call is made; the window manager's answer then matches.
  WindowListener* listener = window->listener;
  if (before.left != bounds.left || before.top != bounds.top) listener->OnMoved();
  if (Find(id) && (before.width != bounds.width || before.height != bounds.height)) listener->OnResized();
}

void GtkDesktop::SetStyle(WindowId id, WindowStyle style) {
  NativeWindow* window = Find(id);
  if (!window) return;
  GtkWindow* gtk_window = GTK_WINDOW(window->widget);
  gtk_window_set_skip_taskbar_hint(gtk_window, style.tool_window);
  gtk_window_set_skip_pager_hint(gtk_window, style.tool_window);
  gtk_window_set_keep_above(gtk_window, style.topmost);
  window->keep_above = style.topmost;
  gtk_window_set_accept_focus(gtk_window, !style.no_activate);
  gtk_window_set_focus_on_map(gtk_window, !style.no_activate);
}

void GtkDesktop::PlaceBehindTopmost(WindowId id) {
  NativeWindow* window = Find(id);
  if (!window) return;
  gtk_window_set_keep_above(GTK_WINDOW(window->widget), FALSE);
  window->keep_above = false;
  gdk_window_raise(gtk_widget_get_window(window->widget));
}

void GtkDesktop::SetFocus(WindowId id) {
  NativeWindow* window = Find(id);
  if (!window || !window->visible || gtk_window_is_active(GTK_WINDOW(window->widget))) return;
  if (gtk_window_get_accept_focus(GTK_WINDOW(window->widget)))
    gdk_window_focus(gtk_widget_get_window(window->widget), GDK_CURRENT_TIME);
}

void GtkDesktop::Present(WindowId id, PixelView picture) {
  NativeWindow* window = Find(id);
  if (!window) return;
  const int width = std::min(picture.width, window->bounds.width);
  const int height = std::min(picture.height, window->bounds.height);
  if (window->picture && (cairo_image_surface_get_width(window->picture) != width ||
                          cairo_image_surface_get_height(window->picture) != height)) {
    cairo_surface_destroy(window->picture);
    window->picture = nullptr;
  }
  if (width <= 0 || height <= 0) return;
  if (!window->picture) window->picture = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_surface_flush(window->picture);
  unsigned char* target = cairo_image_surface_get_data(window->picture);
  const int target_stride = cairo_image_surface_get_stride(window->picture);
  // Blue, green, red bytes become native 32-bit pixels 0x00RRGGBB.
  for (int y = 0; y < height; ++y) {
    const uint8_t* from = picture.pixels + static_cast<size_t>(y) * picture.stride;
    uint32_t* to = reinterpret_cast<uint32_t*>(target + static_cast<size_t>(y) * target_stride);
    for (int x = 0; x < width; ++x, from += 3) to[x] = uint32_t{from[2]} << 16 | uint32_t{from[1]} << 8 | from[0];
  }
  cairo_surface_mark_dirty(window->picture);
  if (!window->painting) gtk_widget_queue_draw(window->widget);
}

void GtkDesktop::Invalidate(WindowId id) {
  if (NativeWindow* window = Find(id)) gtk_widget_queue_draw(window->widget);
}

// The X server exposes whatever a leaving window uncovers by itself.
void GtkDesktop::RepaintScreenArea(Rect) {}

Size GtkDesktop::ScreenSize() {
  GdkDisplay* display = gdk_display_get_default();
  GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
  if (!monitor && gdk_display_get_n_monitors(display) > 0) monitor = gdk_display_get_monitor(display, 0);
  if (monitor) {
    GdkRectangle area;
    gdk_monitor_get_geometry(monitor, &area);
    return {area.width, area.height};
  }
  return {DisplayWidth(display_, DefaultScreen(display_)), DisplayHeight(display_, DefaultScreen(display_))};
}

WindowHit GtkDesktop::WindowAt(Point position) {
  ::Window root = DefaultRootWindow(display_);
  ::Window parent = root;
  ::Window child = 0;
  int x = 0, y = 0;
  WindowHit hit;
  // Down the tree of windows at that point: window manager frames, then ours,
  // then any control inside it.
  while (XTranslateCoordinates(display_, root, parent, position.x, position.y, &x, &y, &child) && child) {
    if (hit.window) {
      hit.child_control = true;
      break;
    }
    auto ours = windows_.find(child);
    if (ours != windows_.end() && ours->second->visible) hit = {child, true, false};
    parent = child;
  }
  return hit;
}

void GtkDesktop::PostPrivateMessage(WindowId window, uint32_t number, uint64_t first, uint64_t second) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = message_atom_;
  event.xclient.format = 32;
  event.xclient.data.l[0] = number;
  event.xclient.data.l[1] = static_cast<long>(first & 0xFFFFFFFFu);
  event.xclient.data.l[2] = static_cast<long>(first >> 32);
  event.xclient.data.l[3] = static_cast<long>(second & 0xFFFFFFFFu);
  event.xclient.data.l[4] = static_cast<long>(second >> 32);
  XSendEvent(display_, window, False, NoEventMask, &event);
  XFlush(display_);
}

TimerId GtkDesktop::StartTimer(uint32_t interval_ms, std::function<void()> on_tick) {
  auto timer = std::make_unique<Timer>();
  timer->desktop = this;
  timer->on_tick = std::move(on_tick);
  guint source = g_timeout_add(std::max<uint32_t>(interval_ms, 1), OnTimerTick, timer.get());
  timer->id = source;
  timers_[source] = std::move(timer);
  return source;
}

void GtkDesktop::StopTimer(TimerId timer) {
  auto found = timers_.find(timer);
  if (found == timers_.end()) return;
  g_source_remove(static_cast<guint>(timer));
  timers_.erase(found);
}

const GtkDesktop::PointerState& GtkDesktop::Pointer() {
  if (pointer_read_at_ == dispatch_count_) return pointer_;
  ::Window root = 0, child = 0;
  int root_x = 0, root_y = 0, window_x = 0, window_y = 0;
  unsigned int mask = 0;
  XQueryPointer(display_, DefaultRootWindow(display_), &root, &child, &root_x, &root_y, &window_x, &window_y, &mask);
  pointer_ = {{root_x, root_y}, mask};
  pointer_read_at_ = dispatch_count_;
  return pointer_;
}

Point GtkDesktop::PointerPosition() { return Pointer().position; }

bool GtkDesktop::IsButtonDown(MouseButton button) {
  unsigned int mask = button == MouseButton::kLeft ? Button1Mask : button == MouseButton::kRight ? Button3Mask : Button2Mask;
  return (Pointer().buttons & mask) != 0;
}

bool GtkDesktop::IsKeyDown(int virtual_key) {
  if (virtual_key == 0x01) return IsButtonDown(MouseButton::kLeft);
  if (virtual_key == 0x02) return IsButtonDown(MouseButton::kRight);
  if (virtual_key == 0x04) return IsButtonDown(MouseButton::kMiddle);
  char keys[32];
  XQueryKeymap(display_, keys);
  for (uint32_t keysym : KeysymsOfVirtualKey(virtual_key)) {
    KeyCode code = XKeysymToKeycode(display_, keysym);
    if (code && (keys[code / 8] & (1 << (code % 8)))) return true;
  }
  return false;
}

void GtkDesktop::Dispatch(const std::function<void()>& call) {
  ++dispatch_count_;
  try {
    call();
  } catch (const std::exception& error) {
    if (listener_) listener_->OnException(error.what());
  }
  ScheduleIdle();
}

void GtkDesktop::UpdateApplicationActivation() {
  bool active = std::any_of(windows_.begin(), windows_.end(),
                            [](const auto& entry) { return gtk_window_is_active(GTK_WINDOW(entry.second->widget)); });
  if (active == application_active_ || !listener_) return;
  application_active_ = active;
  Dispatch([&] { listener_->OnActivation(active); });
}

namespace {

gboolean OnIdle(gpointer data) {
  GtkDesktop* desktop = static_cast<GtkDesktop*>(data);
  return desktop->RunIdleOnce() ? G_SOURCE_CONTINUE : G_SOURCE_REMOVE;
}

}  // namespace

void GtkDesktop::ScheduleIdle() {
  if (!idle_source_ && listener_ && !terminate_requested_) idle_source_ = g_idle_add(OnIdle, this);
}

bool GtkDesktop::RunIdleOnce() {
  IdleAnswer answer = IdleAnswer::kDone;
  if (!listener_) {
    idle_source_ = 0;
    return false;
  }
  ++dispatch_count_;
  try {
    answer = listener_->OnIdle();
  } catch (const std::exception& error) {
    listener_->OnException(error.what());
  }
  if (answer != IdleAnswer::kDone && !terminate_requested_) return true;
  idle_source_ = 0;
  return false;
}

void GtkDesktop::RunMessageLoop() {
  if (terminate_requested_) return;
  ScheduleIdle();
  gtk_main();
}

void GtkDesktop::RequestTerminate() {
  terminate_requested_ = true;
  if (gtk_main_level() > 0) gtk_main_quit();
}

}  // namespace ixo::platform
