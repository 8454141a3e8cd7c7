// Writes the bundle's Turtle files into a folder: generate_bundle OUT_DIR

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>

#include "lv2/ttl/bundle_text.h"

namespace {

void WriteFile(const std::filesystem::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3 || (argc == 3 && std::string_view(argv[2]) != "--ui")) {
    std::fputs("usage: generate_bundle OUT_DIR\n", stderr);
    return 2;
  }
  try {
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);
    WriteFile(dir / "manifest.ttl", lumra::lv2::ManifestTtl());
    WriteFile(dir / "lreverb.ttl", lumra::lv2::PluginTtl());
    WriteFile(dir / "presets.ttl", lumra::lv2::PresetsTtl());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "generate_bundle: %s\n", e.what());
    return 1;
  }
  return 0;
}
