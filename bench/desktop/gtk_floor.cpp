// The toolkit's floor for the desktop benchmark: one undecorated 64x64 GTK 3
// window that does nothing, so that its CPU time, wake-ups and memory can be
// set beside an idle object's. Written in the C API alone, as GTK's own
// examples are.
#include <gtk/gtk.h>

int main(int argc, char** argv) {
  gdk_set_allowed_backends("x11");
  gtk_init(&argc, &argv);
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), "gtk-floor");
  gtk_window_set_decorated(GTK_WINDOW(window), FALSE);
  gtk_window_set_default_size(GTK_WINDOW(window), 64, 64);
  gtk_window_move(GTK_WINDOW(window), 200, 200);
  g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
  gtk_widget_show(window);
  gtk_main();
  return 0;
}
