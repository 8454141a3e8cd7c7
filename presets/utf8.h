#pragma once
// UTF-8 one character at a time, for preset names.

#include <cstddef>
#include <string>
#include <string_view>

namespace lumra {

// The length of the well-formed UTF-8 character at text[at] (overlong forms, surrogates and
// code points above U+10FFFF are not), 0 when there is none; its code point in c.
inline std::size_t DecodeUtf8(std::string_view text, std::size_t at, char32_t& c) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  char32_t min = 0;
  if (lead < 0x80) {
    c = lead;
    return 1;
  }
  if ((lead & 0xE0) == 0xC0) {
    length = 2, c = lead & 0x1F, min = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, c = lead & 0x0F, min = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, c = lead & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (at + length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    c = (c << 6) | (byte(i) & 0x3F);
  }
  return c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF) ? 0 : length;
}

inline void AppendUtf8(char32_t c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
    return;
  }
  const int continuation = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
  constexpr unsigned char Lead[] = {0, 0xC0, 0xE0, 0xF0};
  out += static_cast<char>(Lead[continuation] | (c >> (6 * continuation)));
  for (int i = continuation - 1; i >= 0; --i) out += static_cast<char>(0x80 | ((c >> (6 * i)) & 0x3F));
}

}  // namespace lumra
