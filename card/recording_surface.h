#pragma once

#include <string>
#include <vector>

#include "card/surface.h"

namespace velunorh {

// A surface that keeps every call with its exact coordinates: tests and fuzzing draw onto it.
// Text width is a fixed rule (half the em height per character, at least 1) so that drawing
// that continues at the end of a text has predictable coordinates.
class RecordingSurface : public Surface {
 public:
  struct Text {
    int x;
    int y;
    std::string text;
    HAlign h;
    VAlign v;
    FontSpec font;
    Color color;
    std::optional<Rect> clip;
  };
  struct Line {
    int x1, y1, x2, y2;
    bool operator==(const Line&) const = default;
  };
  struct Marked {
    Mark mark;
    Rect box;
    Color color;
    bool operator==(const Marked&) const = default;
  };

  RecordingSurface(int hres, int vres) : hres_(hres), vres_(vres) {}

  int HorizontalResolution() const override { return hres_; }
  int VerticalResolution() const override { return vres_; }
  void SetFont(const FontSpec& font) override {
    font_ = font;
    fonts.push_back(font);
  }
  void SetTextColor(Color color) override { color_ = color; }
  void DrawText(int x, int y, std::string_view text, HAlign h, VAlign v) override {
    texts.push_back({x, y, std::string(text), h, v, font_, color_, clip_});
  }
  int TextWidth(std::string_view text) override;
  void SetClip(std::optional<Rect> clip) override { clip_ = clip; }
  void DrawLine(int x1, int y1, int x2, int y2) override { lines.push_back({x1, y1, x2, y2}); }
  void DrawRectangle(const Rect& rect) override { rectangles.push_back(rect); }
  void DrawMark(Mark mark, const Rect& box, Color color) override {
    marks.push_back({mark, box, color});
  }

  // The first text drawn with exactly this content, or null.
  const Text* Find(std::string_view text) const;

  std::vector<Text> texts;
  std::vector<Line> lines;
  std::vector<Rect> rectangles;
  std::vector<Marked> marks;
  std::vector<FontSpec> fonts;

 private:
  int hres_;
  int vres_;
  FontSpec font_;
  Color color_;
  std::optional<Rect> clip_;
};

}  // namespace velunorh
