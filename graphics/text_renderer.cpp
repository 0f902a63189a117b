// Font heights follow the window system's convention: a negative height is the
// em size in pixels, a positive one the cell height (ascent plus descent), which
// is turned into an em size with the face's own proportions. A width stretches
// the text so that its average character is that wide.
#include "graphics/text_renderer.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace ixo::graphics {

namespace {

// The em size of the window system's default font, for a height of 0.
constexpr int kDefaultEmPixels = 13;

std::string WindowsTextToUtf8(std::string_view text) {
  // The characters of the bytes 0x80 to 0x9F; the five undefined ones map to themselves.
  static constexpr std::array<char32_t, 32> kHigh = {
      0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
  std::string out;
  for (unsigned char byte : text) {
    char32_t c = byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : byte;
    if (c == 0) continue;
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | c >> 6);
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | c >> 12);
      out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

bool Contains(std::string_view haystack, std::string_view needle) {
  return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
         }) != haystack.end();
}

// The generic family that stands in when no face of that name is installed.
const char* GenericFamily(std::string_view name) {
  if (Contains(name, "courier") || Contains(name, "mono") || Contains(name, "console") || Contains(name, "fixed") ||
      Contains(name, "terminal"))
    return "monospace";
  if (Contains(name, "sans")) return "sans-serif";
  if (Contains(name, "times") || Contains(name, "serif") || Contains(name, "roman") || Contains(name, "georgia") ||
      Contains(name, "garamond") || Contains(name, "book"))
    return "serif";
  return "sans-serif";
}

struct Face {
  std::string family;
  bool bold = false;
};

// "Arial Bold" names the bold face of "Arial".
Face ParseFaceName(std::string_view name) {
  Face face{std::string(name)};
  constexpr std::string_view kBold = " Bold";
  if (face.family.size() > kBold.size() && Contains(face.family.substr(face.family.size() - kBold.size()), kBold)) {
    face.family.resize(face.family.size() - kBold.size());
    face.bold = true;
  }
  // Commas would split the name into a family list.
  std::replace(face.family.begin(), face.family.end(), ',', ' ');
  return face;
}

class Layout {
 public:
  explicit Layout(const FontDescription& font) {
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
    cairo_ = cairo_create(surface_);
    layout_ = pango_cairo_create_layout(cairo_);
    const Face face = ParseFaceName(font.name);
    description_ = pango_font_description_new();
    const std::string families = WindowsTextToUtf8(face.family) + "," + GenericFamily(face.family);
    pango_font_description_set_family(description_, families.c_str());
    const int weight = font.weight <= 0 ? 400 : std::clamp(font.weight, 100, 1000);
    pango_font_description_set_weight(description_, static_cast<PangoWeight>(face.bold ? std::max(weight, 700) : weight));
    pango_font_description_set_style(description_, font.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    SetEmPixels(kDefaultEmPixels);
    if (font.height < 0) {
      SetEmPixels(std::min(-static_cast<int64_t>(font.height), int64_t{4096}));
    } else if (font.height > 0) {
      // The cell height of a 1000-pixel em gives the face's proportion.
      SetEmPixels(1000);
      PangoFontMetrics* metrics = pango_context_get_metrics(pango_layout_get_context(layout_), description_, nullptr);
      const double cell = double(pango_font_metrics_get_ascent(metrics) + pango_font_metrics_get_descent(metrics)) /
                          PANGO_SCALE;
      pango_font_metrics_unref(metrics);
      SetEmPixels(std::clamp(font.height * 1000.0 / std::max(cell, 1.0), 1.0, 4096.0));
    }
    pango_layout_set_font_description(layout_, description_);
    PangoAttrList* attributes = pango_attr_list_new();
    if (font.underline) pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    if (font.strike_out) pango_attr_list_insert(attributes, pango_attr_strikethrough_new(TRUE));
    pango_layout_set_attributes(layout_, attributes);
    pango_attr_list_unref(attributes);
    if (font.width > 0) {
      PangoFontMetrics* metrics = pango_context_get_metrics(pango_layout_get_context(layout_), description_, nullptr);
      const double average = double(pango_font_metrics_get_approximate_char_width(metrics)) / PANGO_SCALE;
      pango_font_metrics_unref(metrics);
      if (average > 0) stretch_ = std::clamp(font.width / average, 0.01, 100.0);
    }
  }
  ~Layout() {
    pango_font_description_free(description_);
    g_object_unref(layout_);
    cairo_destroy(cairo_);
    cairo_surface_destroy(surface_);
  }
  Layout(const Layout&) = delete;
  Layout& operator=(const Layout&) = delete;

  void SetText(std::string_view text) {
    const std::string utf8 = WindowsTextToUtf8(text);
    pango_layout_set_text(layout_, utf8.data(), static_cast<int>(utf8.size()));
  }

  TextSize Size() const {
    PangoRectangle logical;
    pango_layout_get_pixel_extents(layout_, nullptr, &logical);
    return {static_cast<int>(std::lround(logical.width * stretch_)), logical.height};
  }

  PangoLayout* layout() const { return layout_; }
  double stretch() const { return stretch_; }

 private:
  void SetEmPixels(double pixels) {
    pango_font_description_set_absolute_size(description_, pixels * PANGO_SCALE);
    pango_layout_set_font_description(layout_, description_);
  }

  cairo_surface_t* surface_;
  cairo_t* cairo_;
  PangoLayout* layout_;
  PangoFontDescription* description_;
  double stretch_ = 1.0;
};

}  // namespace

TextSize MeasureText(const FontDescription& font, std::string_view text) {
  Layout layout(font);
  layout.SetText(text);
  return layout.Size();
}

void DrawText(Image& image, const FontDescription& font, int x, int y, std::string_view text) {
  EnsureDirectColour(image);
  Layout layout(font);
  layout.SetText(text);
  PangoRectangle ink;
  pango_layout_get_pixel_extents(layout.layout(), &ink, nullptr);
  if (ink.width <= 0 || ink.height <= 0) return;

  // The ink box, stretched and turned about the text's origin, gives the mask's size.
  const double angle = -font.escapement / 10.0 * M_PI / 180.0;
  cairo_matrix_t matrix;
  cairo_matrix_init_rotate(&matrix, angle);
  cairo_matrix_scale(&matrix, layout.stretch(), 1.0);
  double left = 1e18, top = 1e18, right = -1e18, bottom = -1e18;
  for (int corner = 0; corner < 4; ++corner) {
    double cx = ink.x + (corner & 1 ? ink.width : 0), cy = ink.y + (corner & 2 ? ink.height : 0);
    cairo_matrix_transform_point(&matrix, &cx, &cy);
    left = std::min(left, cx);
    right = std::max(right, cx);
    top = std::min(top, cy);
    bottom = std::max(bottom, cy);
  }
  const int mask_left = static_cast<int>(std::floor(left)) - 1;
  const int mask_top = static_cast<int>(std::floor(top)) - 1;
  const int mask_width = static_cast<int>(std::ceil(right)) + 1 - mask_left;
  const int mask_height = static_cast<int>(std::ceil(bottom)) + 1 - mask_top;
  if (!IsAllowedSize(mask_width, mask_height) || mask_width <= 0 || mask_height <= 0) return;

  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, mask_width, mask_height);
  cairo_t* cairo = cairo_create(surface);
  cairo_translate(cairo, -mask_left, -mask_top);
  cairo_transform(cairo, &matrix);
  pango_cairo_update_layout(cairo, layout.layout());
  pango_cairo_show_layout(cairo, layout.layout());
  cairo_destroy(cairo);
  cairo_surface_flush(surface);

  const uint8_t* mask = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const int colour[3] = {static_cast<int>(font.colour >> 16 & 255), static_cast<int>(font.colour >> 8 & 255),
                         static_cast<int>(font.colour & 255)};
  const int bytes = image.bytes_per_pixel();
  for (int row = 0; row < mask_height; ++row) {
    const int64_t to_y = int64_t{y} + mask_top + row;
    if (to_y < 0 || to_y >= image.height()) continue;
    for (int column = 0; column < mask_width; ++column) {
      const int coverage = mask[static_cast<size_t>(row) * stride + column];
      const int64_t to_x = int64_t{x} + mask_left + column;
      if (coverage == 0 || to_x < 0 || to_x >= image.width()) continue;
      uint8_t* pixel = image.row(static_cast<int>(to_y)) + to_x * bytes;
      for (int k = 0; k < 3; ++k) pixel[k] = static_cast<uint8_t>(pixel[k] + (colour[k] - pixel[k]) * coverage / 255);
    }
  }
  cairo_surface_destroy(surface);
}

}  // namespace ixo::graphics
