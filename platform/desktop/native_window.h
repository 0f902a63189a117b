// The desktop host's record of one engine window, shared by the files that
// implement GtkDesktop's services. Private to platform/desktop.
#pragma once

#include <gtk/gtk.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/app_bars.h"
#include "platform/desktop/gtk_desktop.h"
#include "platform/window_frames.h"

namespace ixo::platform {

struct GtkDesktop::NativeWindow {
  GtkDesktop* desktop = nullptr;
  WindowId id = 0;
  GtkWidget* widget = nullptr;
  WindowListener* listener = nullptr;
  Rect bounds;          // as the engine set it or the window manager reported it
  // The engine's last move or resize that the window manager has not yet
  // confirmed, and how often it was asked again: answers to earlier requests
  // that arrive meanwhile must not undo it.
  std::optional<Rect> requested;
  int request_retries = 0;
  bool visible = false;
  bool painting = false;  // inside the draw handler: a new picture needs no new draw
  cairo_surface_t* picture = nullptr;

  // Frame
  std::string title = "ixo";  // script text
  bool decorated = false;
  bool enabled = true;        // a disabled window takes no pointer or key input
  WindowState state = WindowState::kNormal;  // as asked, then as the window manager reports it
  bool keep_above = false;

  // Stacking: the engine window this one is a control of, 0 for a top-level window.
  WindowId parent = 0;

  // Shape: the rectangles in client coordinates; nothing for a rectangular window.
  std::optional<std::vector<Rect>> shape;
  bool shape_kept_on_map = false;  // the map handler that puts the shape back is connected

  // Status icon and its balloon (a NotifyNotification).
  GtkStatusIcon* status_icon = nullptr;
  GObject* balloon = nullptr;

  // App bar
  bool app_bar = false;
  std::optional<ScreenEdge> app_bar_edge;  // set once a strip is reserved
  Rect app_bar_strip;

  ~NativeWindow();
};

// Shows or hides a window without telling the engine, for changes the window
// manager reads only while a window is unmapped (its type, its parent).
void RemapWindow(GtkDesktop::NativeWindow& window, const std::function<void()>& change_while_unmapped);

// A picture of blue, green, red bytes as a new RGB pixbuf; nullptr when it has no pixels.
GdkPixbuf* PixbufOfPicture(PixelView picture);

// The X window's 32-bit property values of a type; empty when it has none.
std::vector<unsigned long> CardinalProperty(_XDisplay* display, unsigned long window, const char* name,
                                            unsigned long type);

}  // namespace ixo::platform
