// "text" and its sub-commands (K4): plain text placed in a box, the font's size,
// height, character set, style and name, and "ex" with a whole new font.
#include <algorithm>

#include "engine/error_report.h"
#include "engine/messages.h"
#include "engine/value_text.h"
#include "graphics/draw_command.h"
#include "graphics/text_renderer.h"

namespace ixo::graphics {

namespace {

// Face names are cut to the length font requests allow.
constexpr size_t kMaxFaceName = 31;

bool IsOne(const Engine& engine, int n) { return Parameter(engine, n) == "1"; }

Result PlainText(Engine& engine, Image& image) {
  FontDescription& font = image.drawing.font;
  const std::string& text = Parameter(engine, 5);
  const TextSize size = MeasureText(font, text);
  int64_t x = Number(engine, 1, 0);
  int64_t y = Number(engine, 2, 0);
  if (!IsEmpty(engine, 3)) {
    const int64_t box_width = Number(engine, 3, 0);
    if (Parameter(engine, 7) == "center") x += box_width / 2 - size.width / 2;
    if (Parameter(engine, 7) == "right") x += box_width - size.width;
  }
  if (!IsEmpty(engine, 4)) {
    const int64_t box_height = Number(engine, 4, 0);
    if (Parameter(engine, 8) == "center") y += box_height / 2 - size.height / 2;
    if (Parameter(engine, 8) == "bottom") y += box_height - size.height;
  }
  font.colour = static_cast<uint32_t>(Number(engine, 6, 0)) & 0xFFFFFF;
  const int left = static_cast<int>(std::clamp<int64_t>(x, -kMaxImageSide, kMaxImageSide));
  const int top = static_cast<int>(std::clamp<int64_t>(y, -kMaxImageSide, kMaxImageSide));
  image.GrowTo(left + size.width, top + size.height);
  DrawText(image, font, left, top, text);
  return kNoResult;
}

Result ExtendedText(Engine& engine, Image& image) {
  FontDescription font;
  font.height = IsEmpty(engine, 5) ? 0 : Number(engine, 5, 0);
  font.colour = IsEmpty(engine, 6) ? image.drawing.font.colour : static_cast<uint32_t>(Number(engine, 6, 0)) & 0xFFFFFF;
  font.weight = 0;
  if (!IsEmpty(engine, 7)) font.weight = Number(engine, 7, 0) == 1 ? 700 : Number(engine, 7, 0);
  if (!IsEmpty(engine, 8)) font.width = Number(engine, 8, 0);
  if (!IsEmpty(engine, 9)) font.escapement = static_cast<int>(std::clamp<int64_t>(int64_t{Number(engine, 9, 0)} * 10, -3600000, 3600000));
  if (!IsEmpty(engine, 10)) font.italic = IsOne(engine, 10);
  if (!IsEmpty(engine, 11)) font.underline = IsOne(engine, 11);
  font.name = Parameter(engine, 4).substr(0, kMaxFaceName);
  image.drawing.font = font;
  const std::string& text = Parameter(engine, 3);
  if (engine.slots.K(5) != "getwidth") DrawText(image, font, Number(engine, 1, 0), Number(engine, 2, 0), text);
  return NumberText(MeasureText(font, text).width);
}

}  // namespace

Result DrawTextCommand(Engine& engine, Image& image) {
  FontDescription& font = image.drawing.font;
  const std::string& part = engine.slots.K(4);
  if (part.empty()) return PlainText(engine, image);
  if (part == "getwidth") return NumberText(MeasureText(font, Parameter(engine, 1)).width);
  if (part == "size") {
    font.height = FontHeightForPoints(std::clamp(Number(engine, 1, 10), -3000, 3000));
  } else if (part == "height") {
    font.height = Number(engine, 1, 10);
  } else if (part == "charset") {
    font.charset = Number(engine, 1, 0) & 255;
  } else if (part == "style") {
    font.weight = IsOne(engine, 1) ? 700 : 400;
    font.italic = IsOne(engine, 2);
    font.underline = IsOne(engine, 3);
    font.strike_out = IsOne(engine, 4);
  } else if (part == "font") {
    font.name = Parameter(engine, 1) + (IsOne(engine, 2) ? " Bold" : "");
  } else if (part == "ex") {
    return ExtendedText(engine, image);
  } else {
    ReportError(engine, ixo::message::kUnknownCommand);
  }
  return kNoResult;
}

}  // namespace ixo::graphics
