// Windows gliding across the screen: each animated window has a heading and a
// speed, loses speed by friction every 20 ms tick and bounces off the edges of
// its bounds area. Only the stored position changes; idle processing moves the
// real window there.
#pragma once

#include <cstdint>

#include "engine/result.h"
#include "platform/geometry.h"

namespace ixo {

class Engine;
class EngineWindows;
struct EngineWindow;

inline constexpr unsigned kAnimationIntervalMs = 20;

// Brings an angle in degrees into 0 to 359.
int NormalizeAngle(int64_t degrees);

// The area a window moves in: the client of the engine window it is a child of,
// otherwise the screen.
platform::Size BoundsArea(EngineWindows& windows, const EngineWindow& window);

// Keeps the stored position inside the bounds area.
void ClampStoredPosition(EngineWindows& windows, EngineWindow& window);

// One tick of the animation timer.
void AnimationStep(EngineWindows& windows, int index);

// The left button let go of a dragged window: the last movement of the pointer
// becomes a throw when it had both a horizontal and a vertical part.
void ThrowGesture(EngineWindows& windows, int index);

void StartAnimationTimer(EngineWindows& windows, int index);

// The "anim" family: heading, speed, friction and sensibility of a window.
Result AnimFamily(Engine& engine);

}  // namespace ixo
