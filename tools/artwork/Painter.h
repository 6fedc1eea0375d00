#pragma once

// Drawing helpers shared by the artwork generator: colours, shapes, text in
// the bundled faces and soft shadows. Every picture is drawn in logical
// units on a canvas whose pixels are `scale` times as many, so the 1x and
// 2x files come from the same drawing code.

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>

namespace art {

struct Rgba {
  double r = 0, g = 0, b = 0, a = 1;
};

// 0xRRGGBB with an opacity 0..1.
constexpr Rgba Hex(uint32_t rgb, double a = 1.0) {
  return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0, a};
}
Rgba Mix(Rgba a, Rgba b, double t);
Rgba WithAlpha(Rgba c, double a);

struct Box {
  double x = 0, y = 0, w = 0, h = 0;
  double R() const { return x + w; }
  double B() const { return y + h; }
  double CX() const { return x + w / 2; }
  double CY() const { return y + h / 2; }
  Box Inset(double d) const { return {x + d, y + d, w - 2 * d, h - 2 * d}; }
};
inline Box FromEdges(double l, double t, double r, double b) {
  return {l, t, r - l, b - t};
}

enum class Face { Regular, Display, Segment };
enum class Align { Left, Centre, Right };

// The faces the pictures use, loaded from the generator's font folder.
class Fonts {
public:
  // False (with a message on stderr) when a file is missing or unreadable.
  static bool Load(const std::string& folder);
  static void Release();
  static cairo_font_face_t* Get(Face face);
};

// An ARGB canvas of a picture, `scale` pixels per logical unit.
class Canvas {
public:
  Canvas(double width, double height, int scale);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  cairo_t* Cr() const { return mCr; }
  cairo_surface_t* Surface() const { return mSurface; }
  double Width() const { return mWidth; }
  double Height() const { return mHeight; }
  int Scale() const { return mScale; }

private:
  double mWidth, mHeight;
  int mScale;
  cairo_surface_t* mSurface;
  cairo_t* mCr;
};

void SetColor(cairo_t* cr, Rgba c);
void RoundedRect(cairo_t* cr, Box b, double radius);
void FillRounded(cairo_t* cr, Box b, double radius, Rgba c);
void StrokeRounded(cairo_t* cr, Box b, double radius, double width, Rgba c);
void FillCircle(cairo_t* cr, double cx, double cy, double r, Rgba c);
void StrokeCircle(cairo_t* cr, double cx, double cy, double r, double width, Rgba c);
// A vertical gradient filling the current path (the path is consumed).
void FillVertical(cairo_t* cr, double top, double bottom, Rgba a, Rgba b);
// Strokes the current path (consumed) with a vertical gradient through the
// stops: bevels and inner shadows.
struct Stop {
  double offset;
  Rgba color;
};
void StrokeVertical(cairo_t* cr, double top, double bottom, std::initializer_list<Stop> stops,
                    double width);
// A radial gradient from the centre outwards filling the current path.
void FillRadial(cairo_t* cr, double cx, double cy, double r, Rgba inner, Rgba outer);

struct TextStyle {
  Face face = Face::Regular;
  double size = 20;
  Rgba color = Hex(0xFFFFFF);
  Align align = Align::Left;
  double tracking = 0; // extra space after each character, in units
};

// Draws one line with its baseline at y; returns its advance width.
double DrawText(cairo_t* cr, const TextStyle& style, double x, double y, const std::string& text);
double TextWidth(const TextStyle& style, const std::string& text);
// Cap height of a face at a size: to centre capitals on a line.
double CapHeight(const TextStyle& style);
// One line with its capitals centred vertically in the box.
void DrawTextInBox(cairo_t* cr, const TextStyle& style, Box box, const std::string& text);
// Wraps the text into lines of at most `width`; returns the y after the last line.
double DrawParagraph(cairo_t* cr, const TextStyle& style, double x, double y, double width,
                     double lineHeight, const std::string& text);

// Paints a blurred copy of whatever `shape` fills, in colour c: shadows and
// glows. `area` bounds the shape plus its blur.
void SoftShadow(cairo_t* cr, Box area, double blur, Rgba c,
                const std::function<void(cairo_t*)>& shape);

// Writes the canvas as PNG; false on failure.
bool WritePng(const Canvas& canvas, const std::string& path);

} // namespace art
