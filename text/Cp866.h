#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pl4120 {

/// Decodes bytes into the glyphs that code page 866 (DOS Cyrillic) gives them, one UTF-16 code
/// unit per byte. Bytes 01..1F show the DOS graphic symbols (tab 09 stays a tab), 7F shows a
/// house, 00 shows U+2400 (a visible symbol for NUL); 0A and 0D have their DOS glyphs here.
/// Every byte has a glyph of its own, so EncodeCp866 gives the bytes back.
std::u16string DecodeCp866(std::string_view bytes);

/// Encodes UTF-16 text to code page 866 bytes; a character without a byte becomes '?',
/// a surrogate pair (one character outside the basic plane) becomes one '?'.
std::string EncodeCp866(std::u16string_view text);

/// Decodes the byte view of a multi-line text: CR LF, a lone LF and a lone CR each become one
/// u'\n'; every other byte becomes its glyph. Writes at most bytes.size() code units to out and
/// returns how many it wrote.
std::size_t DecodeCp866Text(std::string_view bytes, char16_t* out) noexcept;

/// Encodes a multi-line text into its byte view and appends it to out: every line end (CR LF,
/// LF, CR, U+2028, U+2029) becomes CR LF; a character whose byte would be CR or LF, or that has
/// no byte, becomes '?'; a surrogate pair becomes one '?'. So a line never holds a stray CR or
/// LF byte.
void EncodeCp866Text(std::u16string_view text, std::string& out);

}  // namespace pl4120
