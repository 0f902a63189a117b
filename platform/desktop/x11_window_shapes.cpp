// Window outlines through the X shape extension: the same rectangles make the
// bounding shape (what is drawn) and the input shape (what takes the pointer),
// so holes show what lies behind and pass clicks to it without a compositor.
// Opacity needs a compositing manager.
#include <gdk/gdkx.h>
#include <gtk/gtk.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/shape.h>

#include <algorithm>
#include <string>

#include "platform/desktop/gtk_desktop.h"
#include "platform/desktop/native_window.h"

namespace ixo::platform {

namespace {

void ApplyShape(Display* display, const GtkDesktop::NativeWindow& window) {
  const ::Window xid = window.id;
  if (!window.shape) {
    XShapeCombineMask(display, xid, ShapeBounding, 0, 0, None, ShapeSet);
    XShapeCombineMask(display, xid, ShapeInput, 0, 0, None, ShapeSet);
    return;
  }
  std::vector<XRectangle> rectangles;
  rectangles.reserve(window.shape->size());
  for (const Rect& rect : *window.shape) {
    if (rect.width <= 0 || rect.height <= 0) continue;
    // X rectangles hold 16 bits: larger ones are cut to what a window can be.
    const auto coordinate = [](int value) { return static_cast<short>(std::clamp(value, -32768, 32767)); };
    const auto extent = [](int value) { return static_cast<unsigned short>(std::min(value, 65535)); };
    rectangles.push_back({coordinate(rect.left), coordinate(rect.top), extent(rect.width), extent(rect.height)});
  }
  // No rectangles at all is an empty shape: the window shows nothing and takes no clicks.
  for (int kind : {ShapeBounding, ShapeInput})
    XShapeCombineRectangles(display, xid, kind, 0, 0, rectangles.data(), static_cast<int>(rectangles.size()),
                            ShapeSet, Unsorted);
}

// GTK may set a window's shapes again when it maps one: the window's own come back after.
void OnMapped(GtkWidget*, gpointer data) {
  const GtkDesktop::NativeWindow* window = static_cast<const GtkDesktop::NativeWindow*>(data);
  if (window->shape) ApplyShape(gdk_x11_get_default_xdisplay(), *window);
}

bool HasCompositor(Display* display) {
  if (gdk_screen_is_composited(gdk_screen_get_default())) return true;
  const std::string selection = "_NET_WM_CM_S" + std::to_string(DefaultScreen(display));
  return XGetSelectionOwner(display, XInternAtom(display, selection.c_str(), False)) != None;
}

}  // namespace

void GtkDesktop::SetShape(WindowId id, const std::vector<Rect>* rectangles) {
  NativeWindow* window = Find(id);
  if (!window) return;
  int event_base = 0, error_base = 0;
  if (!XShapeQueryExtension(display_, &event_base, &error_base)) return;
  if (rectangles)
    window->shape = *rectangles;
  else
    window->shape.reset();
  if (!window->shape_kept_on_map) {
    g_signal_connect_after(window->widget, "map", G_CALLBACK(OnMapped), window);
    window->shape_kept_on_map = true;
  }
  ApplyShape(display_, *window);
  XFlush(display_);
}

bool GtkDesktop::SetOpacity(WindowId id, uint8_t opacity) {
  NativeWindow* window = Find(id);
  if (!window || !HasCompositor(display_)) return false;
  // GTK publishes it as _NET_WM_WINDOW_OPACITY for the compositor.
  gtk_widget_set_opacity(window->widget, opacity / 255.0);
  return true;
}

}  // namespace ixo::platform
