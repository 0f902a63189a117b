// App bars as dock windows that reserve a strip of the screen with
// _NET_WM_STRUT and _NET_WM_STRUT_PARTIAL. The window manager takes every
// dock's strip off the work area (_NET_WORKAREA); when it changes, each app bar
// hears of it through the private app-bar message.
#include <gdk/gdkx.h>
#include <gtk/gtk.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <array>

#include "platform/desktop/gtk_desktop.h"
#include "platform/desktop/native_window.h"

namespace ixo::platform {

namespace {

constexpr uint32_t kAppBarMessage = PrivateMessageNumber(PrivateMessage::kAppBar);

Rect Intersection(Rect a, Rect b) {
  const int left = std::max(a.left, b.left);
  const int top = std::max(a.top, b.top);
  const int right = std::min(a.left + a.width, b.left + b.width);
  const int bottom = std::min(a.top + a.height, b.top + b.height);
  return {left, top, std::max(right - left, 0), std::max(bottom - top, 0)};
}

// Left, right, top, bottom, then the start and end of each side's strip: the
// distances count from the edges of the whole X screen.
std::array<long, 12> StrutOf(ScreenEdge edge, Rect strip, Size screen) {
  std::array<long, 12> strut{};
  const long right = long{strip.left} + strip.width;
  const long bottom = long{strip.top} + strip.height;
  switch (edge) {
    case ScreenEdge::kLeft:
      strut[0] = std::max(right, 0L);
      strut[4] = strip.top, strut[5] = bottom - 1;
      break;
    case ScreenEdge::kRight:
      strut[1] = std::max(long{screen.width} - strip.left, 0L);
      strut[6] = strip.top, strut[7] = bottom - 1;
      break;
    case ScreenEdge::kTop:
      strut[2] = std::max(bottom, 0L);
      strut[8] = strip.left, strut[9] = right - 1;
      break;
    case ScreenEdge::kBottom:
      strut[3] = std::max(long{screen.height} - strip.top, 0L);
      strut[10] = strip.left, strut[11] = right - 1;
      break;
  }
  return strut;
}

}  // namespace

void GtkDesktop::RegisterAppBar(WindowId id) {
  NativeWindow* window = Find(id);
  if (!window || window->app_bar) return;
  window->app_bar = true;
  // The window manager reads a window's type when it maps it.
  RemapWindow(*window, [&] { gtk_window_set_type_hint(GTK_WINDOW(window->widget), GDK_WINDOW_TYPE_HINT_DOCK); });
}

void GtkDesktop::RemoveAppBar(WindowId id) {
  NativeWindow* window = Find(id);
  if (!window || !window->app_bar) return;
  window->app_bar = false;
  window->app_bar_edge.reset();
  XDeleteProperty(display_, id, XInternAtom(display_, "_NET_WM_STRUT_PARTIAL", False));
  XDeleteProperty(display_, id, XInternAtom(display_, "_NET_WM_STRUT", False));
  RemapWindow(*window, [&] { gtk_window_set_type_hint(GTK_WINDOW(window->widget), GDK_WINDOW_TYPE_HINT_NORMAL); });
  XFlush(display_);
}

Rect GtkDesktop::QueryAppBarPosition(WindowId id, ScreenEdge edge, Rect wanted) {
  NativeWindow* window = Find(id);
  const std::vector<Monitor> monitors = All();
  const Monitor& monitor = monitors[MonitorIndexOf(monitors, wanted)];
  Rect strip = Intersection(wanted, monitor.bounds);
  if (strip.width == 0 || strip.height == 0) return strip;

  // The work area is what other docks leave: the strip goes just inside it.
  // This bar's own strip is part of what the work area lacks; where it makes
  // the work area's edge, its own place stands for the other bars' limit.
  Rect work = monitor.work_area;
  const bool own = window && window->app_bar_edge == edge;
  const Rect& current = window ? window->app_bar_strip : strip;
  switch (edge) {
    case ScreenEdge::kLeft: {
      const int limit = own && work.left == current.left + current.width ? current.left : work.left;
      if (strip.left < limit) strip.left = std::min(limit, monitor.bounds.left + monitor.bounds.width - strip.width);
      break;
    }
    case ScreenEdge::kTop: {
      const int limit = own && work.top == current.top + current.height ? current.top : work.top;
      if (strip.top < limit) strip.top = std::min(limit, monitor.bounds.top + monitor.bounds.height - strip.height);
      break;
    }
    case ScreenEdge::kRight: {
      const int work_right = work.left + work.width;
      const int limit = own && work_right == current.left ? current.left + current.width : work_right;
      if (strip.left + strip.width > limit) strip.left = std::max(limit - strip.width, monitor.bounds.left);
      break;
    }
    case ScreenEdge::kBottom: {
      const int work_bottom = work.top + work.height;
      const int limit = own && work_bottom == current.top ? current.top + current.height : work_bottom;
      if (strip.top + strip.height > limit) strip.top = std::max(limit - strip.height, monitor.bounds.top);
      break;
    }
  }
  return strip;
}

void GtkDesktop::SetAppBarPosition(WindowId id, ScreenEdge edge, Rect strip) {
  NativeWindow* window = Find(id);
  if (!window || !window->app_bar) return;
  window->app_bar_edge = edge;
  window->app_bar_strip = strip;
  const Size screen{DisplayWidth(display_, DefaultScreen(display_)), DisplayHeight(display_, DefaultScreen(display_))};
  const std::array<long, 12> strut = StrutOf(edge, strip, screen);
  XChangeProperty(display_, id, XInternAtom(display_, "_NET_WM_STRUT_PARTIAL", False), XA_CARDINAL, 32,
                  PropModeReplace, reinterpret_cast<const unsigned char*>(strut.data()), 12);
  XChangeProperty(display_, id, XInternAtom(display_, "_NET_WM_STRUT", False), XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(strut.data()), 4);
  XFlush(display_);
}

void GtkDesktop::NotifyAppBarsOfWorkArea() {
  for (const auto& [id, window] : windows_)
    if (window->app_bar) PostPrivateMessage(id, kAppBarMessage, kAppBarPositionChanged, 0);
}

}  // namespace ixo::platform
