// Text measured and drawn with Pango and Cairo. Fonts are asked for by the face
// names scripts use; fontconfig picks the closest installed face, falling back to
// a sans, serif or monospace face of the same kind. Texts are Windows-1252 bytes.
#pragma once

#include <string_view>

#include "graphics/drawing_state.h"
#include "graphics/image.h"

namespace ixo::graphics {

struct TextSize {
  int width = 0;   // advance width of the text, before any rotation
  int height = 0;  // height of a line of the font
};

TextSize MeasureText(const FontDescription& font, std::string_view text);

// Draws the text with its top-left corner at (x, y) in the font's colour over
// what is there (the background stays), turned by the font's escapement about
// that corner. Pixels outside the image are dropped.
void DrawText(Image& image, const FontDescription& font, int x, int y, std::string_view text);

}  // namespace ixo::graphics
