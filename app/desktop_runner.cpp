#include "app/desktop_runner.h"

#include <ostream>

#include "engine/engine.h"
#include "engine/family_table.h"
#include "platform/desktop/gtk_desktop.h"
#include "platform/desktop/gtk_message_box.h"
#include "platform/spawn_process_starter.h"
#include "platform/system_clock.h"
#include "system/lazy_settings_store.h"
#include "window/engine_windows.h"

namespace ixo {

int RunOnDesktop(const RunArguments& arguments, std::ostream& err) {
  std::string error;
  std::unique_ptr<platform::GtkDesktop> desktop = platform::GtkDesktop::Open(error);
  if (!desktop) {
    err << "ixoengine: " << error << ". Objects run without a display with: ixoengine --headless FILE\n";
    return 1;
  }
  platform::GtkMessageBox message_box;
  platform::SystemClock clock;
  platform::SpawnProcessStarter process_starter;
  PlatformServices services{&message_box, &clock,          desktop.get(),   desktop.get(),
                            desktop.get(), desktop.get(), &process_starter};
  services.frames = desktop.get();
  services.stacking = desktop.get();
  services.shapes = desktop.get();
  services.monitors = desktop.get();
  services.status_icons = desktop.get();
  services.app_bars = desktop.get();
  system::LazySettingsStore settings;
  services.settings = &settings;
  Engine engine(services, StandardFamilies());
  // An object's author sees the reports in the terminal the object was started from.
  engine.hooks.on_error_report = [&err](const std::string& report) { err << report << "\n\n" << std::flush; };
  EngineWindows windows(engine);
  RunObjectPackage(engine, windows, arguments, [&] { desktop->RunMessageLoop(); });
  return 0;
}

}  // namespace ixo
