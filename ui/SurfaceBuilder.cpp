#include "ui/SurfaceBuilder.h"

#include <cstdio>

#include "controls/Controls.h"
#include "editor/ZorelControl.h"
#include "ui/ControlActions.h"
#include "ui/LayoutRows.h"
#include "ui/ListSelectControl.h"
#include "ui/PictureOnFirstShow.h"
#include "ui/SurfaceStyles.h"

namespace zorel::ui {

using namespace igraphics;

namespace {

// The companion texts of a panel knob, relative to the knob's rectangle.
struct KnobTextPlaces {
  // Captions of small knobs reach 30 units past the knob on either side:
  // the bundled display face is wider than the knob for "OUTPUT GAIN".
  float captionOverhang;
  float captionTop, captionBottom;
  float readoutTop, readoutBottom;
  float unitTop, unitBottom;
  TextId caption;
  float readoutSize;
  float unitSize;
};
constexpr KnobTextPlaces kLargeKnobTexts{0, -40, -10, 75, 115, 150, 184, TextId::kCaption, 40, 34};
constexpr KnobTextPlaces kSmallKnobTexts{30, 120, 150, 45, 75, 90, 120, TextId::kSmallCaption,
                                         0,  0};

// Panel knobs turn from -135 to +135 degrees, their arc anchored at the
// start, dragged vertically with gearing 4.
constexpr float kKnobAngle = 135.f;
constexpr float kKnobTrack = 18.f;

// Number boxes show whole numbers; the parameter's own range replaces these
// bounds once the box knows its parameter.
constexpr double kNumberDefault = 50.0, kNumberMin = 1.0, kNumberMax = 100.0;

// A link greys while the pointer is over it and once it has been followed.
constexpr Color kLinkVisited{255, 116, 116, 116};

} // namespace

SurfaceBuilder::SurfaceBuilder(IGraphics& graphics, ZorelControl& editor, SurfaceHandles& handles)
    : mGraphics(graphics), mEditor(editor), mHandles(handles) {}

void SurfaceBuilder::Attach(LayoutTable table, const char* panelGroup) {
  for (const PlacedControl& placed : Expand(table, panelGroup))
    AttachControl(placed.spec, placed.group, placed.row);
}

void SurfaceBuilder::AttachPanels(std::span<const PanelSpec> panels) {
  for (const PanelSpec& panel : panels) Attach(panel.controls, panel.group);
  for (const PanelSpec& panel : panels) AttachControl(panel.title, panel.group, 0);
}

std::string SurfaceBuilder::RowTextOf(const ControlSpec& spec, int row) const {
  switch (spec.rows.text) {
  case RowText::kFromSpec:
    break;
  case RowText::kIndexFormat: {
    char text[64];
    std::snprintf(text, sizeof text, spec.text, row + spec.rows.textBase);
    return text;
  }
  case RowText::kCabinetName:
    return mEditor.Library().CabinetName(row);
  }
  return spec.text != nullptr ? spec.text : "";
}

IControl* SurfaceBuilder::Add(std::unique_ptr<IControl> control, int tag, const char* group) {
  IControl* attached = mGraphics.AddControl(std::move(control), tag, group ? group : "");
  if (attached == nullptr) ++mRefused;
  return attached;
}

IControl* SurfaceBuilder::AttachControl(const ControlSpec& spec, const char* group, int row) {
  IControl* c = Add(Make(spec, row), spec.tag, group);
  if (c == nullptr) return nullptr;
  if (auto* response = dynamic_cast<IFreqResponseGraph*>(c)) {
    // +30 dB at the top down to -70 dB, the curve drawn as computed.
    response->SetRange(20.0, 20480.0, 100.0, 30.0);
    response->SetNoBallistics(true);
  } else if (auto* dynamics = dynamic_cast<IDynamicsResponseGraph*>(c)) {
    dynamics->SetLowerThreshold(-60.f);
    dynamics->SetLowerSlope(1.f);
    dynamics->SetUpperThreshold(-51.f);
    dynamics->SetUpperSlope(1.f);
  }
  if (spec.hidden) c->SetHidden(true);
  if (spec.disabled) c->SetDisabledState(true);
  KeepHandle(spec, c, row);
  if (spec.kind == Kind::kLargeKnob || spec.kind == Kind::kSmallKnob) AttachKnobTexts(spec, group);
  return c;
}

// Readout, unit and caption of a panel knob, in that order over the knob.
void SurfaceBuilder::AttachKnobTexts(const ControlSpec& spec, const char* group) {
  const KnobTextPlaces& at = spec.kind == Kind::kLargeKnob ? kLargeKnobTexts : kSmallKnobTexts;
  const Rect& k = spec.rect;
  const char* companion = spec.knob.companionGroup ? spec.knob.companionGroup : group;
  auto text = [&](float top, float bottom, const char* content, const Look& look, int tag,
                  const char* inGroup, float overhang = 0.f) {
    Add(std::make_unique<ITextControl>(
            Rect(k.L - overhang, k.T + top, k.R + overhang, k.T + bottom), content, TextFor(look)),
        tag, inGroup);
  };
  text(at.readoutTop, at.readoutBottom, spec.knob.readout,
       {.text = TextId::kValue, .size = at.readoutSize}, spec.knob.readoutTag, group);
  if (spec.knob.unit != nullptr)
    text(at.unitTop, at.unitBottom, spec.knob.unit, {.text = TextId::kCaption, .size = at.unitSize},
         kTagNone, companion);
  const char* caption = spec.knob.caption != nullptr ? spec.knob.caption : spec.text;
  if (caption != nullptr && caption[0] != '\0')
    text(at.captionTop, at.captionBottom, caption, {.text = at.caption}, kTagNone, companion,
         at.captionOverhang);
}

std::unique_ptr<IControl> SurfaceBuilder::Make(const ControlSpec& spec, int row) {
  const Rect& r = spec.rect;
  const std::string label = spec.text != nullptr ? spec.text : "";
  IActionFunction action = MakeAction(spec.action, row, mEditor);
  auto picture = [&](const char* name) {
    return name != nullptr ? mGraphics.LoadBitmapResource(name, spec.frames) : Bitmap();
  };
  switch (spec.kind) {
  case Kind::kBackgroundPicture: {
    // A background hidden at first is decoded when it is first shown.
    if (spec.hidden)
      return std::make_unique<PictureOnFirstShow>(Rect(0.f, 0.f,
                                                       static_cast<float>(mGraphics.Width()),
                                                       static_cast<float>(mGraphics.Height())),
                                                  spec.picture, spec.frames);
    const Bitmap bitmap = picture(spec.picture);
    const float x = (static_cast<float>(mGraphics.Width()) - bitmap.FrameWidth()) * 0.5f;
    return std::make_unique<IBitmapControl>(x, 0.f, bitmap);
  }
  case Kind::kPicture:
    return std::make_unique<IBitmapControl>(r.L, r.T, picture(spec.picture));
  case Kind::kPictureButton:
    return std::make_unique<IBButtonControl>(r.L, r.T, picture(spec.picture), std::move(action));
  case Kind::kPedalKnob:
    return std::make_unique<IBKnobRotaterControl>(r, picture(spec.picture), spec.param);
  case Kind::kText:
    return std::make_unique<ITextControl>(r, RowTextOf(spec, row), TextFor(spec.look),
                                          spec.background);
  case Kind::kEditableText: {
    auto text =
        std::make_unique<IEditableTextControl>(r, label, TextFor(spec.look), spec.background);
    text->SetAction(std::move(action));
    return text;
  }
  case Kind::kButton:
    return std::make_unique<IVButtonControl>(r, std::move(action), label, StyleFor(spec.look));
  case Kind::kLargeKnob:
  case Kind::kSmallKnob:
  case Kind::kProgressKnob:
    return std::make_unique<IVKnobControl>(r, spec.param, label, StyleFor(spec.look), false, false,
                                           -kKnobAngle, kKnobAngle, -kKnobAngle,
                                           EDirection::Vertical, 4.0, kKnobTrack);
  case Kind::kSlideSwitch:
    return std::make_unique<IVSlideSwitchControl>(r, spec.param, label, StyleFor(spec.look), true,
                                                  EDirection::Horizontal);
  case Kind::kSvgKnob:
    return std::make_unique<ISVGKnobControl>(r, mGraphics.LoadSvgResource(spec.picture, "px", 72),
                                             spec.param);
  case Kind::kPictureSlider:
    return std::make_unique<IBSliderControl>(r, spec.param, picture(spec.picture),
                                             picture(spec.track), EDirection::Vertical, 4.0);
  case Kind::kScrollBar:
    return std::make_unique<IVSliderControl>(r, spec.param, label, StyleFor(spec.look), true,
                                             EDirection::Vertical, 1.0, 12.f, 0.f, true);
  case Kind::kSelect:
    return std::make_unique<IInvisibleSelectControl3>(r, spec.param);
  case Kind::kListSelect:
    return std::make_unique<ListSelectControl>(r, spec.param, mEditor);
  case Kind::kPanel:
    return std::make_unique<IPanelControl>(r, spec.background);
  case Kind::kCaption:
    return std::make_unique<ICaptionControl>(r, spec.param, TextFor(spec.look), spec.background);
  case Kind::kResponseGraph:
    return std::make_unique<IFreqResponseGraph>(r, spec.look.colour.value_or(COLOR_WHITE));
  case Kind::kDynamicsGraph:
    return std::make_unique<IDynamicsResponseGraph>(r, spec.look.colour.value_or(COLOR_WHITE));
  case Kind::kNumberBox:
    return std::make_unique<IVNumberBoxControl>(r, spec.param, nullptr, label, StyleFor(spec.look),
                                                false, kNumberDefault, kNumberMin, kNumberMax,
                                                "%0.0f", true);
  case Kind::kLink:
    return std::make_unique<IURLControl>(r, label, spec.url != nullptr ? spec.url : "",
                                         TextFor(spec.look), spec.background, kLinkVisited,
                                         kLinkVisited);
  }
  return nullptr;
}

void SurfaceBuilder::KeepHandle(const ControlSpec& spec, IControl* control, int row) {
  const auto index = static_cast<size_t>(row);
  switch (spec.keep) {
  case Keep::kNone:
    break;
  case Keep::kPresetRow:
    if (index < mHandles.presetRows.size())
      mHandles.presetRows[index] = dynamic_cast<ITextControl*>(control);
    break;
  case Keep::kCabinetRow:
    if (index < mHandles.cabinetRows.size())
      mHandles.cabinetRows[index] = dynamic_cast<ITextControl*>(control);
    break;
  case Keep::kIRNameRow:
    if (index < mHandles.irNameRows.size())
      mHandles.irNameRows[index] = dynamic_cast<ITextControl*>(control);
    break;
  case Keep::kPresetListSelect:
    mHandles.presetListSelect = control;
    break;
  case Keep::kCabinetListSelect:
    mHandles.cabinetListSelect = control;
    break;
  case Keep::kResponseGraph:
    mHandles.responseGraph = dynamic_cast<IFreqResponseGraph*>(control);
    break;
  case Keep::kDynamicsGraph:
    mHandles.dynamicsGraph = dynamic_cast<IDynamicsResponseGraph*>(control);
    break;
  }
}

} // namespace zorel::ui
