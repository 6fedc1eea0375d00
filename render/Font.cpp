#include "render/Font.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <vector>

namespace igraphics {

namespace {

// What must outlive the cairo face. Each font has its own FreeType library
// instance: FreeType libraries are not thread-safe, and cairo may render
// different faces from different threads later on.
struct FaceOwner {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  std::vector<uint8_t> bytes;

  ~FaceOwner() {
    if (face != nullptr) FT_Done_Face(face);
    if (library != nullptr) FT_Done_FreeType(library);
  }
};

const cairo_user_data_key_t kOwnerKey{};

void DestroyOwner(void* p) {
  delete static_cast<FaceOwner*>(p);
}

} // namespace

std::shared_ptr<Font> Font::FromMemory(std::span<const uint8_t> ttf) {
  if (ttf.empty()) return nullptr;
  auto owner = std::make_unique<FaceOwner>();
  owner->bytes.assign(ttf.begin(), ttf.end());
  if (FT_Init_FreeType(&owner->library) != 0) return nullptr;
  if (FT_New_Memory_Face(owner->library, owner->bytes.data(),
                         static_cast<FT_Long>(owner->bytes.size()), 0, &owner->face) != 0) {
    owner->face = nullptr;
    return nullptr;
  }
  FT_Face face = owner->face;
  if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) return nullptr;

  // The line runs from the ascender to the descender; a font that leaves
  // them empty gets the em box as its line.
  double ascender = face->ascender;
  double descender = face->descender; // negative below the baseline
  if (!(ascender - descender > 0)) {
    ascender = 0.8 * face->units_per_EM;
    descender = -0.2 * face->units_per_EM;
  }
  const double line = ascender - descender;

  cairo_font_face_t* cf = cairo_ft_font_face_create_for_ft_face(face, 0);
  if (cairo_font_face_status(cf) != CAIRO_STATUS_SUCCESS) {
    cairo_font_face_destroy(cf);
    return nullptr;
  }
  FaceOwner* raw = owner.release();
  if (cairo_font_face_set_user_data(cf, &kOwnerKey, raw, DestroyOwner) != CAIRO_STATUS_SUCCESS) {
    cairo_font_face_destroy(cf);
    delete raw;
    return nullptr;
  }

  std::shared_ptr<Font> font(new Font());
  font->mFace = cf;
  font->mEmPerLine = face->units_per_EM / line;
  font->mAscentPerLine = ascender / line;
  return font;
}

Font::~Font() {
  if (mFace != nullptr) cairo_font_face_destroy(mFace);
}

bool FontRegistry::Register(const std::string& id, std::span<const uint8_t> ttf) {
  std::shared_ptr<const Font> font = Font::FromMemory(ttf);
  if (font == nullptr) return false;
  mFonts[id] = std::move(font);
  return true;
}

std::shared_ptr<const Font> FontRegistry::Find(std::string_view id) const {
  const auto it = mFonts.find(id);
  return it == mFonts.end() ? nullptr : it->second;
}

} // namespace igraphics
