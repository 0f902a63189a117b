#include "engine/num_family.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <string_view>

#include "engine/condition.h"
#include "engine/engine.h"
#include "engine/error_report.h"
#include "engine/messages.h"
#include "engine/numeric_expression.h"
#include "engine/value_text.h"

namespace ixo {

namespace {

// What "compute" gives for a text that is no numeric expression.
constexpr int32_t kNotAnExpression = -2147483645;

int32_t Number(const Engine& engine, int parameter, int32_t fallback = 0) {
  return EvaluateNumber(engine.slots.P(parameter), fallback);
}

// Two's-complement wrap, as 32-bit machine arithmetic gives it.
int32_t Wrap(int64_t value) { return static_cast<int32_t>(value); }

// Truncates toward zero; values beyond the 32-bit range stick at its ends.
int32_t TruncateToInt32(double value) {
  double truncated = std::trunc(value);
  if (truncated >= 2147483648.0) return std::numeric_limits<int32_t>::max();
  if (truncated <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(truncated);
}

// Into 0..359, the result repeated additions or subtractions of 360 would reach.
int32_t NormalizeAngle(int64_t degrees) {
  return static_cast<int32_t>(((degrees % 360) + 360) % 360);
}

double Radians(int32_t degrees) { return degrees * std::numbers::pi / 180.0; }

Result Compute(Engine& engine) { return NumberText(Number(engine, 1, kNotAnExpression)); }

Result Eval(Engine& engine) { return NumberText(EvaluateConditionCode(engine.slots.P(1))); }

// The absolute value of the most negative number wraps to itself.
Result Abs(Engine& engine) {
  int64_t value = Number(engine, 1);
  return NumberText(Wrap(value < 0 ? -value : value));
}

Result Not(Engine& engine) { return NumberText(Wrap(-int64_t{Number(engine, 1)})); }

Result Sin(Engine& engine) {
  return NumberText(TruncateToInt32(Number(engine, 2, 1) * std::sin(Radians(Number(engine, 1)))));
}

Result Cos(Engine& engine) {
  return NumberText(TruncateToInt32(Number(engine, 2, 1) * std::cos(Radians(Number(engine, 1)))));
}

Result Rgb(Engine& engine) {
  uint32_t red = static_cast<uint32_t>(Number(engine, 1)) & 255u;
  uint32_t green = static_cast<uint32_t>(Number(engine, 2)) & 255u;
  uint32_t blue = static_cast<uint32_t>(Number(engine, 3)) & 255u;
  return NumberText(static_cast<int32_t>(red | green << 8 | blue << 16));
}

int32_t ColourComponent(const Engine& engine, int shift) {
  return static_cast<int32_t>((static_cast<uint32_t>(Number(engine, 1)) >> shift) & 255u);
}

Result Red(Engine& engine) { return NumberText(ColourComponent(engine, 0)); }
Result Green(Engine& engine) { return NumberText(ColourComponent(engine, 8)); }
Result Blue(Engine& engine) { return NumberText(ColourComponent(engine, 16)); }

Result Char(Engine& engine) {
  const std::string& text = engine.slots.P(1);
  return NumberText(text.empty() ? 0 : static_cast<signed char>(text[0]));
}

// low + (r mod distance), the remainder signed as in truncating division, so with
// high below low the result lies above low. The distance is taken exactly, so the
// widest ranges still give values from low up to high.
Result Random(Engine& engine) {
  int32_t low = Number(engine, 1);
  int32_t high = Number(engine, 2);
  if (high == low) return NumberText(low);
  int64_t distance = int64_t{high} - low;
  int64_t r = engine.random.LongStep();
  return NumberText(Wrap(low + r % distance));
}

// One step towards the target along the shorter way round.
Result ChangeAngle(Engine& engine) {
  int64_t current = Number(engine, 1);
  int64_t target = Number(engine, 2);
  int64_t step = Number(engine, 3);
  bool turn_back = NormalizeAngle(target - current) > 180;
  return NumberText(NormalizeAngle(turn_back ? current - step : current + step));
}

Result GetDistance(Engine& engine) {
  double dx = static_cast<double>(int64_t{Number(engine, 3)} - Number(engine, 1));
  double dy = static_cast<double>(int64_t{Number(engine, 4)} - Number(engine, 2));
  return NumberText(TruncateToInt32(std::sqrt(dx * dx + dy * dy)));
}

// Compass-style: horizontal and vertical pairs give 180, (0,0) to (10,10) gives 315.
Result GetAngle(Engine& engine) {
  int64_t a = int64_t{Number(engine, 1)} - Number(engine, 3);
  int64_t b = int64_t{Number(engine, 2)} - Number(engine, 4);
  double t = 90.0;
  if (a != 0 && b != 0)
    t = std::atan2(static_cast<double>(b), static_cast<double>(a)) * 180.0 / std::numbers::pi + 90.0;
  int32_t angle = 360 - NormalizeAngle(static_cast<int64_t>(t)) - 90;
  return NumberText(angle < 0 ? angle + 360 : angle);
}

struct Operation {
  std::string_view name;
  Result (*run)(Engine& engine);
};

constexpr Operation kOperations[] = {
    {"compute", Compute}, {"eval", Eval},       {"abs", Abs},
    {"not", Not},         {"sin", Sin},         {"cos", Cos},
    {"rgb", Rgb},         {"red", Red},         {"green", Green},
    {"blue", Blue},       {"char", Char},       {"random", Random},
    {"changeangle", ChangeAngle}, {"getdistance", GetDistance}, {"getangle", GetAngle},
};

}  // namespace

Result NumFamily(Engine& engine) {
  for (const Operation& operation : kOperations)
    if (engine.slots.K(2) == operation.name) return operation.run(engine);
  ReportError(engine, message::kUnknownCommand);
  return kNoResult;
}

}  // namespace ixo
