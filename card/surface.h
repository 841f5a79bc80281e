#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velunorh {

struct Color {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  bool operator==(const Color&) const = default;
};

inline constexpr Color kBlack{0, 0, 0};
inline constexpr Color kGrey{128, 128, 128};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const Rect&) const = default;
};

// A font as the drawing passes ask for it. An empty face is the system's variable-pitch text
// font; emHeight 0 leaves the size to the surface (the system font's own size).
struct FontSpec {
  std::string face;
  int emHeight = 0;  // in device units
  int weight = 400;
  int charset = 0;  // Windows character-set number (0 ANSI, 238 Central European, ...)
  bool operator==(const FontSpec&) const = default;
};

enum class HAlign { kLeft, kRight };

// Marks drawn as strokes rather than as a font's glyph: not every system's fonts have them.
enum class Mark {
  kCheck,        // a tick
  kExclamation,  // "!"
};
enum class VAlign { kTop, kBottom };

// What a drawing pass draws onto: the screen previews and the printed page. Coordinates are
// integer device units, origin top-left, y downward.
class Surface {
 public:
  virtual ~Surface() = default;

  virtual int HorizontalResolution() const = 0;  // device units per inch across
  virtual int VerticalResolution() const = 0;    // device units per inch down

  virtual void SetFont(const FontSpec& font) = 0;
  virtual void SetTextColor(Color color) = 0;
  // Text (UTF-8) anchored at (x, y): the anchor is its left or right end, and the top of its
  // character cell or the bottom of it.
  virtual void DrawText(int x, int y, std::string_view text, HAlign h, VAlign v) = 0;
  // Width of a text in the current font, in device units.
  virtual int TextWidth(std::string_view text) = 0;
  virtual void SetClip(std::optional<Rect> clip) = 0;
  virtual void DrawLine(int x1, int y1, int x2, int y2) = 0;
  // Frame rectangle filled white whose edges lie on left, top, right - 1 and bottom - 1: the
  // right and bottom are just outside it, as a client rectangle's are.
  virtual void DrawRectangle(const Rect& rect) = 0;
  // A mark as large as `box` (with the same right and bottom rule), in `color`.
  virtual void DrawMark(Mark mark, const Rect& box, Color color) = 0;
};

}  // namespace velunorh
