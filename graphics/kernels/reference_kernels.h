// Plain versions of the kernels, written pixel by pixel the way their rules read,
// with the same edge rules (reads clamped to the source row, writes clipped to the
// destination, steps below 1 counting as 1, self-copies from a snapshot). Tests
// hold the row kernels to these on random images; nothing else uses them.
#pragma once

#include <cstdint>
#include <optional>

#include "graphics/kernels/kernels.h"

namespace ixo::graphics::reference {

void ScaledCopy(Image& source, Image& destination, const CopyArea& area, const EffectParameters& effects,
                const DeformParameters& deform);
void BlendedCopy(Image& source, Image& destination, const CopyArea& area, bool transparent, int32_t key,
                 const EffectParameters& effects, const DeformParameters& deform);
void TintedFill(Image& image, int x, int y, int width, int height, uint32_t colour, int opacity);
void BrushPaint(Image& mask, Image& destination, int sx, int sy, int width, int height, int dx, int dy,
                uint32_t colour, int strength, int channel);
std::optional<Difference> CompareImages(Image& image, Image& other, int ox, int oy, int width, int height, int x,
                                        int y, uint32_t ignored_colour);
void RotateImage(Image& source, Image& destination, bool clockwise);
void RasterCopy(Image& source, Image& destination, int sx, int sy, int width, int height, int dx, int dy,
                RasterOperation operation, uint32_t brush);

}  // namespace ixo::graphics::reference
