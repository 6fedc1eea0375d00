// The about page: the product title beside the version text the page
// draws at (1275, 310, 1375, 360), a drawing of the whole pedal, what the
// program does, the maker's address and the notices of the free parts.

#include "tools/artwork/Layout.h"
#include "tools/artwork/Pictures.h"
#include "tools/artwork/Theme.h"

namespace art {

namespace {

constexpr double kTextLeft = 880, kTextWidth = 860;

const char* const kAbout =
    "ZorelControl edits every sound parameter of the Movrant Zorel preamp and effects pedal "
    "while you play, keeps a library of its 128 presets on this computer and reads back only "
    "what changed. It saves and loads single presets with their cabinet IRs, backs up and "
    "restores all presets at once, turns your own WAV recordings into cabinet IRs, and "
    "updates the pedal's firmware.";

const char* const kNotices =
    "Movrant and Zorel are names of Dravix. This program is provided as is, without "
    "warranty of any kind.\n"
    "It uses RtMidi and RtAudio by Gary P. Scavone, GTK, cairo, librsvg, libpng and "
    "FreeType (portions of this software are copyright \xC2\xA9 The FreeType Project, "
    "freetype.org).\n"
    "Fonts: Roboto (Apache License 2.0); League Spartan, DSEG, Fork Awesome and Entypo "
    "(SIL Open Font License 1.1).";

} // namespace

void DrawAboutPage(cairo_t* cr) {
  cairo_rectangle(cr, 0, 0, kSurfaceW, kSurfaceH);
  FillVertical(cr, 0, kSurfaceH, Hex(0x15171a), Hex(0x0b0c0d));
  cairo_rectangle(cr, 0, 0, kSurfaceW, kSurfaceH);
  FillRadial(cr, 450, 640, 760, Hex(0xffffff, 0.05), Hex(0xffffff, 0.0));

  // The pedal, scaled into the left half.
  const double scale = 0.74;
  cairo_save(cr);
  cairo_translate(cr, 450 - kPedal.CX() * scale, 640 - kPedal.CY() * scale);
  cairo_scale(cr, scale, scale);
  DrawPedal(cr, {false, true});
  cairo_restore(cr);

  // Title, ending just left of the version text.
  DrawText(cr, {Face::Display, 76, theme::kText, Align::Right, 0.5}, 1244, 352, "ZorelControl");
  DrawText(cr, {Face::Regular, 24, theme::kCyan, Align::Left, 0.3}, kTextLeft, 410,
           "Editor and librarian for the Movrant Zorel");
  cairo_rectangle(cr, kTextLeft, 440, kTextWidth, 1);
  SetColor(cr, theme::kHairline);
  cairo_fill(cr);

  const TextStyle body{Face::Regular, 22, Hex(0xcfd3d8), Align::Left, 0};
  double y = DrawParagraph(cr, body, kTextLeft, 490, kTextWidth, 32, kAbout);

  const TextStyle small{Face::Regular, 18, theme::kTextDim, Align::Left, 0};
  y += 28;
  DrawText(cr, {Face::Display, 16, theme::kTextFaint, Align::Left, 2}, kTextLeft, y, "MADE BY");
  y += 30;
  y = DrawParagraph(cr, body, kTextLeft, y, kTextWidth, 30,
                    "Dravix Sound Instruments\nHarbour Works 7, Quay Street\n"
                    "Fernhollow 4410\ndravix.example");
  y += 28;
  DrawText(cr, {Face::Display, 16, theme::kTextFaint, Align::Left, 2}, kTextLeft, y, "NOTICES");
  DrawParagraph(cr, small, kTextLeft, y + 30, kTextWidth, 26, kNotices);

  DrawText(cr, {Face::Regular, 17, theme::kTextFaint, Align::Centre, 0.5}, kSurfaceW / 2, 1160,
           "Click anywhere to close");
}

} // namespace art
