// What the parts of the draw family share: reading the command's parameters,
// resolving image references and the family's messages.
#pragma once

#include <string>
#include <string_view>

#include "engine/engine.h"
#include "engine/numeric_expression.h"
#include "engine/result.h"
#include "graphics/draw_family.h"
#include "graphics/draw_state.h"
#include "graphics/image.h"

namespace ixo::graphics {

namespace message {
inline constexpr const char* kInvalidImage = "Invalid image.";
inline constexpr const char* kInvalidWindow = "The window index is invalid.";
inline constexpr const char* kImageNotFound = "Image cannot be found : ";
inline constexpr const char* kImageNotLoaded =
    "The image has not been loaded, probably because used by another application.";
}  // namespace message

inline const std::string& Parameter(const Engine& engine, int n) { return engine.slots.P(n); }
inline bool IsEmpty(const Engine& engine, int n) { return engine.slots.P(n).empty(); }
inline int32_t Number(const Engine& engine, int n, int32_t fallback) {
  return EvaluateNumber(engine.slots.P(n), fallback);
}

// The image a reference names (see the family's comment), creating an empty
// memory slot's image; nullptr when it names none.
Image* ResolveImage(Engine& engine, std::string_view reference);

// Same, reporting "Invalid image." when it names none.
Image* ResolveImageOrReport(Engine& engine, std::string_view reference);

// The operations on the current image; each reads the slots.
Result DrawLineCommand(Engine& engine, Image& image);
Result DrawRectCommand(Engine& engine, Image& image);
Result DrawEllipseCommand(Engine& engine, Image& image);
Result DrawPolygonCommand(Engine& engine, Image& image);
Result DrawTextCommand(Engine& engine, Image& image);
Result LoadPictureCommand(Engine& engine, Image& image);
Result SavePictureCommand(Engine& engine, Image& image);
Result CopyFromCommand(Engine& engine, Image& image);
Result BrushFromCommand(Engine& engine, Image& image);
Result RotateCommand(Engine& engine, Image& image);
Result CompareCommand(Engine& engine, Image& image);
Result PaintCommand(Engine& engine);

}  // namespace ixo::graphics
