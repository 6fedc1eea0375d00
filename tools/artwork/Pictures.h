#pragma once

// Every picture the generator draws, in logical units with the origin at
// its top left. Pictures of several frames draw all frames, stacked.

#include <cairo.h>

#include <functional>
#include <string>
#include <vector>

namespace art {

struct Picture {
  std::string name; // file name of the 1x picture
  double width = 0, height = 0;
  int frames = 1;
  std::function<void(cairo_t*)> draw;
};

// The bundled pictures, in a fixed order.
std::vector<Picture> AllPictures();

// Pedal hardware (Hardware.cpp).
void DrawKnob(cairo_t* cr, double size);
void DrawFootSwitch(cairo_t* cr, bool pressed);
void DrawLamp(cairo_t* cr);
void DrawSaveButton(cairo_t* cr, bool pressed);
void DrawMic(cairo_t* cr);
void DrawMicTrack(cairo_t* cr);

// The pedal as the background shows it, in surface coordinates
// (Pedal.cpp). With `controls` the knobs, switches and display are drawn
// as well, for the pictures that show the whole pedal.
struct PedalLook {
  bool filterOn = false;
  bool controls = false;
};
void DrawPedal(cairo_t* cr, PedalLook look);

// Main surface and panels.
void DrawBackground(cairo_t* cr, bool filterOn);                            // Background.cpp
void DrawChoiceButton(cairo_t* cr, double width, const std::string& label); // Buttons.cpp
void DrawIrPanel(cairo_t* cr);                                              // IrPanel.cpp

// Pages (Pages.cpp, About.cpp, Controller.cpp).
void DrawFirmwarePage(cairo_t* cr);
void DrawSettingsPage(cairo_t* cr);
void DrawAboutPage(cairo_t* cr);
void DrawFootController(cairo_t* cr);

// The application icon in a size x size square (Icon.cpp).
void DrawAppIcon(cairo_t* cr, double size);

// SVG documents (Svg.cpp).
std::string VectorKnobSvg();
std::string MicTrackSvg();

} // namespace art
