// The window commands that read pictures: "icon", "image" "load", and the
// outlines "shape" "load" (from a bitmap file) and "shape" "from" (a draw image).
#include "graphics/window_picture_commands.h"

#include <stdexcept>

#include "engine/ascii_case.h"
#include "engine/error_report.h"
#include "engine/host_path.h"
#include "graphics/bmp_codec.h"
#include "graphics/draw_command.h"
#include "graphics/ico_codec.h"
#include "graphics/jpeg_codec.h"
#include "graphics/picture_file_reader.h"

namespace ixo::window_commands {

namespace {

constexpr const char* kCannotFindFile = "Cannot find file ";
constexpr const char* kNotAPicture = "Image must be .bmp or .jpg file.";
constexpr int kIconSize = 32;

std::optional<std::vector<uint8_t>> ReadBytes(const std::string& script_path) {
  return graphics::ReadPictureFile(HostPath(script_path));
}

// A picture a script names that cannot be read is an error that escapes the
// command, as the window system's own decoders let it.
[[noreturn]] void CannotDecode(const std::string& path) {
  throw std::runtime_error("The picture " + path + " cannot be read.");
}

}  // namespace

std::optional<graphics::Image> LoadIconPicture(const std::string& path) {
  std::optional<std::vector<uint8_t>> bytes = ReadBytes(path);
  if (!bytes) return std::nullopt;
  std::optional<graphics::Image> icon = graphics::DecodeIcon(*bytes, kIconSize, kIconSize);
  if (icon) icon->ConvertTo(24);
  return icon;
}

Handled IconCommand(Target& t) {
  if (!ReadBytes(t.P(1))) return kDone;
  std::optional<graphics::Image> icon = LoadIconPicture(t.P(1));
  if (!icon) CannotDecode(t.P(1));
  if (platform::WindowFrames* frames = t.engine.platform.frames) frames->SetIcon(t.native(), icon->view());
  return kDone;
}

Handled ImageCommand(Target& t) {
  if (t.K(4) != "load") return Unknown(t.engine);
  const std::string& name = t.P(1);
  std::optional<std::vector<uint8_t>> bytes = ReadBytes(name);
  if (!bytes) {
    ReportError(t.engine, kCannotFindFile);
    return kDone;
  }
  EnsureBackBuffer(t.windows, t.index);
  const std::string lower = LowerAscii(name);
  std::optional<graphics::Image> picture;
  if (lower.ends_with(".bmp")) {
    picture = graphics::DecodeBmp(*bytes);
  } else if (lower.ends_with(".jpg")) {
    picture = graphics::DecodeJpeg(*bytes);
  } else {
    ReportError(t.engine, kNotAPicture);
    return kDone;
  }
  if (!picture) CannotDecode(name);
  picture->ConvertTo(24);
  graphics::Image& buffer = *t.windows.at(t.index)->back_buffer;
  buffer = std::move(*picture);
  if (t.P(3) != "0") {
    platform::Rect client = t.windows.window_system.Bounds(t.native());
    t.windows.window_system.SetBounds(t.native(), {client.left, client.top, buffer.width(), buffer.height()});
  }
  if (t.P(2) != "0") PaintWindow(t.windows, t.index);
  return kDone;
}

void ShapeFromFile(Target& t) {
  std::optional<std::vector<uint8_t>> bytes = ReadBytes(t.P(1));
  if (!bytes) return;  // a missing file changes nothing
  std::optional<graphics::Image> picture = graphics::DecodeBmp(*bytes);
  if (!picture) CannotDecode(t.P(1));
  picture->ConvertTo(24);
  graphics::RegionRequest request;
  request.image = &*picture;
  request.width = picture->width();
  request.height = picture->height();
  request.key_colour = t.Number(4, -1);
  ApplyBuiltRegion(t, request, "");
  if (t.P(3) != "0") {
    platform::Rect client = t.windows.window_system.Bounds(t.native());
    t.windows.window_system.SetBounds(t.native(), {client.left, client.top, picture->width(), picture->height()});
  }
  EnsureBackBuffer(t.windows, t.index);
  if (t.P(2) != "0") {
    *t.windows.at(t.index)->back_buffer = *picture;
    PaintWindow(t.windows, t.index);
  }
  t.windows.window_system.Invalidate(t.native());
}

void ShapeFromImage(Target& t) {
  graphics::Image* image = graphics::ResolveImageOrReport(t.engine, t.K(5));
  if (!image) return;
  image->ConvertTo(24);
  graphics::RegionRequest request;
  request.image = image;
  request.x0 = t.Number(1, 0);
  request.y0 = t.Number(2, 0);
  request.width = t.Number(3, image->width());
  request.height = t.Number(4, image->height());
  request.dx = t.Number(5, 0);
  request.dy = t.Number(6, 0);
  request.key_colour = t.Number(7, -1);
  ApplyBuiltRegion(t, request, t.P(8));
}

}  // namespace ixo::window_commands
