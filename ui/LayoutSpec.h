#pragma once

// The vocabulary of the layout tables: one ControlSpec per control (or per
// knob with its caption, readout and unit), row templates for the lists and
// button rows, panels of specs. The tables are plain constant data; the
// builder (SurfaceBuilder.cpp) is the only code that turns them into
// controls.

#include <array>
#include <optional>
#include <span>

#include "controls/ControlTypes.h"
#include "editor/SurfaceIds.h"
#include "render/Color.h"
#include "render/Rect.h"
#include "render/TextStyle.h"

namespace zorel::ui {

using igraphics::Color;
using igraphics::Rect;

enum class Kind {
  kBackgroundPicture, // IBitmapControl centred horizontally at the top
  kPicture,           // IBitmapControl at the row's top-left corner, one frame in size
  kPictureButton,     // IBButtonControl at the top-left corner
  kPedalKnob,         // IBKnobRotaterControl filling the rectangle
  kText,              // ITextControl
  kEditableText,      // IEditableTextControl
  kButton,            // IVButtonControl
  kLargeKnob,         // IVKnobControl of 200 units with caption, readout and unit
  kSmallKnob,         // the same, 120 units
  kSlideSwitch,       // IVSlideSwitchControl, horizontal, value in the switch
  kSvgKnob,           // ISVGKnobControl
  kPictureSlider,     // IBSliderControl: handle `picture`, track `track`
  kScrollBar,         // IVSliderControl of the preset list
  kSelect,            // IInvisibleSelectControl3
  kListSelect,        // the same over a list, telling the editor each gesture
  kPanel,             // IPanelControl
  kCaption,           // ICaptionControl
  kResponseGraph,     // IFreqResponseGraph
  kDynamicsGraph,     // IDynamicsResponseGraph
  kProgressKnob,      // IVKnobControl that only the code turns, no texts of its own
  kNumberBox,         // IVNumberBoxControl, no step buttons
  kLink,              // IURLControl opening `url`
};

// The text styles of the surface (SurfaceStyles.cpp).
enum class TextId {
  kDefault,
  kListRow,
  kCabinetRow,
  kDark,
  kLightBase,
  kButtonBase,
  kDisplayGhost,
  kDisplay,
  kSectionTitle,
  kCaption,
  kValue,
  kSmallCaption,
  kBigValue,
  kIRGain,
};

// The vector styles of the surface.
enum class StyleId { kBase, kKnob, kButton, kBackdrop, kSwitch, kScrollBar };

// A text style, or the label text of a vector style, with the per-control
// changes the layout gives.
struct Look {
  TextId text = TextId::kDefault;
  StyleId style = StyleId::kBase;
  float size = 0.f; // 0: the style's own
  std::optional<Color> colour;
  std::optional<igraphics::EAlign> align;
  std::optional<igraphics::EVAlign> valign;
};

// What a control does when the user works it (SurfaceActions.cpp). `row` of
// a row template is handed on (the model or ambience type of its button).
enum class Action {
  kNone,
  kAmpModel,
  kAmbienceType,
  kFilterSwitch,
  kFootUp,
  kFootDown,
  kFootCentre,
  kSave,
  kLoadPresetFile,
  kSavePresetFile,
  kReconnect,
  kImportIR7,
  kImportIR8,
  kRenamePreset,
  kCloseCustomIRPage,
  kOpenIR7List,
  kOpenIR8List,
  kChooseFirmwareFile,
  kCloseFirmwarePage,
  kCloseGlobalSettings,
  kOpenMidiCCPage,
  kCloseMidiCCPage,
  kOpenProgramMapPage,
  kCloseProgramMapPage,
  kFactoryResetAll,
  kFactoryResetPresets,
  kFactoryResetSettings,
  kCloseAbout,
};

// Controls the surface keeps a handle to besides tags and groups.
enum class Keep {
  kNone,
  kPresetRow,
  kPresetListSelect,
  kCabinetRow,
  kCabinetListSelect,
  kIRNameRow,
  kResponseGraph,
  kDynamicsGraph,
};

// The texts a panel knob brings along. A null caption is the knob's label;
// an empty one means the panel places the caption itself. A null unit
// means none.
struct KnobTexts {
  const char* caption = nullptr;
  const char* readout = "";
  const char* unit = nullptr;
  int readoutTag = kTagNone;
  // Caption and unit, when they belong to another group than the knob.
  const char* companionGroup = nullptr;
};

// Where the texts of repeated rows come from.
enum class RowText {
  kFromSpec,    // the ControlSpec's own text
  kIndexFormat, // the ControlSpec's text as a format of row + textBase
  kCabinetName, // the editor's cabinet name of the row
};

// Repeated rows (the preset list, the model and ambience buttons, the
// cabinet list, the custom IR list): `count` copies of one spec, laid out in
// lines of `perLine` rows. Within a line row k sits k steps further on, or at
// lineXs[k] when the spacing is uneven; each line starts one line step after
// the previous one.
struct Rows {
  int count = 1;
  int perLine = 0; // 0: all rows in one line
  float stepX = 0.f, stepY = 0.f;
  float lineStepX = 0.f, lineStepY = 0.f;
  std::span<const float> lineXs;
  RowText text = RowText::kFromSpec;
  int textBase = 0;
  // Rows from this one on carry the ControlSpec's tag + (row - firstTaggedRow).
  int firstTaggedRow = 0;
  // One picture per row, when the rows differ in picture.
  std::span<const char* const> pictures;
};

// One entry of a layout table: a control, a panel knob with its texts, or
// a row template.
struct ControlSpec {
  Kind kind = Kind::kText;
  // For pictures and picture buttons only the top-left corner counts (At()).
  Rect rect;
  int param = igraphics::kNoParameter;
  int tag = kTagNone;
  const char* group = nullptr;
  Look look;
  const char* picture = nullptr;
  int frames = 1;
  const char* track = nullptr;
  // The address a link opens.
  const char* url = nullptr;
  // Text of a text control, label of a vector control or knob.
  const char* text = nullptr;
  KnobTexts knob;
  Color background = igraphics::COLOR_TRANSPARENT;
  Action action = Action::kNone;
  Keep keep = Keep::kNone;
  bool hidden = false;
  bool disabled = false;
  Rows rows;
};

// A top-left corner, for the controls whose size is their picture's.
constexpr Rect At(float x, float y) {
  return {x, y, x, y};
}

using LayoutTable = std::span<const ControlSpec>;

// An effect panel: its controls in attach order, and its title, which the
// building order attaches after all panels.
struct PanelSpec {
  const char* group;
  LayoutTable controls;
  ControlSpec title;
};

} // namespace zorel::ui
