// The "draw" family. K2 is "mem", "isequal", "mx", or an image reference naming
// the current image whose operation K3 names ("paint" in K3 names a window):
//   "m..."         the back buffer of window 0
//   0 .. 254       the back buffer of that window, when it exists and has one
//   -1 .. -256     memory image 1 .. 256, created 1×1 black when its slot is empty
// Everything else names no image.
#include "graphics/draw_family.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "engine/error_report.h"
#include "engine/messages.h"
#include "engine/value_text.h"
#include "engine/variables.h"
#include "graphics/draw_command.h"
#include "window/engine_windows.h"

namespace ixo {

namespace graphics {

DrawState& DrawStateOf(Engine& engine) {
  if (!engine.draw) engine.draw = {new DrawState, [](DrawState* state) { delete state; }};
  return *engine.draw;
}

Image* ResolveImage(Engine& engine, std::string_view reference) {
  int32_t number = 0;
  if (!reference.empty() && reference[0] == 'm') {
    number = 0;
  } else {
    number = EvaluateNumber(reference, -10000);
  }
  if (number >= 0 && number <= 254) {
    EngineWindow* window = engine.windows ? engine.windows->at(number) : nullptr;
    return window ? window->back_buffer.get() : nullptr;
  }
  if (number >= -256 && number <= -1) return DrawStateOf(engine).memory.Get(-number - 1);
  return nullptr;
}

Image* ResolveImageOrReport(Engine& engine, std::string_view reference) {
  Image* image = ResolveImage(engine, reference);
  if (!image) ReportError(engine, message::kInvalidImage);
  return image;
}

namespace {

bool IsMemoryImage(Engine& engine, const Image* image) {
  MemoryImages& memory = DrawStateOf(engine).memory;
  for (int slot = 0; slot < kMemoryImageSlots; ++slot)
    if (memory.Holds(slot) && memory.Get(slot) == image) return true;
  return false;
}

// The slot "mem" "exists" and "delete" mean: abs(n + 1), so -1 .. -256 name their own.
int64_t MemorySlot(const Engine& engine) { return std::llabs(int64_t{Number(engine, 1, 2)} + 1); }

Result Memory(Engine& engine) {
  DrawState& state = DrawStateOf(engine);
  const std::string& operation = engine.slots.K(3);
  if (operation == "create") {
    const int slot = state.memory.Create();
    if (slot < 0) return kNoResult;
    return NumberText(-(slot + 1));
  }
  if (operation == "exists") {
    const int64_t slot = MemorySlot(engine);
    if (slot > 255) return NumberText(-1);
    return FlagText(state.memory.Holds(static_cast<int>(slot)));
  }
  if (operation == "delete") {
    const int64_t slot = MemorySlot(engine);
    if (slot > 255) {
      ReportError(engine, message::kInvalidImage);
    } else {
      state.memory.Release(static_cast<int>(slot));
    }
  }
  return kNoResult;
}

// Sets a parameter from P(n) unless that slot is empty.
void Keep(const Engine& engine, int n, int& value) {
  if (!IsEmpty(engine, n)) value = Number(engine, n, 0);
}

Result Matrix(Engine& engine) {
  DrawState& state = DrawStateOf(engine);
  const std::string& operation = engine.slots.K(3);
  if (operation == "deform") {
    Keep(engine, 1, state.deform.top_left);
    Keep(engine, 2, state.deform.top_right);
    Keep(engine, 3, state.deform.bottom_left);
    Keep(engine, 4, state.deform.bottom_right);
  } else if (operation == "effects") {
    EffectParameters& effects = state.effects;
    Keep(engine, 1, effects.mode);
    Keep(engine, 2, effects.x_step);
    Keep(engine, 3, effects.y_step);
    for (int k = 0; k < 3; ++k) Keep(engine, 4 + k, effects.opacity[k]);
    for (int k = 0; k < 3; ++k) Keep(engine, 7 + k, effects.shift[k]);
    Keep(engine, 10, effects.cycle_length);
  }
  return kNoResult;
}

Result LastDifference(Engine& engine) {
  const DrawState& state = DrawStateOf(engine);
  if (engine.slots.K(3) == "x") return NumberText(state.difference_x);
  if (engine.slots.K(3) == "y") return NumberText(state.difference_y);
  return kNoResult;
}

Result GetPixels(Engine& engine, Image& image) {
  std::string colours;
  for (int pair = 0; pair < 6; ++pair) {
    const int x_parameter = 1 + 2 * pair;
    if (pair > 0) {
      if (IsEmpty(engine, x_parameter)) break;
      colours += kListSeparator;
    }
    const int x = Number(engine, x_parameter, 0);
    const int y = Number(engine, x_parameter + 1, 0);
    colours += NumberText(image.contains(x, y) ? static_cast<int32_t>(image.Pixel(x, y)) : -1);
  }
  return colours;
}

Result SetPixel(Engine& engine, Image& image) {
  const int x = Number(engine, 1, 0);
  const int y = Number(engine, 2, 0);
  if (image.contains(x, y)) image.SetPixel(x, y, static_cast<uint32_t>(Number(engine, 3, 0)));
  return kNoResult;
}

Result CopyMode(Engine& engine, Image& image) {
  static constexpr std::pair<std::string_view, RasterOperation> kModes[] = {
      {"srccopy", RasterOperation::kSourceCopy},       {"srcand", RasterOperation::kSourceAnd},
      {"srcinvert", RasterOperation::kSourceInvert},   {"srcerase", RasterOperation::kSourceErase},
      {"notsrccopy", RasterOperation::kNotSourceCopy}, {"notsrcerase", RasterOperation::kNotSourceErase},
      {"mergecopy", RasterOperation::kMergeCopy},      {"mergepaint", RasterOperation::kMergePaint},
      {"patcopy", RasterOperation::kPatternCopy},      {"patinvert", RasterOperation::kPatternInvert},
      {"dstinvert", RasterOperation::kDestinationInvert}};
  for (const auto& [keyword, operation] : kModes)
    if (Parameter(engine, 1) == keyword) image.drawing.copy_mode = operation;
  return kNoResult;
}

Result Width(Engine& engine, Image& image) {
  if (IsEmpty(engine, 1)) return NumberText(image.width());
  image.Resize(Number(engine, 1, 0), image.height());
  return kNoResult;
}

Result Height(Engine& engine, Image& image) {
  if (IsEmpty(engine, 1)) return NumberText(image.height());
  image.Resize(image.width(), Number(engine, 1, 0));
  return kNoResult;
}

Result Size(Engine& engine, Image& image) {
  image.Resize(Number(engine, 1, 0), Number(engine, 2, 0));
  return kNoResult;
}

Result PixelFormat(Engine& engine, Image& image) {
  image.ConvertTo(Number(engine, 1, 0));
  return kNoResult;
}

struct Operation {
  std::string_view name;
  Result (*run)(Engine&, Image&);
};

// In the order they are tried.
constexpr Operation kOperations[] = {
    {"rotate", RotateCommand},        {"copyfrom", CopyFromCommand},     {"brushfrom", BrushFromCommand},
    {"line", DrawLineCommand},        {"rect", DrawRectCommand},         {"polygon", DrawPolygonCommand},
    {"ellipse", DrawEllipseCommand},  {"isegual", CompareCommand},       {"getpixel", GetPixels},
    {"setpixel", SetPixel},           {"copymode", CopyMode},            {"width", Width},
    {"height", Height},               {"size", Size},                    {"pixelformat", PixelFormat},
    {"text", DrawTextCommand},        {"load", LoadPictureCommand},      {"save", SavePictureCommand},
};

}  // namespace

}  // namespace graphics

Result DrawFamily(Engine& engine) {
  using namespace graphics;
  const std::string& target = engine.slots.K(2);
  if (target == "mem") return Memory(engine);
  if (engine.slots.K(3) == "paint") return PaintCommand(engine);
  if (target == "isequal") return LastDifference(engine);
  if (target == "mx") return Matrix(engine);
  Image* image = ResolveImageOrReport(engine, target);
  if (!image) return kNoResult;
  for (const Operation& operation : kOperations) {
    if (engine.slots.K(3) != operation.name) continue;
    Result result = operation.run(engine, *image);
    // Windows show 24-bit pictures: a back buffer given another depth keeps the
    // colours that depth left it and goes back to 24 bits at once.
    if (!IsMemoryImage(engine, image)) image->ConvertTo(24);
    return result;
  }
  ReportError(engine, ixo::message::kUnknownCommand);
  return kNoResult;
}

}  // namespace ixo
