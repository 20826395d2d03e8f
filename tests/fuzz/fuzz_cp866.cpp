// Code page 866: every byte string survives the round trip through the glyphs, the text form
// turns each line end into one break and back into CR LF, and encoding any UTF-16 text matches
// a search of the glyph table.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "tests/fuzz/FuzzCheck.h"
#include "text/Cp866.h"

namespace {

using pl4120::fuzz::Check;

const std::u16string& Glyphs() {
  static const std::u16string glyphs = [] {
    std::string bytes;
    for (int b = 0; b < 256; ++b) {
      bytes.push_back(static_cast<char>(b));
    }
    return pl4120::DecodeCp866(bytes);
  }();
  return glyphs;
}

bool IsSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDFFF;
}
bool IsPair(std::u16string_view text, std::size_t i) {
  return i + 1 < text.size() && text[i] >= 0xD800 && text[i] <= 0xDBFF && text[i + 1] >= 0xDC00 &&
         text[i + 1] <= 0xDFFF;
}

// The byte of a character, from the inverse of the decoded glyph table; '?' where it has none.
char ByteOf(char16_t c) {
  static const std::vector<int> byteOf = [] {
    std::vector<int> table(0x10000, -1);
    for (std::size_t b = 0; b < Glyphs().size(); ++b) {
      table[Glyphs()[b]] = static_cast<int>(b);
    }
    return table;
  }();
  return byteOf[c] < 0 ? '?' : static_cast<char>(byteOf[c]);
}

// Each CR LF, lone CR and lone LF becomes CR LF; every other byte stays.
std::string WithCrLfLineEnds(std::string_view bytes) {
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' || bytes[i] == '\n') {
      if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
        ++i;
      }
      out += "\r\n";
    } else {
      out += bytes[i];
    }
  }
  return out;
}

void CheckBytes(const std::string& bytes) {
  const std::u16string glyphs = pl4120::DecodeCp866(bytes);
  Check(glyphs.size() == bytes.size(), "one glyph per byte");
  for (const char16_t g : glyphs) {
    Check(!IsSurrogate(g) && g != u'\r' && g != u'\n', "a glyph is one visible character");
  }
  Check(pl4120::EncodeCp866(glyphs) == bytes, "bytes survive decoding and encoding");

  // An exact-size heap buffer, so that writing past the promised length is caught.
  const std::unique_ptr<char16_t[]> buffer(new char16_t[bytes.size() + 1]);
  const std::size_t n = pl4120::DecodeCp866Text(bytes, buffer.get());
  Check(n <= bytes.size(), "the text form is never longer than the bytes");
  const std::u16string text(buffer.get(), n);
  std::string back = "kept";
  pl4120::EncodeCp866Text(text, back);
  Check(back == "kept" + WithCrLfLineEnds(bytes), "the text form keeps the bytes, ends as CR LF");
}

void CheckText(std::u16string_view text) {
  std::string plain;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool pair = IsPair(text, i);
    plain += pair ? '?' : ByteOf(text[i]);
    i += pair ? 1 : 0;
  }
  Check(pl4120::EncodeCp866(text) == plain, "encoding follows the glyph table");

  std::string lines;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (IsPair(text, i)) {
      lines += '?';
      ++i;
    } else if (c == u'\r' || c == u'\n' || c == u'\u2028' || c == u'\u2029') {
      lines += "\r\n";
      i += c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n' ? 1 : 0;
    } else {
      const char byte = ByteOf(c);
      lines += byte == '\r' || byte == '\n' ? '?' : byte;
    }
  }
  std::string encoded;
  pl4120::EncodeCp866Text(text, encoded);
  Check(encoded == lines, "the text form follows the glyph table and the line ends");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  CheckBytes(bytes);

  std::u16string text(size / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
  }
  CheckText(text);
  return 0;
}
