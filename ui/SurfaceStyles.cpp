#include "ui/SurfaceStyles.h"

namespace zorel::ui {

using igraphics::Color;
using igraphics::EAlign;
using igraphics::EVAlign;
using igraphics::TextStyle;
using igraphics::VectorColors;
using igraphics::VectorStyle;

namespace {

constexpr Color kCyan{255, 51, 255, 255};
constexpr Color kLightGrey{255, 204, 204, 204};
constexpr Color kPresetRowColour{150, 100, 255, 255};
constexpr Color kCabinetRowColour{255, 100, 255, 255};

TextStyle Roboto(float size, Color colour, EAlign align, EVAlign valign) {
  return TextStyle(size, colour, "Roboto-Regular", align, valign);
}
TextStyle Knowledge(float size, Color colour, EAlign align) {
  return TextStyle(size, colour, "Fontknow", align, EVAlign::Top);
}

const std::array<TextStyle, 14>& TextStyles() {
  static const std::array<TextStyle, 14> styles = [] {
    std::array<TextStyle, 14> s{};
    auto at = [&s](TextId id) -> TextStyle& { return s[static_cast<size_t>(id)]; };
    at(TextId::kDefault) = TextStyle();
    at(TextId::kListRow) = Roboto(27, kPresetRowColour, EAlign::Near, EVAlign::Middle);
    at(TextId::kCabinetRow) = Roboto(24, kCabinetRowColour, EAlign::Near, EVAlign::Middle);
    at(TextId::kDark) = Roboto(28, igraphics::COLOR_BLACK, EAlign::Near, EVAlign::Top);
    at(TextId::kLightBase) = Roboto(18, igraphics::COLOR_WHITE, EAlign::Center, EVAlign::Top);
    at(TextId::kButtonBase) = Roboto(18, igraphics::COLOR_BLACK, EAlign::Center, EVAlign::Top);
    at(TextId::kDisplayGhost) =
        TextStyle(88, Color(255, 51, 51, 51), "Font7Seg", EAlign::Far, EVAlign::Top);
    at(TextId::kDisplay) =
        TextStyle(88, igraphics::COLOR_WHITE, "Font7Seg", EAlign::Far, EVAlign::Top);
    at(TextId::kSectionTitle) = Knowledge(44, kLightGrey, EAlign::Near);
    at(TextId::kCaption) = Knowledge(26, Color(255, 102, 102, 102), EAlign::Center);
    at(TextId::kValue) = Knowledge(28, kLightGrey, EAlign::Center);
    at(TextId::kSmallCaption) = Knowledge(20, kLightGrey, EAlign::Center);
    at(TextId::kBigValue) = Knowledge(60, kLightGrey, EAlign::Center);
    at(TextId::kIRGain) = Knowledge(22, kCyan, EAlign::Center);
    return s;
  }();
  return styles;
}

constexpr VectorColors kBaseColours = {igraphics::COLOR_TRANSPARENT,
                                       Color(255, 94, 94, 94),
                                       Color(255, 169, 169, 169),
                                       igraphics::COLOR_WHITE,
                                       Color(10, 0, 0, 0),
                                       Color(60, 0, 0, 0),
                                       kCyan,
                                       Color(255, 70, 70, 70),
                                       Color(255, 0, 0, 255)};
constexpr VectorColors kSwitchColours = {igraphics::COLOR_TRANSPARENT,
                                         kCyan,
                                         Color(255, 169, 169, 169),
                                         igraphics::COLOR_BLACK,
                                         Color(10, 0, 0, 0),
                                         Color(255, 70, 70, 70),
                                         kCyan,
                                         Color(255, 70, 70, 70),
                                         Color(255, 0, 0, 255)};
// The panel knobs carry their readout inside the body, so the body is dark
// and the pointer light: light grey figures on a cyan body could not be
// read. The value arc keeps the cyan.
constexpr VectorColors kKnobColours = {igraphics::COLOR_TRANSPARENT,
                                       Color(255, 38, 41, 46),
                                       Color(255, 50, 54, 60),
                                       kCyan,
                                       Color(10, 0, 0, 0),
                                       Color(150, 0, 0, 0),
                                       kCyan,
                                       Color(255, 70, 70, 70),
                                       Color(255, 0, 0, 255)};

VectorStyle Geometry(VectorStyle s, float roundness, float frame, float shadow) {
  return s.WithRoundness(roundness)
      .WithFrameThickness(frame)
      .WithShadowOffset(shadow)
      .WithWidgetFrac(1.f)
      .WithAngle(0.f);
}

const std::array<VectorStyle, 6>& VectorStyles() {
  static const std::array<VectorStyle, 6> styles = [] {
    std::array<VectorStyle, 6> s{};
    auto at = [&s](StyleId id) -> VectorStyle& { return s[static_cast<size_t>(id)]; };
    const TextStyle baseText = Roboto(20, igraphics::COLOR_WHITE, EAlign::Center, EVAlign::Top);
    const VectorStyle base = Geometry(VectorStyle()
                                          .WithShowLabel(true)
                                          .WithShowValue(true)
                                          .WithColors(kBaseColours)
                                          .WithLabelText(baseText)
                                          .WithValueText(baseText)
                                          .WithDrawFrame(true)
                                          .WithDrawShadows(true)
                                          .WithEmboss(false),
                                      0.f, 1.f, 3.f);
    const TextStyle knobText = Roboto(30, Color(255, 201, 201, 201), EAlign::Center, EVAlign::Top);
    const VectorStyle knob = base.WithShowLabel(false)
                                 .WithShowValue(false)
                                 .WithColors(kKnobColours)
                                 .WithLabelText(knobText)
                                 .WithValueText(knobText);
    at(StyleId::kBase) = base;
    at(StyleId::kKnob) = knob;
    at(StyleId::kButton) =
        Geometry(base.WithColor(igraphics::kFG, Color(255, 116, 116, 116))
                     .WithColor(igraphics::kPR, Color(255, 144, 144, 144))
                     .WithColor(igraphics::kFR, igraphics::COLOR_BLACK)
                     .WithLabelText(BaseText(TextId::kButtonBase).WithVAlign(EVAlign::Middle))
                     .WithEmboss(true),
                 1.f, 2.f, 2.f);
    VectorStyle backdrop = base;
    for (igraphics::EVColor slot :
         {igraphics::kBG, igraphics::kFG, igraphics::kPR, igraphics::kFR, igraphics::kHL})
      backdrop = backdrop.WithColor(slot, igraphics::COLOR_TRANSPARENT);
    at(StyleId::kBackdrop) =
        Geometry(backdrop.WithLabelText(
                     BaseText(TextId::kLightBase).WithSize(34).WithVAlign(EVAlign::Middle)),
                 0.05f, 1.f, 0.f);
    at(StyleId::kSwitch) = Geometry(knob.WithColors(kSwitchColours), 1.f, 1.f, 3.f);
    // The scroll bar keeps the pointer visible, so the handle follows it.
    at(StyleId::kScrollBar) =
        Geometry(base.WithShowLabel(false).WithShowValue(false), 0.2f, 1.f, 3.f)
            .WithHideCursor(false);
    return s;
  }();
  return styles;
}

} // namespace

int RegisterFonts(igraphics::IGraphics& graphics) {
  int loaded = 0;
  for (const FontResource& font : kFonts)
    if (graphics.RegisterFontResource(font.id, font.file)) ++loaded;
  return loaded;
}

const TextStyle& BaseText(TextId id) {
  return TextStyles()[static_cast<size_t>(id)];
}

const VectorStyle& BaseStyle(StyleId id) {
  return VectorStyles()[static_cast<size_t>(id)];
}

namespace {
TextStyle Adjusted(TextStyle style, const Look& look) {
  if (look.size > 0.f) style = style.WithSize(look.size);
  if (look.colour) style = style.WithFGColor(*look.colour);
  if (look.align) style = style.WithAlign(*look.align);
  if (look.valign) style = style.WithVAlign(*look.valign);
  return style;
}
} // namespace

TextStyle TextFor(const Look& look) {
  return Adjusted(BaseText(look.text), look);
}

VectorStyle StyleFor(const Look& look) {
  const VectorStyle& base = BaseStyle(look.style);
  return base.WithLabelText(Adjusted(base.labelText, look));
}

} // namespace zorel::ui
