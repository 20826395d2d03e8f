#include "text/Cp866.h"

#include <array>
#include <cstdint>

namespace pl4120 {
namespace {

// clang-format off
constexpr std::array<char16_t, 256> kGlyphs = {
    // 00..1F: the DOS graphic symbols; 00 gets U+2400 so that it stays visible, 09 stays a tab.
    u'\u2400', u'\u263A', u'\u263B', u'\u2665', u'\u2666', u'\u2663', u'\u2660', u'\u2022',
    u'\u25D8', u'\t',     u'\u25D9', u'\u2642', u'\u2640', u'\u266A', u'\u266B', u'\u263C',
    u'\u25BA', u'\u25C4', u'\u2195', u'\u203C', u'\u00B6', u'\u00A7', u'\u25AC', u'\u21A8',
    u'\u2191', u'\u2193', u'\u2192', u'\u2190', u'\u221F', u'\u2194', u'\u25B2', u'\u25BC',
    // 20..7F: ASCII, 7F the house.
    u' ', u'!', u'"', u'#', u'$', u'%', u'&', u'\'', u'(', u')', u'*', u'+', u',', u'-', u'.', u'/',
    u'0', u'1', u'2', u'3', u'4', u'5', u'6', u'7', u'8', u'9', u':', u';', u'<', u'=', u'>', u'?',
    u'@', u'A', u'B', u'C', u'D', u'E', u'F', u'G', u'H', u'I', u'J', u'K', u'L', u'M', u'N', u'O',
    u'P', u'Q', u'R', u'S', u'T', u'U', u'V', u'W', u'X', u'Y', u'Z', u'[', u'\\', u']', u'^', u'_',
    u'`', u'a', u'b', u'c', u'd', u'e', u'f', u'g', u'h', u'i', u'j', u'k', u'l', u'm', u'n', u'o',
    u'p', u'q', u'r', u's', u't', u'u', u'v', u'w', u'x', u'y', u'z', u'{', u'|', u'}', u'~', u'\u2302',
    // 80..AF: А..Я, а..п
    u'А', u'Б', u'В', u'Г', u'Д', u'Е', u'Ж', u'З', u'И', u'Й', u'К', u'Л', u'М', u'Н', u'О', u'П',
    u'Р', u'С', u'Т', u'У', u'Ф', u'Х', u'Ц', u'Ч', u'Ш', u'Щ', u'Ъ', u'Ы', u'Ь', u'Э', u'Ю', u'Я',
    u'а', u'б', u'в', u'г', u'д', u'е', u'ж', u'з', u'и', u'й', u'к', u'л', u'м', u'н', u'о', u'п',
    // B0..DF: shades and box drawing
    u'\u2591', u'\u2592', u'\u2593', u'\u2502', u'\u2524', u'\u2561', u'\u2562', u'\u2556',
    u'\u2555', u'\u2563', u'\u2551', u'\u2557', u'\u255D', u'\u255C', u'\u255B', u'\u2510',
    u'\u2514', u'\u2534', u'\u252C', u'\u251C', u'\u2500', u'\u253C', u'\u255E', u'\u255F',
    u'\u255A', u'\u2554', u'\u2569', u'\u2566', u'\u2560', u'\u2550', u'\u256C', u'\u2567',
    u'\u2568', u'\u2564', u'\u2565', u'\u2559', u'\u2558', u'\u2552', u'\u2553', u'\u256B',
    u'\u256A', u'\u2518', u'\u250C', u'\u2588', u'\u2584', u'\u258C', u'\u2590', u'\u2580',
    // E0..EF: р..я
    u'р', u'с', u'т', u'у', u'ф', u'х', u'ц', u'ч', u'ш', u'щ', u'ъ', u'ы', u'ь', u'э', u'ю', u'я',
    // F0..FF
    u'Ё', u'ё', u'Є', u'є', u'Ї', u'ї', u'Ў', u'ў',
    u'\u00B0', u'\u2219', u'\u00B7', u'\u221A', u'\u2116', u'\u00A4', u'\u25A0', u'\u00A0',
};
// clang-format on

// Reverse table over the whole basic plane: byte + 1, 0 where the code page has no byte.
struct ReverseTable {
  std::array<std::uint16_t, 0x10000> byteOf{};
  ReverseTable() {
    for (unsigned b = 0; b < 256; ++b)
      byteOf[kGlyphs[b]] = static_cast<std::uint16_t>(b + 1);
  }
};

const ReverseTable& Reverse() {
  static const ReverseTable table;
  return table;
}

bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}
bool IsLineEnd(char16_t c) {
  return c == u'\r' || c == u'\n' || c == u'\u2028' || c == u'\u2029';
}

}  // namespace

std::string EncodeCp866(std::u16string_view text) {
  const auto& table = Reverse().byteOf;
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      out.push_back('?');
      ++i;
      continue;
    }
    const std::uint16_t entry = table[c];
    out.push_back(entry == 0 ? '?' : static_cast<char>(entry - 1));
  }
  return out;
}

std::u16string DecodeCp866(std::string_view bytes) {
  std::u16string out(bytes.size(), u'\0');
  for (std::size_t i = 0; i < bytes.size(); ++i)
    out[i] = kGlyphs[static_cast<unsigned char>(bytes[i])];
  return out;
}

std::size_t DecodeCp866Text(std::string_view bytes, char16_t* out) noexcept {
  const std::size_t n = bytes.size();
  std::size_t written = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b == '\r') {
      if (i + 1 < n && bytes[i + 1] == '\n')
        ++i;
      out[written++] = u'\n';
    } else if (b == '\n') {
      out[written++] = u'\n';
    } else {
      out[written++] = kGlyphs[b];
    }
  }
  return written;
}

void EncodeCp866Text(std::u16string_view text, std::string& out) {
  const auto& table = Reverse().byteOf;
  const std::size_t n = text.size();
  const std::size_t base = out.size();
  // One byte per unit plus one for each line-end unit, so a 100 MB text is not over-allocated.
  std::size_t lineEnds = 0;
  for (const char16_t c : text) {
    if (IsLineEnd(c))
      ++lineEnds;
  }
  out.resize(base + n + lineEnds);
  char* dst = out.data() + base;
  for (std::size_t i = 0; i < n; ++i) {
    const char16_t c = text[i];
    if (IsLineEnd(c)) {
      if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
        ++i;
      *dst++ = '\r';
      *dst++ = '\n';
      continue;
    }
    if (IsHighSurrogate(c) && i + 1 < n && IsLowSurrogate(text[i + 1])) {
      *dst++ = '?';
      ++i;
      continue;
    }
    const std::uint16_t entry = table[c];
    const auto byte = static_cast<char>(entry - 1);
    *dst++ = (entry == 0 || byte == '\r' || byte == '\n') ? '?' : byte;
  }
  out.resize(static_cast<std::size_t>(dst - out.data()));
}

}  // namespace pl4120
