// Status icons as GtkStatusIcon (the system tray; GTK 3 keeps it, deprecated)
// and their balloons as desktop notifications. Pointer activity on an icon
// travels to its window as a private message, the way other engines' messages
// do, so that the window hears of it on the message loop.
#include <gtk/gtk.h>
#include <libnotify/notify.h>

#include <cstdlib>

#include "engine/script_charset.h"
#include "platform/desktop/gtk_desktop.h"
#include "platform/desktop/native_window.h"

namespace ixo::platform {

namespace {

constexpr uint32_t kStatusIconMessage = PrivateMessageNumber(PrivateMessage::kStatusIcon);

using Native = GtkDesktop::NativeWindow;

void Report(Native* window, uint64_t notification) {
  window->desktop->PostPrivateMessage(window->id, kStatusIconMessage, 0, notification);
}

gboolean OnIconButtonPress(GtkStatusIcon*, GdkEventButton* event, gpointer data) {
  Native* window = static_cast<Native*>(data);
  if (event->button == 1 && event->type == GDK_BUTTON_PRESS) Report(window, kIconLeftDown);
  if (event->button == 1 && event->type == GDK_2BUTTON_PRESS) Report(window, kIconLeftDoubleClick);
  if (event->button == 3 && event->type == GDK_BUTTON_PRESS) Report(window, kIconRightDown);
  return TRUE;
}

gboolean OnIconButtonRelease(GtkStatusIcon*, GdkEventButton* event, gpointer data) {
  if (event->button == 1) Report(static_cast<Native*>(data), kIconLeftUp);
  return TRUE;
}

// Without the pointer (the keyboard, an accessibility tool) the icon is
// activated or asked for its menu: a left click and a right press.
void OnIconActivate(GtkStatusIcon*, gpointer data) {
  Report(static_cast<Native*>(data), kIconLeftDown);
  Report(static_cast<Native*>(data), kIconLeftUp);
}

void OnIconPopupMenu(GtkStatusIcon*, guint, guint, gpointer data) { Report(static_cast<Native*>(data), kIconRightDown); }

// The tray tells of the pointer resting on the icon only when it asks for the
// hint: that stands for the pointer moving over it.
gboolean OnIconQueryTooltip(GtkStatusIcon*, gint, gint, gboolean keyboard, GtkTooltip*, gpointer data) {
  if (!keyboard) Report(static_cast<Native*>(data), kIconMouseMove);
  return FALSE;
}

const char* IconNameOf(BalloonIcon icon) {
  switch (icon) {
    case BalloonIcon::kInformation: return "dialog-information";
    case BalloonIcon::kWarning: return "dialog-warning";
    case BalloonIcon::kError: return "dialog-error";
    case BalloonIcon::kNone: break;
  }
  return nullptr;
}

}  // namespace

bool GtkDesktop::StartNotifications() {
  if (notifications_started_) return notify_is_initted();
  notifications_started_ = true;
  // Without a session bus there is no notification service; looking for one
  // would start a bus of its own.
  const char* bus = std::getenv("DBUS_SESSION_BUS_ADDRESS");
  if (!bus || !*bus) return false;
  return notify_init("ixo");
}

void GtkDesktop::StopNotifications() {
  if (notifications_started_ && notify_is_initted()) notify_uninit();
}

void GtkDesktop::ShowStatusIcon(WindowId owner, const StatusIconContent& content) {
  NativeWindow* window = Find(owner);
  if (!window) return;
  G_GNUC_BEGIN_IGNORE_DEPRECATIONS
  if (!window->status_icon) {
    window->status_icon = gtk_status_icon_new();
    g_signal_connect(window->status_icon, "button-press-event", G_CALLBACK(OnIconButtonPress), window);
    g_signal_connect(window->status_icon, "button-release-event", G_CALLBACK(OnIconButtonRelease), window);
    g_signal_connect(window->status_icon, "activate", G_CALLBACK(OnIconActivate), window);
    g_signal_connect(window->status_icon, "popup-menu", G_CALLBACK(OnIconPopupMenu), window);
    g_signal_connect(window->status_icon, "query-tooltip", G_CALLBACK(OnIconQueryTooltip), window);
  }
  GtkStatusIcon* icon = window->status_icon;
  if (GdkPixbuf* pixbuf = PixbufOfPicture(content.icon)) {
    gtk_status_icon_set_from_pixbuf(icon, pixbuf);
    g_object_unref(pixbuf);
  } else {
    gtk_status_icon_set_from_icon_name(icon, "application-x-executable");
  }
  const std::string tooltip = source::WindowsTextToUtf8(content.tooltip);
  gtk_status_icon_set_tooltip_text(icon, tooltip.c_str());
  gtk_status_icon_set_has_tooltip(icon, TRUE);
  gtk_status_icon_set_title(icon, tooltip.c_str());
  gtk_status_icon_set_visible(icon, TRUE);
  G_GNUC_END_IGNORE_DEPRECATIONS

  if (content.balloon_title.empty() || !StartNotifications()) return;
  const std::string title = source::WindowsTextToUtf8(content.balloon_title);
  const std::string text = source::WindowsTextToUtf8(content.balloon_text);
  const char* icon_name = IconNameOf(content.balloon_icon);
  // One balloon per icon: a new one takes the place of the last.
  if (window->balloon) {
    notify_notification_update(NOTIFY_NOTIFICATION(window->balloon), title.c_str(), text.c_str(), icon_name);
  } else {
    window->balloon = G_OBJECT(notify_notification_new(title.c_str(), text.c_str(), icon_name));
    notify_notification_set_app_name(NOTIFY_NOTIFICATION(window->balloon), "ixo");
  }
  // When no notification service answers, the balloon is not shown and nothing else happens.
  GError* error = nullptr;
  if (!notify_notification_show(NOTIFY_NOTIFICATION(window->balloon), &error)) g_clear_error(&error);
}

void GtkDesktop::HideStatusIcon(WindowId owner) {
  NativeWindow* window = Find(owner);
  if (!window || !window->status_icon) return;
  G_GNUC_BEGIN_IGNORE_DEPRECATIONS
  gtk_status_icon_set_visible(window->status_icon, FALSE);
  G_GNUC_END_IGNORE_DEPRECATIONS
  g_signal_handlers_disconnect_by_data(window->status_icon, window);
  g_object_unref(window->status_icon);
  window->status_icon = nullptr;
  if (window->balloon) {
    GError* error = nullptr;
    if (!notify_notification_close(NOTIFY_NOTIFICATION(window->balloon), &error)) g_clear_error(&error);
    g_object_unref(window->balloon);
    window->balloon = nullptr;
  }
}

}  // namespace ixo::platform
