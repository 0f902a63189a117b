// Caption, hint, icon, frame and state of the desktop host's windows. The
// window manager draws the frame: the border style becomes GTK's decorated flag,
// the window type and the Motif hints that say which frame buttons and which
// user actions the window offers.
#include <gdk/gdkx.h>
#include <gtk/gtk.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>

#include "engine/script_charset.h"
#include "platform/desktop/gtk_desktop.h"
#include "platform/desktop/native_window.h"

namespace ixo::platform {

namespace {

bool IsToolStyle(BorderStyle style) {
  return style == BorderStyle::kToolSizeable || style == BorderStyle::kToolFixed;
}

bool IsSizeable(BorderStyle style) {
  return style == BorderStyle::kSizeable || style == BorderStyle::kToolSizeable;
}

}  // namespace

GdkPixbuf* PixbufOfPicture(PixelView picture) {
  if (!picture.pixels || picture.width <= 0 || picture.height <= 0) return nullptr;
  GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, picture.width, picture.height);
  if (!pixbuf) return nullptr;
  guchar* target = gdk_pixbuf_get_pixels(pixbuf);
  const int target_stride = gdk_pixbuf_get_rowstride(pixbuf);
  for (int y = 0; y < picture.height; ++y) {
    const uint8_t* from = picture.pixels + static_cast<size_t>(y) * picture.stride;
    guchar* to = target + static_cast<size_t>(y) * target_stride;
    for (int x = 0; x < picture.width; ++x, from += 3, to += 3) {
      to[0] = from[2];
      to[1] = from[1];
      to[2] = from[0];
    }
  }
  return pixbuf;
}

void GtkDesktop::SetTitle(WindowId id, std::string_view title) {
  NativeWindow* window = Find(id);
  if (!window) return;
  window->title = std::string(title);
  gtk_window_set_title(GTK_WINDOW(window->widget), source::WindowsTextToUtf8(title).c_str());
}

void GtkDesktop::SetTooltip(WindowId id, std::string_view text) {
  NativeWindow* window = Find(id);
  if (!window) return;
  gtk_widget_set_tooltip_text(window->widget, text.empty() ? nullptr : source::WindowsTextToUtf8(text).c_str());
}

void GtkDesktop::SetIcon(WindowId id, PixelView icon) {
  NativeWindow* window = Find(id);
  if (!window) return;
  GdkPixbuf* pixbuf = PixbufOfPicture(icon);
  gtk_window_set_icon(GTK_WINDOW(window->widget), pixbuf);
  if (pixbuf) g_object_unref(pixbuf);
}

void GtkDesktop::SetBorder(WindowId id, BorderStyle style, BorderIcons icons) {
  NativeWindow* window = Find(id);
  if (!window) return;
  GtkWindow* gtk_window = GTK_WINDOW(window->widget);
  const bool decorated = style != BorderStyle::kNone;
  window->decorated = decorated;
  gtk_window_set_decorated(gtk_window, decorated);

  // A tool window has a small caption; the window manager reads the type only
  // when the window is mapped.
  const GdkWindowTypeHint hint = IsToolStyle(style) ? GDK_WINDOW_TYPE_HINT_UTILITY : GDK_WINDOW_TYPE_HINT_NORMAL;
  if (!window->app_bar && gtk_window_get_type_hint(gtk_window) != hint)
    RemapWindow(*window, [&] { gtk_window_set_type_hint(gtk_window, hint); });

  // The window keeps the size the engine gives it (GTK's resizable flag would
  // pin it to its requested size): a fixed frame only loses the user's resizing.
  GdkWindow* gdk_window = gtk_widget_get_window(window->widget);
  int functions = GDK_FUNC_MOVE | GDK_FUNC_CLOSE;
  int decorations = decorated ? GDK_DECOR_BORDER | GDK_DECOR_TITLE : 0;
  if (IsSizeable(style)) {
    functions |= GDK_FUNC_RESIZE;
    if (decorated) decorations |= GDK_DECOR_RESIZEH;
  }
  const bool dialog = style == BorderStyle::kDialog || IsToolStyle(style);
  if (decorated && icons.system_menu) decorations |= GDK_DECOR_MENU;
  if (!dialog && icons.system_menu && icons.minimize) {
    functions |= GDK_FUNC_MINIMIZE;
    if (decorated) decorations |= GDK_DECOR_MINIMIZE;
  }
  if (!dialog && icons.system_menu && icons.maximize) {
    functions |= GDK_FUNC_MAXIMIZE;
    if (decorated) decorations |= GDK_DECOR_MAXIMIZE;
  }
  gdk_window_set_functions(gdk_window, static_cast<GdkWMFunction>(functions));
  gdk_window_set_decorations(gdk_window, static_cast<GdkWMDecoration>(decorations));
}

FrameExtents GtkDesktop::Frame(WindowId id) {
  NativeWindow* window = Find(id);
  if (!window || !window->decorated || window->parent) return {};
  // Left, right, top, bottom, as the window manager publishes them.
  std::vector<unsigned long> extents = CardinalProperty(display_, id, "_NET_FRAME_EXTENTS", XA_CARDINAL);
  if (extents.size() < 4) return {};
  const auto side = [&](size_t index) { return static_cast<int>(std::min<unsigned long>(extents[index], 4096)); };
  return {side(0), side(2), side(1), side(3)};
}

void GtkDesktop::SetState(WindowId id, WindowState state) {
  NativeWindow* window = Find(id);
  if (!window) return;
  GtkWindow* gtk_window = GTK_WINDOW(window->widget);
  // The window manager's answer arrives later as a window-state notification;
  // until then the window is in the state asked for.
  window->state = state;
  switch (state) {
    case WindowState::kMinimized: gtk_window_iconify(gtk_window); break;
    case WindowState::kMaximized:
      gtk_window_deiconify(gtk_window);
      gtk_window_maximize(gtk_window);
      break;
    case WindowState::kNormal:
      gtk_window_deiconify(gtk_window);
      gtk_window_unmaximize(gtk_window);
      break;
  }
}

WindowState GtkDesktop::State(WindowId id) {
  NativeWindow* window = Find(id);
  return window ? window->state : WindowState::kNormal;
}

void GtkDesktop::SetEnabled(WindowId id, bool enabled) {
  NativeWindow* window = Find(id);
  if (!window) return;
  window->enabled = enabled;
  gtk_widget_set_sensitive(window->widget, enabled);
}

bool GtkDesktop::IsEnabled(WindowId id) {
  NativeWindow* window = Find(id);
  return window && window->enabled;
}

}  // namespace ixo::platform
