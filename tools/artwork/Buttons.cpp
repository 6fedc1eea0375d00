// The amplifier model and ambience type buttons: two frames (normal, lit)
// of kButtonFrameH each. The rows of buttons are only 35 units apart, so
// the face fills the top of the frame and the rest stays transparent.

#include "tools/artwork/Layout.h"
#include "tools/artwork/Pictures.h"
#include "tools/artwork/Theme.h"

namespace art {

namespace {

void ButtonFace(cairo_t* cr, double width, const std::string& label, bool lit) {
  const Box face{2, 1.5, width - 4, kButtonFaceH - 1};
  if (lit) {
    // The glow stays within the row: the next row starts 35 units lower.
    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, width, kButtonFaceH + 2);
    cairo_clip(cr);
    SoftShadow(cr, {0, 0, width, kButtonFaceH + 2}, 6, WithAlpha(theme::kCyanDeep, 0.45),
               [&](cairo_t* m) {
                 RoundedRect(m, face, 6);
                 cairo_fill(m);
               });
    cairo_restore(cr);
  }
  RoundedRect(cr, face, 6);
  if (lit)
    FillVertical(cr, face.y, face.B(), Hex(0x124448), Hex(0x0b2a2d));
  else
    FillVertical(cr, face.y, face.B(), Hex(0x2c2f34), Hex(0x222428));
  StrokeRounded(cr, face.Inset(0.5), 5.5, 1, lit ? theme::kCyanDeep : Hex(0x3b3f45));
  // Top sheen.
  RoundedRect(cr, {face.x + 1.5, face.y + 1.5, face.w - 3, face.h / 2 - 1}, 4.5);
  FillVertical(cr, face.y, face.CY(), Hex(0xffffff, 0.07), Hex(0xffffff, 0.0));
  const TextStyle text{Face::Display, 19, lit ? theme::kCyan : Hex(0xc4c8ce), Align::Centre, 0.8};
  DrawTextInBox(cr, text, {face.x, face.y + 0.5, face.w, face.h}, label);
}

} // namespace

void DrawChoiceButton(cairo_t* cr, double width, const std::string& label) {
  ButtonFace(cr, width, label, false);
  cairo_save(cr);
  cairo_translate(cr, 0, kButtonFrameH);
  ButtonFace(cr, width, label, true);
  cairo_restore(cr);
}

} // namespace art
