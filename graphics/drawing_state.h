// What every image keeps for drawing into it: pen, brush, font and the raster
// operation of block copies. Colours are numbers with red in the low byte.
#pragma once

#include <cstdint>
#include <string>

namespace ixo::graphics {

// The eleven raster operations of block copies. S is the source pixel, D the
// destination pixel and P the brush colour, combined bit by bit.
enum class RasterOperation {
  kSourceCopy,        // S
  kSourceAnd,         // S and D
  kSourceInvert,      // S xor D
  kSourceErase,       // S and not D
  kNotSourceCopy,     // not S
  kNotSourceErase,    // not (S or D)
  kMergeCopy,         // S and P
  kMergePaint,        // (not S) or D
  kPatternCopy,       // P
  kPatternInvert,     // P xor D
  kDestinationInvert  // not D
};

struct Pen {
  uint32_t colour = 0;
  int width = 1;  // 0 draws like 1
};

struct Brush {
  uint32_t colour = 0xFFFFFF;
  bool solid = true;  // false: shapes are outlines only
};

// A font as scripts describe it. height follows the usual convention of font
// requests: negative is the character (em) height in pixels, positive the cell
// height (ascent plus descent), 0 a default size.
struct FontDescription {
  std::string name = "MS Sans Serif";
  int height = -11;  // 8 points at 96 dpi
  int weight = 400;  // 700 is bold
  bool italic = false;
  bool underline = false;
  bool strike_out = false;
  int width = 0;       // average character width in pixels; 0 keeps the face's own
  int escapement = 0;  // tenths of a degree, counter-clockwise
  int charset = 1;
  uint32_t colour = 0;
};

// Points at 96 dpi as a font height, rounded to the nearest pixel.
inline int FontHeightForPoints(int points) {
  int64_t scaled = int64_t{points} * 96;
  return static_cast<int>(-(scaled >= 0 ? (scaled + 36) / 72 : (scaled - 36) / 72));
}

struct PenPosition {
  int x = 0;
  int y = 0;
};

struct DrawingState {
  Pen pen;
  Brush brush;
  FontDescription font;
  RasterOperation copy_mode = RasterOperation::kSourceCopy;
  PenPosition pen_position;  // where the next "line" without a start begins
};

}  // namespace ixo::graphics
