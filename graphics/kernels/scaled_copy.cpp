// Scaled copy: every destination pixel of the rectangle takes its nearest source
// pixel. The column map is computed once per call, or once per row when the
// deform parameters make the column depend on the row.
#include <cstring>
#include <vector>

#include "graphics/kernels/kernel_support.h"
#include "graphics/kernels/kernels.h"

namespace ixo::graphics {

using kernel::ClampColumn;
using kernel::DeformRow;

namespace {

// Copies one sampled pixel: three colour bytes, or the whole pixel between 32-bit images.
inline void CopyPixel(uint8_t* to, const uint8_t* from, int bytes) {
  if (bytes == 4) {
    std::memcpy(to, from, 4);
  } else {
    to[0] = from[0];
    to[1] = from[1];
    to[2] = from[2];
  }
}

}  // namespace

void ScaledCopy(Image& source, Image& destination, const CopyArea& area, const EffectParameters& effects,
                const DeformParameters& deform) {
  EnsureDirectColour(source);
  EnsureDirectColour(destination);
  if (source.width() < area.sx || source.height() < area.sy) return;
  if (area.sw <= 0 || area.sh <= 0 || area.dw <= 0 || area.dh <= 0) return;
  source.GrowTo(area.sx + area.sw, area.sy + area.sh);
  kernel::ReadableSource from(source, destination);
  destination.GrowTo(area.dx + area.dw, area.dy + area.dh);
  if (from->width() == 0 || from->height() == 0) return;

  const bool blocks = effects.mode != 0;
  const int x_step = kernel::PositiveStep(blocks ? effects.x_step + 1 : effects.x_step);
  const int y_step = kernel::PositiveStep(blocks ? effects.y_step + 1 : effects.y_step);
  const int source_bytes = from->bytes_per_pixel();
  const int destination_bytes = destination.bytes_per_pixel();
  const int copied_bytes = source_bytes == 4 && destination_bytes == 4 ? 4 : 3;
  const int block = blocks ? 2 : 1;

  // Only columns and rows that reach the destination image are visited.
  const int64_t first_u = std::max<int64_t>(0, -int64_t{area.dx} - (block - 1));
  const int end_u = static_cast<int>(std::min<int64_t>(area.dw, int64_t{destination.width()} - area.dx));
  const int64_t first_v = std::max<int64_t>(0, -int64_t{area.dy} - (block - 1));
  const int end_v = static_cast<int>(std::min<int64_t>(area.dh, int64_t{destination.height()} - area.dy));
  if (first_u >= end_u || first_v >= end_v) return;

  // Source byte offset per sampled column, -1 for a column that is skipped.
  std::vector<int64_t> columns;
  auto map_columns = [&](const DeformRow& terms) {
    columns.clear();
    for (int u = static_cast<int>(first_u - first_u % x_step); u < end_u; u += x_step) {
      if (u < first_u || (!blocks && area.sx + int64_t{u} < 0)) {
        columns.push_back(-1);
        continue;
      }
      columns.push_back(int64_t{ClampColumn(terms.Column(area, u), from->width())} * source_bytes);
    }
  };
  const bool deformed = kernel::HasDeform(deform);
  if (!deformed) map_columns(DeformRow(area, deform, 0));

  for (int v = static_cast<int>(first_v - first_v % y_step); v < end_v; v += y_step) {
    if (v < first_v || area.sy + int64_t{v} < 0 || area.dy + int64_t{v} < 0) continue;
    const int64_t source_row = kernel::SourceRow(area, v);
    if (source_row < 0 || source_row >= from->height()) continue;
    if (deformed) map_columns(DeformRow(area, deform, v));
    const uint8_t* source_line = from->row(static_cast<int>(source_row));
    for (int by = 0; by < block; ++by) {
      const int64_t y = int64_t{area.dy} + v + by;
      if (y < 0 || y >= destination.height()) continue;
      uint8_t* line = destination.row(static_cast<int>(y));
      int u = static_cast<int>(first_u - first_u % x_step);
      for (size_t i = 0; i < columns.size(); ++i, u += x_step) {
        if (columns[i] < 0) continue;
        const uint8_t* pixel = source_line + columns[i];
        for (int bx = 0; bx < block; ++bx) {
          const int64_t x = int64_t{area.dx} + u + bx;
          if (x < 0 || x >= destination.width()) continue;
          CopyPixel(line + x * destination_bytes, pixel, copied_bytes);
        }
      }
    }
  }
}

}  // namespace ixo::graphics
