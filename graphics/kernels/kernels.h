// The pixel kernels behind the draw family's heavier work. Each walks rows of
// 24- or 32-bit pixels directly and is a pure function of its images and
// parameters. Every kernel stays inside both images whatever its numbers say,
// and a kernel whose source and destination are the same image reads a snapshot
// taken before it writes.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "graphics/drawing_state.h"
#include "graphics/image.h"

namespace ixo::graphics {

// How the copies sample and blend ("draw" "mx" "effects").
struct EffectParameters {
  int mode = 0;         // 0 plain; see BlendedCopy and ScaledCopy for the others
  int x_step = 1;       // column step; below 1 counts as 1
  int y_step = 1;       // row step; below 1 counts as 1
  std::array<int, 3> opacity = {100, 100, 100};  // blue, green, red; 0 or less leaves the channel
  std::array<int, 3> shift = {0, 0, 0};          // byte offsets added when reading a source channel
  int cycle_length = 2;  // highest value of the channel counter of modes 1 and 2
};

// Horizontal offsets in source pixels at the four corners of the destination
// rectangle, faded bilinearly towards the other corners; 0 or less has no effect.
struct DeformParameters {
  int top_left = 0;
  int top_right = 0;
  int bottom_left = 0;
  int bottom_right = 0;
};

// A source rectangle and the destination rectangle it is copied onto.
struct CopyArea {
  int sx = 0, sy = 0, sw = 0, sh = 0;
  int dx = 0, dy = 0, dw = 0, dh = 0;
};

// The key colour of BlendedCopy that means "the source pixel at (sx, sy)".
inline constexpr int32_t kAutomaticKey = -1;

// Nearest-neighbour copy of the source rectangle onto the destination rectangle,
// distorted by the deform parameters; the steps thin the sampling, and a mode
// other than 0 samples every (step + 1)-th pixel and writes it as a 2×2 block.
void ScaledCopy(Image& source, Image& destination, const CopyArea& area, const EffectParameters& effects,
                const DeformParameters& deform);

// Scaled copy that blends each enabled channel by its opacity, skips source
// pixels of the key colour when transparent is set, and applies the effect mode:
// 0 every channel, 1 one channel per pixel in turn, 2 one blended colour held over
// several pixels, 3 2×2 blocks at doubled steps, others write nothing.
void BlendedCopy(Image& source, Image& destination, const CopyArea& area, bool transparent, int32_t key,
                 const EffectParameters& effects, const DeformParameters& deform);

// Moves every pixel of the rectangle opacity percent of the way towards the colour.
void TintedFill(Image& image, int x, int y, int width, int height, uint32_t colour, int opacity);

// Paints the colour through one channel of the mask (0 blue, 1 green, 2 red):
// white paints at the given strength, black leaves the destination alone.
void BrushPaint(Image& mask, Image& destination, int sx, int sy, int width, int height, int dx, int dy,
                uint32_t colour, int strength, int channel);

// The first pixel (in row order) where the image's area at (x, y) differs from the
// other image's area at (ox, oy), pixels of the ignored colour in the other image
// matching anything.
struct Difference {
  uint32_t colour = 0;  // the image's pixel there
  int x = 0;            // position inside the area
  int y = 0;
};
std::optional<Difference> CompareImages(Image& image, Image& other, int ox, int oy, int width, int height, int x,
                                        int y, uint32_t ignored_colour);

// Writes the source turned by 90 degrees into the top-left of the destination,
// which grows to hold it; the rest of the destination keeps its pixels.
void RotateImage(Image& source, Image& destination, bool clockwise);

// Block copy of a width × height rectangle with a raster operation; brush is the
// pattern colour. Pixels whose source or destination lies outside its image are
// left alone.
void RasterCopy(Image& source, Image& destination, int sx, int sy, int width, int height, int dx, int dy,
                RasterOperation operation, uint32_t brush);

}  // namespace ixo::graphics
