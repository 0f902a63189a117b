// The desktop's monitors as GDK sees them through XRandR; the work area is the
// window manager's (_NET_WORKAREA) cut to each monitor.
#include <gtk/gtk.h>

#include "platform/desktop/gtk_desktop.h"

namespace ixo::platform {

std::vector<Monitor> GtkDesktop::All() {
  GdkDisplay* display = gdk_display_get_default();
  GdkMonitor* primary = gdk_display_get_primary_monitor(display);
  std::vector<Monitor> monitors;
  const int count = gdk_display_get_n_monitors(display);
  for (int i = 0; i < count; ++i) {
    GdkMonitor* monitor = gdk_display_get_monitor(display, i);
    GdkRectangle geometry, work_area;
    gdk_monitor_get_geometry(monitor, &geometry);
    gdk_monitor_get_workarea(monitor, &work_area);
    Monitor entry{{geometry.x, geometry.y, geometry.width, geometry.height},
                  {work_area.x, work_area.y, work_area.width, work_area.height}};
    if (monitor == primary)
      monitors.insert(monitors.begin(), entry);
    else
      monitors.push_back(entry);
  }
  if (monitors.empty()) {
    const Size screen = ScreenSize();
    monitors.push_back({{0, 0, screen.width, screen.height}, {0, 0, screen.width, screen.height}});
  }
  return monitors;
}

}  // namespace ixo::platform
