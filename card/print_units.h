#pragma once

#include <string>
#include <string_view>

#include "card/surface.h"

namespace velunorh {

// The page offsets in device units: a margin text ("0.30" inches) converted with the resolution
// of its own direction, so unequal resolutions still give the same distance on paper.
int LeftOffset(std::string_view leftMargin, int hres);
int TopOffset(std::string_view topMargin, int vres);

// A font of `tenths` of a point for a device of `vres` dots per inch down: em height
// vres * tenths / 720, truncated; normal weight, default character set.
FontSpec PointFont(std::string face, int tenths, int vres);

// The monthly grid's 10-point height, rounded rather than truncated: round(10 * vres / 72).
int GridFontHeight(int vres);

// The device units of one drawing pass: the resolutions read from the surface at its start and
// the page offsets from the current margins. Layout positions become page points through it.
struct PageUnits {
  int hres = 0;
  int vres = 0;
  int left = 0;  // LeftOffset
  int top = 0;   // TopOffset

  static PageUnits For(const Surface& surface, std::string_view leftMargin,
                       std::string_view topMargin);

  // An X layout value measured from the left margin; a Y value from the top margin.
  int X(std::string_view layoutValue) const;
  int Y(std::string_view layoutValue) const;
};

}  // namespace velunorh
