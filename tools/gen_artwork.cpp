// Draws the pictures of the control surface at 1x and 2x, the two SVG
// documents and the application icon. Output is the same bytes on every
// run: no time stamps, no randomness.
//
//   gen_artwork FONTDIR OUTDIR [--icons ICONDIR] [--preview DOCDIR] [--only A.png,B.png]
//
// FONTDIR holds the bundled fonts under their resource names. ICONDIR
// receives NxN/apps/zorelcontrol.png for the hicolor sizes. DOCDIR
// receives a contact sheet and mock-ups of the surface for review.
// --only draws just the named pictures (and the SVGs), for quick checks.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>

#include "tools/artwork/Painter.h"
#include "tools/artwork/Pictures.h"
#include "tools/artwork/Preview.h"

namespace {

constexpr int kIconSizes[] = {16, 32, 48, 64, 128, 256};

// "knob.png" at scale 2 -> "knob@2x.png", the name the picture loader prefers.
std::string ScaledName(const std::string& name, int scale) {
  if (scale == 1) return name;
  const size_t dot = name.rfind('.');
  return name.substr(0, dot) + "@" + std::to_string(scale) + "x" + name.substr(dot);
}

bool WriteText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  return static_cast<bool>(out);
}

bool Fail(const std::string& what) {
  std::fprintf(stderr, "gen_artwork: cannot write %s\n", what.c_str());
  return false;
}

struct Options {
  std::string iconDir, previewDir;
  std::set<std::string> only; // empty: every picture
};

bool Generate(const std::string& outDir, const Options& options) {
  const std::string& iconDir = options.iconDir;
  const std::string& previewDir = options.previewDir;
  namespace fs = std::filesystem;
  fs::create_directories(outDir);
  const std::vector<art::Picture> pictures = art::AllPictures();
  std::map<std::string, std::unique_ptr<art::Canvas>> kept;
  for (const art::Picture& picture : pictures) {
    if (!options.only.empty() && options.only.count(picture.name) == 0) continue;
    for (int scale : {1, 2}) {
      auto canvas = std::make_unique<art::Canvas>(picture.width, picture.height, scale);
      picture.draw(canvas->Cr());
      const std::string path = outDir + "/" + ScaledName(picture.name, scale);
      if (!art::WritePng(*canvas, path)) return Fail(path);
      if (scale == 1 && !previewDir.empty()) kept[picture.name] = std::move(canvas);
    }
  }
  if (!WriteText(outDir + "/vector-knob.svg", art::VectorKnobSvg()) ||
      !WriteText(outDir + "/micbg.svg", art::MicTrackSvg()))
    return Fail("the SVG files");

  if (!iconDir.empty()) {
    for (int size : kIconSizes) {
      const std::string dir =
          iconDir + "/" + std::to_string(size) + "x" + std::to_string(size) + "/apps";
      fs::create_directories(dir);
      art::Canvas canvas(size, size, 1);
      art::DrawAppIcon(canvas.Cr(), size);
      if (!art::WritePng(canvas, dir + "/zorelcontrol.png")) return Fail(dir);
    }
  }

  if (!previewDir.empty()) {
    fs::create_directories(previewDir);
    auto lookup = [&](const std::string& name) -> cairo_surface_t* {
      auto it = kept.find(name);
      return it == kept.end() ? nullptr : it->second->Surface();
    };
    if (!art::WritePreviews(pictures, lookup, previewDir)) return Fail(previewDir);
  }
  return true;
}

} // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr,
                 "usage: %s FONTDIR OUTDIR [--icons ICONDIR] [--preview DOCDIR] [--only A,B]\n",
                 argv[0]);
    return 2;
  }
  Options options;
  if ((argc - 3) % 2 != 0) {
    std::fprintf(stderr, "%s: option %s needs a value\n", argv[0], argv[argc - 1]);
    return 2;
  }
  for (int i = 3; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--icons") {
      options.iconDir = argv[i + 1];
    } else if (option == "--preview") {
      options.previewDir = argv[i + 1];
    } else if (option == "--only") {
      std::istringstream names(argv[i + 1]);
      for (std::string name; std::getline(names, name, ',');) options.only.insert(name);
    } else {
      std::fprintf(stderr, "%s: unknown option %s\n", argv[0], option.c_str());
      return 2;
    }
  }
  if (!art::Fonts::Load(argv[1])) return 1;
  bool ok = false;
  try {
    ok = Generate(argv[2], options);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "gen_artwork: %s\n", e.what());
  }
  art::Fonts::Release();
  return ok ? 0 : 1;
}
