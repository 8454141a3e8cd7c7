// Text through FreeType, faces found through fontconfig or at their Debian install paths.
// Windows face names map to metric-compatible stand-ins, so text takes the same room as on
// Windows: "Arial" is Liberation Sans and the Japanese proportional Gothic is IPAPGothic.
// Styles a face lacks are synthesised, as GDI does.

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <tuple>

#include "gui/pixelmath.h"
#include "gui/textraster.h"

namespace lumra {
namespace {

struct StandIn {
  std::array<std::string_view, 3> names;  // Windows face names, UTF-8
  std::string_view family;
  std::string_view package;
  // Regular, bold, italic, bold italic; an empty entry is synthesised from the regular face.
  std::array<std::array<std::string_view, 4>, 2> paths;
};

constexpr StandIn kStandIns[] = {
    {{"Arial", "", ""},
     "Liberation Sans",
     "fonts-liberation2",
     {{{"/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf",
        "/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf",
        "/usr/share/fonts/truetype/liberation2/LiberationSans-Italic.ttf",
        "/usr/share/fonts/truetype/liberation2/LiberationSans-BoldItalic.ttf"},
       {"/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf",
        "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf",
        "/usr/share/fonts/truetype/liberation/LiberationSans-Italic.ttf",
        "/usr/share/fonts/truetype/liberation/LiberationSans-BoldItalic.ttf"}}}},
    {{"MS PGothic", "\xEF\xBC\xAD\xEF\xBC\xB3 \xEF\xBC\xB0\xE3\x82\xB4\xE3\x82\xB7\xE3\x83\x83\xE3\x82\xAF", "IPAPGothic"},
     "IPAPGothic",
     "fonts-ipafont-gothic",
     {{{"/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf", "", "", ""},
       {"/usr/share/fonts/truetype/ipafont-gothic/ipagp.ttf", "", "", ""}}}},
};

struct FaceFile {
  std::string path;
  int index = 0;
  bool embolden = false;
  bool oblique = false;
};

bool SameName(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

const StandIn* FindStandIn(std::string_view name) {
  for (const StandIn& s : kStandIns)
    for (std::string_view n : s.names)
      if (!n.empty() && SameName(n, name)) return &s;
  return nullptr;
}

// Fontconfig always answers with some face; only one of the asked family counts.
bool MatchFontconfig(FcConfig* config, std::string_view family, bool bold, bool italic, FaceFile& out) {
  using PatternPtr = std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)>;
  PatternPtr pattern(FcPatternCreate(), &FcPatternDestroy);
  if (!pattern) return false;
  const std::string familyName(family);
  FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(familyName.c_str()));
  FcPatternAddInteger(pattern.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  PatternPtr match(FcFontMatch(config, pattern.get(), &result), &FcPatternDestroy);
  if (!match) return false;

  bool sameFamily = false;
  FcChar8* value = nullptr;
  for (int i = 0; !sameFamily && FcPatternGetString(match.get(), FC_FAMILY, i, &value) == FcResultMatch; ++i)
    sameFamily = SameName(reinterpret_cast<const char*>(value), family);
  if (!sameFamily || FcPatternGetString(match.get(), FC_FILE, 0, &value) != FcResultMatch) return false;

  out.path = reinterpret_cast<const char*>(value);
  int index = 0, weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
  FcPatternGetInteger(match.get(), FC_INDEX, 0, &index);
  FcPatternGetInteger(match.get(), FC_WEIGHT, 0, &weight);
  FcPatternGetInteger(match.get(), FC_SLANT, 0, &slant);
  out.index = index;
  out.embolden = bold && weight < FC_WEIGHT_DEMIBOLD;
  out.oblique = italic && slant == FC_SLANT_ROMAN;
  return true;
}

bool MatchKnownPaths(const StandIn& standIn, bool bold, bool italic, FaceFile& out) {
  const std::size_t style = (bold ? 1u : 0u) + (italic ? 2u : 0u);
  for (const auto& files : standIn.paths) {
    std::error_code ec;
    if (!files[style].empty() && std::filesystem::exists(files[style], ec)) {
      out = {std::string(files[style]), 0, false, false};
      return true;
    }
    if (std::filesystem::exists(files[0], ec)) {
      out = {std::string(files[0]), 0, bold, italic};
      return true;
    }
  }
  return false;
}

FaceFile Resolve(FcConfig* config, const TFont& font) {
  const StandIn* standIn = FindStandIn(font.Name);
  const std::string_view family = standIn ? standIn->family : std::string_view(font.Name);
  FaceFile file;
  if (config && MatchFontconfig(config, family, font.Bold, font.Italic, file)) return file;
  if (standIn && MatchKnownPaths(*standIn, font.Bold, font.Italic, file)) return file;
  std::string message = "font \"" + font.Name + "\" is not installed";
  if (standIn)
    message += " (its stand-in \"" + std::string(standIn->family) + "\" comes with the Debian package " +
               std::string(standIn->package) + ")";
  throw FontNotFound(message);
}

// The font configuration, one FreeType library and the faces opened so far, for the life of the
// process: loading the configuration and opening a face cost far more than drawing a label.
class FaceCache {
 public:
  FaceCache() : config_(FcInitLoadConfigAndFonts()) {
    if (FT_Init_FreeType(&library_) != 0) {
      if (config_) FcConfigDestroy(config_);
      throw std::runtime_error("FreeType cannot be initialised");
    }
  }
  ~FaceCache() {
    for (auto& [key, face] : faces_) FT_Done_Face(face);
    FT_Done_FreeType(library_);
    // Only the configuration of our own is released: FcFini would end fontconfig for the whole
    // process, under a host (or a second copy of this library) still using it.
    if (config_) FcConfigDestroy(config_);
  }
  FaceCache(const FaceCache&) = delete;
  FaceCache& operator=(const FaceCache&) = delete;

  std::mutex mutex;

  std::pair<FT_Face, FaceFile> Get(const TFont& font) {
    const auto key = std::make_tuple(font.Name, font.Bold, font.Italic);
    auto found = resolved_.find(key);
    if (found == resolved_.end()) found = resolved_.emplace(key, Resolve(config_, font)).first;
    const FaceFile& file = found->second;
    auto& face = faces_[{file.path, file.index}];
    if (!face && FT_New_Face(library_, file.path.c_str(), file.index, &face) != 0) {
      faces_.erase({file.path, file.index});
      throw FontNotFound("font file " + file.path + " cannot be opened");
    }
    return {face, file};
  }

 private:
  FcConfig* config_ = nullptr;  // null without a configuration: only the known paths are tried
  FT_Library library_ = nullptr;
  std::map<std::tuple<std::string, bool, bool>, FaceFile> resolved_;
  std::map<std::pair<std::string, int>, FT_Face> faces_;
};

FaceCache& Cache() {
  static FaceCache cache;
  return cache;
}

// Malformed sequences give U+FFFD, one per offending byte.
char32_t NextCodePoint(std::string_view text, std::size_t& i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned lead = byte(i++);
  if (lead < 0x80) return lead;
  const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
  if (extra < 0 || lead > 0xF4 || i + extra > text.size()) return U'\uFFFD';
  char32_t cp = lead & (0x3Fu >> extra);
  for (int k = 0; k < extra; ++k) {
    if ((byte(i + k) & 0xC0u) != 0x80u) return U'\uFFFD';
    cp = (cp << 6) | (byte(i + k) & 0x3Fu);
  }
  i += extra;
  return cp;
}

// The cell's top lies the font's Windows ascent above the baseline, as in GDI.
std::int32_t Ascent(FT_Face face, std::int32_t pixels) {
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 && os2->version != 0xFFFFu && face->units_per_EM > 0)
    return RoundToCoordinate(static_cast<double>(os2->usWinAscent) * pixels / face->units_per_EM);
  return static_cast<std::int32_t>((face->size->metrics.ascender + 63) >> 6);
}

void BlendGlyph(TFDIB& target, const FT_Bitmap& bitmap, std::int64_t left, std::int64_t top, TColor color) {
  for (unsigned row = 0; row < bitmap.rows; ++row) {
    const std::int64_t y = top + row;
    if (y < 0 || y >= target.Height()) continue;
    const unsigned char* src = bitmap.buffer + static_cast<std::ptrdiff_t>(row) * bitmap.pitch;
    const auto line = target.ScanLine(static_cast<std::int32_t>(y));
    for (unsigned col = 0; col < bitmap.width; ++col) {
      const std::int64_t x = left + col;
      if (x < 0 || x >= target.Width()) continue;
      const std::uint32_t cover = bitmap.pixel_mode == FT_PIXEL_MODE_MONO
                                      ? ((src[col >> 3] >> (7 - (col & 7))) & 1u) * 255u
                                      : src[col];
      TPixel& p = line[static_cast<std::size_t>(x)];
      TPixel out = p & kAlphaMask;
      for (int shift : {16, 8, 0}) {
        const std::uint32_t was = (p >> shift) & 0xFFu, ink = (color >> shift) & 0xFFu;
        out |= ((was * (255 - cover) + ink * cover + 127) / 255) << shift;
      }
      p = out;
    }
  }
}

}  // namespace

std::int32_t ScreenPixelsPerInch() { return 96; }

void RenderText(TFDIB& target, const TFont& font, std::string_view utf8, TColor color) {
  const std::int32_t pixels = FontPixelHeight(font);
  if (pixels <= 0 || utf8.empty()) return;
  FaceCache& cache = Cache();
  const std::lock_guard lock(cache.mutex);
  const auto [face, file] = cache.Get(font);
  if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixels)) != 0) return;

  const std::int64_t baseline = Ascent(face, pixels);
  std::int64_t pen = 0;  // 26.6 fixed point
  for (std::size_t i = 0; i < utf8.size() && (pen >> 6) < target.Width();) {
    const char32_t cp = NextCodePoint(utf8, i);
    if (FT_Load_Char(face, cp, FT_LOAD_DEFAULT) != 0) continue;
    FT_GlyphSlot slot = face->glyph;
    if (file.oblique) FT_GlyphSlot_Oblique(slot);
    if (file.embolden) FT_GlyphSlot_Embolden(slot);
    if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) continue;
    if (slot->bitmap.pixel_mode == FT_PIXEL_MODE_GRAY || slot->bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
      BlendGlyph(target, slot->bitmap, (pen >> 6) + slot->bitmap_left, baseline - slot->bitmap_top, color);
    pen += slot->advance.x;
  }
}

}  // namespace lumra
