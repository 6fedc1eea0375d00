#pragma once

#include <cairo.h>

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace igraphics {

// One TrueType face loaded from bytes in memory (never from the system's
// font configuration), ready for cairo. The bytes are copied, so the caller's
// buffer may go away; the FreeType objects live until cairo drops its last
// reference to the face.
class Font {
public:
  static std::shared_ptr<Font> FromMemory(std::span<const uint8_t> ttf);
  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  cairo_font_face_t* Face() const { return mFace; }
  // A text of size s (line height) uses an em of s x EmPerLine(); its
  // baseline lies s x AscentPerLine() below the top of the line.
  double EmPerLine() const { return mEmPerLine; }
  double AscentPerLine() const { return mAscentPerLine; }

private:
  Font() = default;
  cairo_font_face_t* mFace = nullptr;
  double mEmPerLine = 1.0;
  double mAscentPerLine = 0.8;
};

// Fonts by the identifier text styles name them with. Used on the
// user-interface thread only.
class FontRegistry {
public:
  // Loads the face and files it under `id`, replacing an earlier one; false
  // (and nothing changed) when the bytes are not a usable scalable font.
  bool Register(const std::string& id, std::span<const uint8_t> ttf);
  std::shared_ptr<const Font> Find(std::string_view id) const;
  size_t Count() const { return mFonts.size(); }

private:
  std::map<std::string, std::shared_ptr<const Font>, std::less<>> mFonts;
};

} // namespace igraphics
