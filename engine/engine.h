// The interpreter's state: everything a running object's script sees lives in one
// Engine, owned by the host (one per process in production, one per test).
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "engine/block_scan.h"
#include "engine/command_slots.h"
#include "engine/control_state.h"
#include "engine/current_header.h"
#include "engine/dispatcher.h"
#include "engine/execution_context.h"
#include "engine/line_cache.h"
#include "engine/random_generator.h"
#include "engine/script_image.h"
#include "engine/startup_state.h"
#include "engine/variables.h"
#include "platform/app_bars.h"
#include "platform/application.h"
#include "platform/clock.h"
#include "platform/input_state.h"
#include "platform/message_box.h"
#include "platform/monitors.h"
#include "platform/process_starter.h"
#include "platform/status_icons.h"
#include "platform/timers.h"
#include "platform/window_frames.h"
#include "platform/window_shapes.h"
#include "platform/window_stacking.h"
#include "platform/window_system.h"

namespace ixo::system {
class SettingsStore;
}  // namespace ixo::system

namespace ixo {

class EngineWindows;
namespace graphics {
struct DrawState;
}

// The platform services the interpreter calls. The host that creates the engine
// owns them and keeps them alive for the engine's lifetime.
struct PlatformServices {
  platform::MessageBox* message_box = nullptr;
  platform::Clock* clock = nullptr;
  platform::Application* application = nullptr;
  platform::WindowSystem* window_system = nullptr;
  platform::Timers* timers = nullptr;
  platform::InputState* input = nullptr;
  platform::ProcessStarter* process_starter = nullptr;
  // Services a desktop may lack; a null one means the host has none, and the
  // families keep their state without it.
  platform::WindowFrames* frames = nullptr;
  platform::WindowStacking* stacking = nullptr;
  platform::WindowShapes* shapes = nullptr;
  platform::Monitors* monitors = nullptr;
  platform::StatusIcons* status_icons = nullptr;
  platform::AppBars* app_bars = nullptr;
  // The user's settings kept between runs.
  system::SettingsStore* settings = nullptr;
};

// Where the interpreter reaches out to subsystems built on top of it.
struct EngineHooks {
  // Called with every error report as it is made (the hosts print it to stderr).
  std::function<void(const std::string& report)> on_error_report;
  // The group name of an engine window, "" when it has none or does not exist.
  std::function<std::string(int window_index)> window_group_name;
  // Called when a raise starts an event's handler (hosts and tests trace events).
  std::function<void(const std::string& name, int window_index)> on_event_started;
  // Called before a message box is shown (engine windows drop their drag state).
  std::function<void()> before_message_box;
};

class Engine {
 public:
  Engine(PlatformServices services, const FamilyTable& family_table)
      : platform(services), families(family_table) {}
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  PlatformServices platform;
  const FamilyTable& families;
  EngineHooks hooks;
  ScriptImage script;
  CommandSlots slots;
  ExecutionContext context;
  EventQueue queue;
  VariableTable variables;
  ControlState control;
  BlockScanner blocks{script};
  RandomGenerator random;
  LineCache decoded_lines;
  CurrentHeader header;
  StartupState startup;
  // The engine windows, once the host has created their table; nullptr before.
  EngineWindows* windows = nullptr;
  // The draw family's images and parameters, created by its first command.
  std::unique_ptr<graphics::DrawState, void (*)(graphics::DrawState*)> draw{nullptr, nullptr};
};

}  // namespace ixo
