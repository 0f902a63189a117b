// The window commands that read pictures: the icon, a picture loaded into the
// back buffer, and outlines made from a picture file or a draw image.
#pragma once

#include "graphics/region_builder.h"
#include "graphics/window_commands.h"

namespace ixo::window_commands {

// The first picture of an icon file at the size of icons, in 24 bits; nothing
// when the file is missing or holds no icon.
std::optional<graphics::Image> LoadIconPicture(const std::string& path);

Handled IconCommand(Target& target);
Handled ImageCommand(Target& target);
void ShapeFromFile(Target& target);
void ShapeFromImage(Target& target);

// Builds the outline the request describes, with the polygon of the array of
// that name (none when empty), and gives it to the window.
void ApplyBuiltRegion(Target& target, graphics::RegionRequest request, const std::string& array_name);

}  // namespace ixo::window_commands
