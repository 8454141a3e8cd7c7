#include "tools/lreverb/ogg_serial.h"

#include <ogg/ogg.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace lumra {
namespace {

class OggSync {
 public:
  OggSync() { ogg_sync_init(&state_); }
  ~OggSync() { ogg_sync_clear(&state_); }
  OggSync(const OggSync&) = delete;
  OggSync& operator=(const OggSync&) = delete;
  ogg_sync_state* operator->() { return &state_; }
  ogg_sync_state* get() { return &state_; }

 private:
  ogg_sync_state state_;
};

constexpr long SerialAt = 14;  // in a page header, little-endian

}  // namespace

void SetOggSerialNumber(const std::filesystem::path& path, std::uint32_t serial) {
  const auto fail = [&](const std::string& why) {
    throw std::runtime_error("cannot finish \"" + path.string() + "\": " + why);
  };
  std::string data;
  {
    std::ifstream in(path, std::ios::binary);
    if (!in) fail("it cannot be read back");
    data.assign(std::istreambuf_iterator<char>(in), {});
    if (in.bad()) fail("it cannot be read back");
  }
  OggSync sync;
  char* buffer = ogg_sync_buffer(sync.get(), static_cast<long>(data.size()));
  if (buffer == nullptr) fail("out of memory");
  std::memcpy(buffer, data.data(), data.size());
  ogg_sync_wrote(sync.get(), static_cast<long>(data.size()));

  std::string pages;
  pages.reserve(data.size());
  ogg_page page;
  for (int result; (result = ogg_sync_pageout(sync.get(), &page)) != 0;) {
    if (result < 0) fail("it is not an Ogg stream");
    for (int i = 0; i < 4; ++i)
      page.header[SerialAt + i] = static_cast<unsigned char>((serial >> (8 * i)) & 0xFF);
    ogg_page_checksum_set(&page);
    pages.append(reinterpret_cast<const char*>(page.header),
                 static_cast<std::size_t>(page.header_len));
    pages.append(reinterpret_cast<const char*>(page.body), static_cast<std::size_t>(page.body_len));
  }
  if (pages.size() != data.size()) fail("it is not an Ogg stream");

  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(pages.data(), static_cast<std::streamsize>(pages.size()));
  if (!out.flush()) fail("it cannot be written");
}

}  // namespace lumra
