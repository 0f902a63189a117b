// One engine window: the state its input handlers, the animation and the command
// families share. Positions are stored in hundredths of a pixel; idle processing
// moves the real window there.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "graphics/image.h"
#include "platform/timers.h"
#include "platform/window_system.h"

namespace ixo {

inline constexpr int kMaxEngineWindows = 255;

enum class MoveAxis { kBoth = 0, kHorizontal = 1, kVertical = 2 };

// Motion of a window thrown across the screen.
struct AnimationState {
  int direction = 0;     // degrees; 0 moves down, 90 left, 180 up, 270 right
  int speed = 0;         // hundredths of a pixel per tick
  int friction = -1;     // each tick takes 10 × friction from the speed
  int sensibility = -1;  // nothing moves while it is 0 or less; scales a throw
  bool busy = false;     // a step is running
};

struct EngineWindow {
  int index = 0;
  platform::WindowId native = 0;

  float stored_x = 0;  // hundredths of a pixel
  float stored_y = 0;
  bool managed_position = true;
  bool movable = false;
  MoveAxis move_axis = MoveAxis::kBoth;
  bool can_go_out = false;
  bool close_on_escape = false;
  bool close_on_right_click = false;

  // Dragging with the left button.
  bool dragging = false;
  platform::Point drag_anchor;
  uint32_t press_tick = 0;
  platform::Point position_at_press;
  platform::Point cursor_sample_1;  // screen position at the last mouse move
  platform::Point cursor_sample_2;  // and at the one before
  bool mouse_inside = false;

  int key_code = 0;
  unsigned char key_character = 0;
  bool key_held = false;

  std::unique_ptr<graphics::Image> back_buffer;
  std::optional<std::string> group;
  int parent_index = -1;

  AnimationState animation;
  bool custom_draw = false;
  bool load_pending = false;
  bool polled = false;  // the poll timer looks after this window
  int activation_ignore_count = 0;

  platform::TimerId animation_timer = 0;
  platform::TimerId window_timer = 0;
  bool window_timer_enabled = false;
  int32_t window_timer_interval = 1000;

  const std::string& group_name() const {
    static const std::string kNone;
    return group ? *group : kNone;
  }
};

}  // namespace ixo
