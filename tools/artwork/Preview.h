#pragma once

// Review images of the artwork, not bundled: a contact sheet of every
// picture and mock-ups of the surface at the default window scale 0.5.

#include <cairo.h>

#include <functional>
#include <string>
#include <vector>

#include "tools/artwork/Pictures.h"

namespace art {

// The 1x surface of a picture by file name; null when there is none.
using PictureLookup = std::function<cairo_surface_t*(const std::string&)>;

bool WritePreviews(const std::vector<Picture>& pictures, const PictureLookup& lookup,
                   const std::string& dir);

// Mock-ups (Mockup.cpp).
enum class MockPanel { ImpulseResponse, Amplifier };
void DrawMockSurface(cairo_t* cr, const PictureLookup& lookup, MockPanel panel, bool filterOn);
void DrawMockPage(cairo_t* cr, const PictureLookup& lookup, const std::string& page);

} // namespace art
