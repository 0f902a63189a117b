// "load" and "save": bitmaps, JPEG pictures and icons, chosen by the file name's
// extension.
#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <vector>

#include "engine/error_report.h"
#include "engine/host_path.h"
#include "engine/value_text.h"
#include "engine/variables.h"
#include "graphics/bmp_codec.h"
#include "graphics/draw_command.h"
#include "graphics/ico_codec.h"
#include "graphics/jpeg_codec.h"
#include "graphics/picture_file_reader.h"
#include "graphics/kernels/kernels.h"

namespace ixo::graphics {

namespace {

std::string LowerExtension(const std::string& path) {
  const size_t dot = path.find_last_of('.');
  const size_t slash = path.find_last_of("/\\");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  std::string extension = path.substr(dot);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension;
}

bool FileExists(const std::string& path) { return std::ifstream(path, std::ios::binary).good(); }

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return out.good();
}

}  // namespace

Result LoadPictureCommand(Engine& engine, Image& image) {
  const std::string& name = Parameter(engine, 1);
  const std::string path = HostPath(name);
  const std::string extension = LowerExtension(name);
  const int x = Number(engine, 2, 0);
  const int y = Number(engine, 3, 0);
  const bool icon = extension == ".ico";
  if (!icon && extension != ".bmp" && extension != ".jpg") return std::string("0") + std::string(kListSeparator) + "0";
  if (name.empty() || !FileExists(path)) {
    ReportError(engine, message::kImageNotFound + name);
    return kNoResult;
  }
  const std::optional<std::vector<uint8_t>> bytes = ReadPictureFile(path);
  std::optional<Image> picture;
  if (bytes && icon) picture = DecodeIcon(*bytes, Number(engine, 4, 32), Number(engine, 5, 32));
  if (bytes && extension == ".bmp") picture = DecodeBmp(*bytes);
  if (bytes && extension == ".jpg") picture = DecodeJpeg(*bytes);
  if (!picture) {
    ReportError(engine, message::kImageNotLoaded + name);
    return kNoResult;
  }
  if (icon) {
    DrawIcon(*picture, image, x, y);
    return NumberText(picture->width());
  }
  picture->ConvertTo(24);
  image.GrowTo(x + picture->width(), y + picture->height());
  RasterCopy(*picture, image, 0, 0, picture->width(), picture->height(), x, y, image.drawing.copy_mode,
             image.drawing.brush.colour);
  image.ConvertTo(24);
  return NumberText(picture->width()) + std::string(kListSeparator) + NumberText(picture->height());
}

Result SavePictureCommand(Engine& engine, Image& image) {
  const std::string& name = Parameter(engine, 1);
  const std::string extension = LowerExtension(name);
  std::optional<std::vector<uint8_t>> bytes;
  if (extension == ".bmp") {
    const int bits = Number(engine, 2, 32);
    bytes = EncodeBmp(image, IsPixelFormat(bits) ? bits : 32);
  } else if (extension == ".jpg") {
    int quality = Number(engine, 2, 80) & 255;
    if (quality == 0) quality = 1;
    bytes = EncodeJpeg(image, quality, Parameter(engine, 3) == "1");
  } else {
    return std::string("success");
  }
  // A file that could not be written is not reported as a success.
  if (!bytes || !WriteFile(HostPath(name), *bytes)) return std::string("toolarge");
  return std::string("success");
}

}  // namespace ixo::graphics
