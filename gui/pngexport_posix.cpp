#include <png.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "gui/pngexport.h"

namespace lumra {
namespace {

struct CloseFile {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

void Fail(const std::filesystem::path& temporary, const std::string& why) {
  std::error_code ignored;
  std::filesystem::remove(temporary, ignored);
  throw std::runtime_error(why);
}

}  // namespace

void SavePng(const TFDIB& surface, const std::filesystem::path& path) {
  if (surface.Width() <= 0 || surface.Height() <= 0)
    throw std::runtime_error("cannot write an empty surface to " + path.string());

  std::vector<png_byte> rgb;
  rgb.reserve(surface.Pixels().size() * 3);
  for (const TPixel p : surface.Pixels()) {
    rgb.push_back(static_cast<png_byte>(p >> 16));
    rgb.push_back(static_cast<png_byte>(p >> 8));
    rgb.push_back(static_cast<png_byte>(p));
  }

  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(surface.Width());
  image.height = static_cast<png_uint_32>(surface.Height());
  image.format = PNG_FORMAT_RGB;

  std::filesystem::path temporary = path;
  temporary += ".tmp" + std::to_string(::getpid());
  std::unique_ptr<std::FILE, CloseFile> file(std::fopen(temporary.c_str(), "wb"));
  if (!file) throw std::runtime_error("cannot create " + temporary.string());
  if (!png_image_write_to_stdio(&image, file.get(), 0, rgb.data(), 0, nullptr)) {
    const std::string message = image.message;
    file.reset();
    Fail(temporary, "cannot write " + path.string() + ": " + message);
  }
  if (std::fflush(file.get()) != 0 || ::fsync(::fileno(file.get())) != 0 || std::fclose(file.release()) != 0)
    Fail(temporary, "cannot write " + path.string());
  std::error_code ec;
  std::filesystem::rename(temporary, path, ec);
  if (ec) Fail(temporary, "cannot rename " + temporary.string() + " to " + path.string() + ": " + ec.message());
}

}  // namespace lumra
