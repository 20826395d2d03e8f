#include "text/Cp866.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace pl4120 {
namespace {

// Every byte value once, 00 to FF.
std::string AllBytes() {
  std::string bytes;
  for (int b = 0; b < 256; ++b)
    bytes.push_back(static_cast<char>(b));
  return bytes;
}

TEST(Cp866, GlyphsAreDistinctAndRoundTrip) {
  const std::string bytes = AllBytes();
  const std::u16string glyphs = DecodeCp866(bytes);

  ASSERT_EQ(glyphs.size(), 256u);
  EXPECT_EQ(std::set<char16_t>(glyphs.begin(), glyphs.end()).size(), 256u);
  EXPECT_EQ(EncodeCp866(glyphs), bytes);
}

TEST(Cp866, KnownGlyphs) {
  struct Case {
    unsigned char byte;
    char16_t glyph;
  };
  const Case cases[] = {
      {0x00, u'\u2400'}, {0x01, u'\u263A'}, {0x09, u'\t'}, {0x0A, u'\u25D9'}, {0x0D, u'\u266A'},
      {0x1F, u'\u25BC'}, {0x20, u' '},      {0x41, u'A'},  {0x7F, u'\u2302'}, {0x80, u'А'},
      {0x9F, u'Я'},      {0xA0, u'а'},      {0xAF, u'п'},  {0xB0, u'\u2591'}, {0xC5, u'\u253C'},
      {0xDF, u'\u2580'}, {0xE0, u'р'},      {0xEF, u'я'},  {0xF0, u'Ё'},      {0xF1, u'ё'},
      {0xFC, u'№'},      {0xFF, u'\u00A0'},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DecodeCp866(std::string(1, static_cast<char>(c.byte))), std::u16string(1, c.glyph))
        << "byte " << int{c.byte};
  }
}

TEST(Cp866, EncodeMapsCharactersWithoutByteToQuestionMark) {
  struct Case {
    std::u16string text;
    std::string bytes;
  };
  const Case cases[] = {
      {u"Привет", "\x8F\xE0\xA8\xA2\xA5\xE2"},
      {u"€", "?"},
      {u"a€b", "a?b"},
      {u"\U0001F600", "?"},  // a surrogate pair is one character
      {u"x\U0001F600y", "x?y"},
      {std::u16string(1, u'\xD800'), "?"},  // a lone high surrogate
      {std::u16string(1, u'\xDC00') + u"a", "?a"},
      {u"\u2400\u00A0", std::string("\0\xFF", 2)},
      {u"ÄÖ", "??"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EncodeCp866(c.text), c.bytes);
  }
}

TEST(Cp866Text, LineEndsDecodeToOneBreakEach) {
  struct Case {
    std::string bytes;
    std::u16string text;
  };
  const Case cases[] = {
      {"", u""},
      {"a\r\nb", u"a\nb"},
      {"a\nb", u"a\nb"},
      {"a\rb", u"a\nb"},
      {"a\n\rb", u"a\n\nb"},    // LF then a lone CR: two line ends
      {"a\r\r\nb", u"a\n\nb"},  // a lone CR then CR LF
      {"\r\n\r\n", u"\n\n"},
      {"a\r", u"a\n"},
      {std::string("\0\x01\xFF", 3), u"\u2400\u263A\u00A0"},
  };
  for (const Case& c : cases) {
    std::u16string out(c.bytes.size(), u'#');
    const std::size_t n = DecodeCp866Text(c.bytes, out.data());
    out.resize(n);
    EXPECT_EQ(out, c.text) << "bytes " << c.bytes;
  }
}

TEST(Cp866Text, EncodeGivesCrLfAndNoStrayLineEndBytes) {
  struct Case {
    std::u16string text;
    std::string bytes;
  };
  const Case cases[] = {
      {u"a\nb", "a\r\nb"},
      {u"a\r\nb", "a\r\nb"},
      {u"a\rb", "a\r\nb"},
      {u"a\u2029b\u2028c", "a\r\nb\r\nc"},
      {u"\n", "\r\n"},
      {u"\u25D9\u266A", "??"},  // the glyphs of LF and CR cannot bring those bytes into a line
      {u"x\U0001F600", "x?"},
      {u"\u00A0\t", "\xFF\t"},
  };
  for (const Case& c : cases) {
    std::string out = "keep:";
    EncodeCp866Text(c.text, out);
    EXPECT_EQ(out, "keep:" + c.bytes);
  }
}

TEST(Cp866Text, EveryByteButLineEndsSurvivesTheTextRoundTrip) {
  std::string bytes;
  for (int b = 0; b < 256; ++b) {
    if (b != '\r' && b != '\n')
      bytes.push_back(static_cast<char>(b));
  }
  bytes += "\r\nend";
  std::u16string text(bytes.size(), u'\0');
  text.resize(DecodeCp866Text(bytes, text.data()));
  std::string back;
  EncodeCp866Text(text, back);
  EXPECT_EQ(back, bytes);
}

}  // namespace
}  // namespace pl4120
