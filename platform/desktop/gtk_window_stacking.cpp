// The z-order of the desktop host's windows, other programs' windows found by
// title, and engine windows made controls of others. Managed windows are
// restacked through the window manager (their frames are what stacks); a
// control is an X child of its parent's window, which the window manager no
// longer manages.
#include <gdk/gdkx.h>
#include <gtk/gtk.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "engine/script_charset.h"
#include "platform/desktop/gtk_desktop.h"
#include "platform/desktop/native_window.h"

namespace ixo::platform {

namespace {

// A window's title as UTF-8: _NET_WM_NAME, or WM_NAME in whatever encoding it has.
std::optional<std::string> TitleOf(Display* display, ::Window window) {
  Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  Atom type = None;
  int format = 0;
  unsigned long count = 0, remaining = 0;
  unsigned char* data = nullptr;
  std::optional<std::string> title;
  if (XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False), 0, 4096, False, utf8, &type,
                         &format, &count, &remaining, &data) == Success &&
      data && type == utf8 && format == 8)
    title = std::string(reinterpret_cast<const char*>(data), count);
  if (data) XFree(data);
  if (title) return title;
  XTextProperty text{};
  if (!XGetWMName(display, window, &text)) return std::nullopt;
  char** list = nullptr;
  int items = 0;
  if (Xutf8TextPropertyToTextList(display, &text, &list, &items) >= Success && list && items > 0) title = list[0];
  if (list) XFreeStringList(list);
  if (text.value) XFree(text.value);
  return title;
}

// The top-level client windows of the screen, the topmost first.
std::vector<::Window> ClientWindows(Display* display) {
  ::Window root = DefaultRootWindow(display);
  std::vector<unsigned long> clients = CardinalProperty(display, root, "_NET_CLIENT_LIST_STACKING", XA_WINDOW);
  if (clients.empty()) clients = CardinalProperty(display, root, "_NET_CLIENT_LIST", XA_WINDOW);
  if (clients.empty()) {
    // No window manager lists them: the root's own children are the top-level windows.
    ::Window parent = 0, unused = 0;
    ::Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, root, &unused, &parent, &children, &count) && children)
      clients.assign(children, children + count);
    if (children) XFree(children);
  }
  return {clients.rbegin(), clients.rend()};
}

// Waits a little for the window manager to let go of a window that was just
// withdrawn (it takes WM_STATE away then). A bound, not a timing: when the
// window manager is slow, the reparenting below still wins over its own.
void WaitUntilReleased(Display* display, ::Window window) {
  const Atom wm_state = XInternAtom(display, "WM_STATE", False);
  for (int attempt = 0; attempt < 50; ++attempt) {
    XSync(display, False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(display, window, wm_state, 0, 2, False, AnyPropertyType, &type, &format, &count, &remaining,
                       &data);
    if (data) XFree(data);
    if (type == None) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(4));
  }
}

// Puts a managed window directly behind another. Window managers differ in how
// they take a restack request with a sibling (some lower the window to the
// bottom instead), but all raise a window when asked: the window is raised,
// then the reference, then whatever stood above the reference, which leaves
// every other window's order as it was.
void PlaceBehind(Display* display, ::Window window, ::Window reference) {
  std::vector<unsigned long> stacking =
      CardinalProperty(display, DefaultRootWindow(display), "_NET_CLIENT_LIST_STACKING", XA_WINDOW);
  auto at = std::find(stacking.begin(), stacking.end(), reference);
  if (at == stacking.end() || std::find(stacking.begin(), stacking.end(), window) == stacking.end()) {
    // No window manager stacks them: the X server does.
    XWindowChanges changes{};
    changes.sibling = reference;
    changes.stack_mode = Below;
    XConfigureWindow(display, window, CWSibling | CWStackMode, &changes);
    return;
  }
  if (at != stacking.begin() && *(at - 1) == window) return;  // already there
  XRaiseWindow(display, window);
  for (; at != stacking.end(); ++at)
    if (*at != window) XRaiseWindow(display, *at);
}

}  // namespace

void GtkDesktop::Restack(WindowId id, StackPlace place, WindowId reference, bool activate) {
  NativeWindow* window = Find(id);
  if (!window) return;
  GtkWindow* gtk_window = GTK_WINDOW(window->widget);
  GdkWindow* gdk_window = gtk_widget_get_window(window->widget);
  switch (place) {
    case StackPlace::kTop: gdk_window_raise(gdk_window); break;
    case StackPlace::kBottom: gdk_window_lower(gdk_window); break;
    case StackPlace::kTopmost:
      gtk_window_set_keep_above(gtk_window, TRUE);
      window->keep_above = true;
      gdk_window_raise(gdk_window);
      break;
    case StackPlace::kNoTopmost: PlaceBehindTopmost(id); break;
    case StackPlace::kBehind: {
      if (reference == id || reference == 0) break;
      if (window->parent) {
        // Controls are siblings inside their parent: the X server stacks them.
        XWindowChanges changes{};
        changes.sibling = reference;
        changes.stack_mode = Below;
        gdk_x11_display_error_trap_push(gdk_display_get_default());
        XConfigureWindow(display_, id, CWSibling | CWStackMode, &changes);
        gdk_x11_display_error_trap_pop_ignored(gdk_display_get_default());
        break;
      }
      gdk_x11_display_error_trap_push(gdk_display_get_default());
      PlaceBehind(display_, id, reference);
      gdk_x11_display_error_trap_pop_ignored(gdk_display_get_default());
      break;
    }
  }
  if (activate) SetForeground(id);
  XFlush(display_);
}

bool GtkDesktop::IsTopmost(WindowId id) {
  NativeWindow* window = Find(id);
  return window && window->keep_above;
}

WindowId GtkDesktop::FindByTitle(std::string_view title) {
  const std::string wanted = source::WindowsTextToUtf8(title);
  gdk_x11_display_error_trap_push(gdk_display_get_default());
  WindowId found = 0;
  for (::Window client : ClientWindows(display_)) {
    std::optional<std::string> name = TitleOf(display_, client);
    if (name && *name == wanted) {
      found = client;
      break;
    }
  }
  gdk_x11_display_error_trap_pop_ignored(gdk_display_get_default());
  if (found) return found;
  // Engine windows that the window manager does not list yet (never shown).
  for (const auto& [id, window] : windows_)
    if (!window->parent && window->title == title) return id;
  return 0;
}

void GtkDesktop::SetForeground(WindowId id) {
  NativeWindow* window = Find(id);
  if (!window) return;
  if (window->parent) {
    XRaiseWindow(display_, id);
    return;
  }
  gtk_window_present(GTK_WINDOW(window->widget));
}

void GtkDesktop::SetParent(WindowId id, WindowId parent_id) {
  NativeWindow* window = Find(id);
  if (!window || parent_id == id) return;
  NativeWindow* parent = Find(parent_id);
  if (parent_id && !parent) return;
  // A window cannot go inside one of its own controls.
  for (NativeWindow* up = parent; up; up = Find(up->parent))
    if (up->id == id) return;
  if (window->parent == parent_id) return;

  GdkWindow* gdk_window = gtk_widget_get_window(window->widget);
  const bool mapped = gtk_widget_get_mapped(window->widget);
  const bool was_managed = !window->parent;
  // Where the window is on the screen now, to keep it there as a top-level window.
  int screen_x = 0, screen_y = 0;
  ::Window unused = 0;
  XTranslateCoordinates(display_, id, DefaultRootWindow(display_), 0, 0, &screen_x, &screen_y, &unused);

  // The window manager must let go of the window before it changes hands, and
  // must not take a control for a window of its own.
  if (mapped) gtk_widget_hide(window->widget);
  if (mapped && was_managed) WaitUntilReleased(display_, id);
  gdk_window_set_override_redirect(gdk_window, parent_id != 0);

  // A top-level window keeps its numbers, now counted from the parent's client
  // area; they are read from the server, which knows them for certain.
  if (was_managed) {
    window->bounds.left = screen_x;
    window->bounds.top = screen_y;
  }
  window->parent = parent_id;
  if (parent) {
    XReparentWindow(display_, id, parent_id, window->bounds.left, window->bounds.top);
  } else {
    XReparentWindow(display_, id, DefaultRootWindow(display_), screen_x, screen_y);
    window->bounds.left = screen_x;
    window->bounds.top = screen_y;
  }
  XSync(display_, False);
  gtk_window_move(GTK_WINDOW(window->widget), window->bounds.left, window->bounds.top);
  if (mapped) gtk_widget_show(window->widget);
  // GTK places a top-level window on the screen when it maps it; a control's
  // place is set in its parent after that.
  if (parent) XMoveWindow(display_, id, window->bounds.left, window->bounds.top);
  XFlush(display_);
}

}  // namespace ixo::platform
