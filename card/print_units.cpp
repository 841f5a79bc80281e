#include "card/print_units.h"

#include <cmath>
#include <cstdint>
#include <utility>

#include "card/card_layout.h"

namespace velunorh {

int LeftOffset(std::string_view leftMargin, int hres) {
  return LayoutValueToDevice(leftMargin, hres);
}

int TopOffset(std::string_view topMargin, int vres) {
  return LayoutValueToDevice(topMargin, vres);
}

FontSpec PointFont(std::string face, int tenths, int vres) {
  FontSpec font;
  font.face = std::move(face);
  font.emHeight = static_cast<int>(std::int64_t{vres} * tenths / 720);
  font.weight = 400;  // weight 0 leaves it to the font mapper, which picks the normal weight
  font.charset = 0;
  return font;
}

int GridFontHeight(int vres) {
  return static_cast<int>(std::lround(10.0 * vres / 72.0));
}

PageUnits PageUnits::For(const Surface& surface, std::string_view leftMargin,
                         std::string_view topMargin) {
  PageUnits units;
  units.hres = surface.HorizontalResolution();
  units.vres = surface.VerticalResolution();
  units.left = LeftOffset(leftMargin, units.hres);
  units.top = TopOffset(topMargin, units.vres);
  return units;
}

int PageUnits::X(std::string_view layoutValue) const {
  return left + LayoutValueToDevice(layoutValue, hres);
}

int PageUnits::Y(std::string_view layoutValue) const {
  return top + LayoutValueToDevice(layoutValue, vres);
}

}  // namespace velunorh
