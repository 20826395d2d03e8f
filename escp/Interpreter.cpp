#include "escp/Interpreter.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <iterator>
#include <stdexcept>
#include <utility>

#include "printer/Commands.h"

namespace pl4120::escp {

static_assert(sizeof(PageStart) <= 32, "the index stays small: one PageStart a page");
static_assert(sizeof(Run) <= 16, "a page of runs stays small");

namespace {

using cmd::Args;
using cmd::Op;

constexpr int kInch = 216;  // vertical units an inch
constexpr int kMaxPageLength = 22 * kInch;
constexpr int kMinMarginGap = 72;        // one double-width 10 cpi character
constexpr int kDefaultTabStep = 8 * 36;  // eight characters of 10 cpi
constexpr int kMaxCount = 0xFFFF;

// Pitch, width and style bits of the printer's state, each where RunFlag has it, apart from the
// one-line double width of SO (bit 7, shown as kDoubleWidth too); bits 8..10 hold the vertical
// tab channel.
enum ModeBit : std::uint16_t {
  kModeCondensed = kCondensed,
  kModeWide = kDoubleWidth,  // ESC W 1
  kModeEmphasized = kEmphasized,
  kModeDoubleStrike = kDoubleStrike,
  kModeItalic = kItalic,
  kModeUnderline = kUnderline,
  kModeElite = kElite,
  kModeLineWide = 1u << 7,  // SO: until the line ends
};
constexpr int kChannelShift = 8;
constexpr std::uint16_t kChannelMask = 7u << kChannelShift;

// Everything the printer keeps between bytes. Positions in 1/360 inch from the left-most print
// position and in 1/216 inch from the sheet's top; formTop is where the page length counts
// from (ESC C makes the current line the top of the page).
struct State {
  int x = 0;
  int y = 0;
  int formTop = 0;
  int spacing = 36;
  int pageLength = 0;
  int skip = 0;
  int left = 0;
  int right = 0;
  std::uint16_t mode = 0;
};

// The paper as the interpreter uses it: sizes kept within what the units and the printer allow.
struct Geometry {
  int width;
  int height;
  int left;
  int printable;
};

constexpr int kMaxSheet = 60000;

Geometry Sanitize(const Paper& paper) {
  Geometry g{};
  g.width = std::clamp(paper.width, 720, kMaxSheet);
  g.height = std::clamp(paper.height, kInch, kMaxSheet);
  g.left = std::clamp(paper.left, 0, g.width - 720);
  g.printable = std::clamp(paper.printableWidth, 720, std::min(kPrintableWidth, g.width - g.left));
  return g;
}

State PowerOn(const Geometry& g) {
  State s;
  s.pageLength = g.height;
  s.right = g.printable;
  return s;
}

TabStops DefaultTabs() {
  TabStops t;
  for (std::size_t i = 0; i < t.horizontal.size(); ++i) {
    t.horizontal[i] = static_cast<std::uint16_t>((i + 1) * kDefaultTabStep);
  }
  t.horizontalCount = static_cast<std::uint8_t>(t.horizontal.size());
  return t;
}

std::uint8_t RunFlags(std::uint16_t mode) {
  return static_cast<std::uint8_t>((mode & 0x7F) | ((mode & kModeLineWide) ? kDoubleWidth : 0));
}

// The width of a column (no double width) and of a character, by the low byte of the mode.
constexpr int ColumnWidthOf(unsigned mode) {
  if (mode & kModeElite) {
    return (mode & kModeCondensed) ? 18 : 30;
  }
  return (mode & kModeCondensed) ? 21 : 36;
}

constexpr std::array<std::uint8_t, 256> MakeAdvances() {
  std::array<std::uint8_t, 256> advances{};
  for (unsigned mode = 0; mode < 256; ++mode) {
    const int wide = (mode & (kModeWide | kModeLineWide)) ? 2 : 1;
    advances[mode] = static_cast<std::uint8_t>(wide * ColumnWidthOf(mode));
  }
  return advances;
}

constexpr std::array<std::uint8_t, 256> kAdvances = MakeAdvances();

// The command table turned into lookups by byte, each slot a copy of what reading the command
// needs from its row: a single control byte, ESC and one more byte, and a three-byte code
// (with its third byte).
struct Entry {
  Op op = Op::LineFeed;
  std::uint8_t codeLength = 0;  // 0: no command here
  std::uint8_t argBytes = 0;
  Args args = Args::Fixed;
  std::uint16_t set = 0;     // for a command that only switches mode bits: the bits it sets
  std::uint16_t clear = 0;   // and those it clears
  std::int16_t longer = -1;  // ESC slots: the third byte of a longer code (in esc3), or -1
};

// The mode bits of the commands that do nothing but switch pitch, width or style.
constexpr std::pair<std::uint16_t, std::uint16_t> ModeSwitch(Op op) {
  switch (op) {
    case Op::Pitch12:
      return {kModeElite, 0};
    case Op::Pitch10:
      return {0, kModeElite};
    case Op::CondensedOn:
    case Op::CondensedOnEsc:
      return {kModeCondensed, 0};
    case Op::CondensedOff:
      return {0, kModeCondensed};
    case Op::DoubleWidthOn:
    case Op::DoubleWidthOnEsc:
      return {kModeLineWide, 0};
    case Op::DoubleWidthOff:
      return {0, kModeLineWide};
    case Op::EmphasizedOn:
      return {kModeEmphasized, 0};
    case Op::EmphasizedOff:
      return {0, kModeEmphasized};
    case Op::DoubleStrikeOn:
      return {kModeDoubleStrike, 0};
    case Op::DoubleStrikeOff:
      return {0, kModeDoubleStrike};
    case Op::ItalicOn:
      return {kModeItalic, 0};
    case Op::ItalicOff:
      return {0, kModeItalic};
    default:
      return {0, 0};
  }
}

struct Dispatch {
  std::array<Entry, 256> single{};
  std::array<Entry, 256> esc{};
  std::array<Entry, 256> esc3{};
};

constexpr Dispatch MakeDispatch() {
  Dispatch d;
  for (const cmd::Command& command : cmd::kCommands) {
    const std::string_view code = command.code;
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(code[i]); };
    const auto [set, clear] = ModeSwitch(command.op);
    const Entry entry{
        command.op, static_cast<std::uint8_t>(code.size()), command.argBytes, command.args, set,
        clear};
    if (code.size() == 1) {
      d.single[at(0)] = entry;
    } else if (code.size() == 2) {
      const std::int16_t longer = d.esc[at(1)].longer;
      d.esc[at(1)] = entry;
      d.esc[at(1)].longer = longer;
    } else {
      d.esc3[at(1)] = entry;
      d.esc[at(1)].longer = at(2);
    }
  }
  return d;
}

constexpr Dispatch kDispatch = MakeDispatch();

// Every row is found again by its own code: no two codes share a lookup slot.
constexpr bool EveryRowIsReachable() {
  for (const cmd::Command& command : cmd::kCommands) {
    const std::string_view code = command.code;
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(code[i]); };
    const Entry& found = code.size() == 1   ? kDispatch.single[at(0)]
                         : code.size() == 2 ? kDispatch.esc[at(1)]
                                            : kDispatch.esc3[at(1)];
    if (found.op != command.op || found.codeLength != code.size() ||
        (code.size() == 3 && kDispatch.esc[at(1)].longer != at(2)) ||
        (code.size() > 1 && code[0] != '\x1B') || code.size() > 3) {
      return false;
    }
  }
  return true;
}
static_assert(EveryRowIsReachable(), "each command has a lookup slot of its own");

constexpr unsigned char kEscape = 0x1B;
constexpr auto kCarriageReturn =
    static_cast<unsigned char>(cmd::Lookup(Op::CarriageReturn).code[0]);
constexpr auto kLineFeed = static_cast<unsigned char>(cmd::Lookup(Op::LineFeed).code[0]);

constexpr bool IsText(unsigned char c) {
  return c >= 0x20 && c != 0x7F;
}

// The first byte at or after p that is not a character (00..1F or 7F), or end. Eight bytes at
// a time: the lowest flagged byte of each test is exact (a false flag only follows a true one).
[[gnu::always_inline]] inline const unsigned char* FindControl(const unsigned char* p,
                                                               const unsigned char* end) {
  if constexpr (std::endian::native == std::endian::little) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kHigh = 0x8080808080808080ull;
    const auto controls = [](std::uint64_t w) {
      const std::uint64_t below = (w - kOnes * 0x20) & ~w & kHigh;
      const std::uint64_t del = w ^ (kOnes * 0x7F);
      return below | ((del - kOnes) & ~del & kHigh);
    };
    while (end - p >= 16) {
      std::uint64_t w[2];
      std::memcpy(w, p, sizeof w);
      const std::uint64_t first = controls(w[0]);
      const std::uint64_t second = controls(w[1]);
      if ((first | second) != 0) {
        return first != 0 ? p + (std::countr_zero(first) >> 3)
                          : p + 8 + (std::countr_zero(second) >> 3);
      }
      p += 16;
    }
    if (end - p >= 8) {
      std::uint64_t w;
      std::memcpy(&w, p, sizeof w);
      if (const std::uint64_t hit = controls(w); hit != 0) {
        return p + (std::countr_zero(hit) >> 3);
      }
      p += 8;
    }
  }
  while (p < end && IsText(*p)) {
    ++p;
  }
  return p;
}

// Runs the printer over the bytes from a start until they end or the sink asks it to stop.
// The sink hears of each run of characters (Text), of each page's end (PageEnded, with where
// and in which state the next page begins) and of the end of the bytes (Finished).
template <class Sink>
class Engine {
 public:
  Engine(std::string_view bytes, const Geometry& g, Sink& sink)
      : b_(reinterpret_cast<const unsigned char*>(bytes.data())),
        n_(bytes.size()),
        g_(g),
        sink_(sink) {}

  void Run(std::size_t offset, const State& state, const TabStops& tabs) {
    pos_ = std::min(offset, n_);
    s_ = state;
    t_ = tabs;
    printed_ = false;
    stop_ = false;
    while (pos_ < n_) {
      const unsigned char c = b_[pos_];
      if (IsText(c)) {
        Text();
      } else if (c == kEscape) {
        Escape();
      } else if (c == kCarriageReturn) {
        ++pos_;  // the most common controls, taken before the general lookup
        LineEnd();
      } else if (c == kLineFeed) {
        ++pos_;
        LineEnd();
        Feed(s_.spacing);
      } else {
        ++pos_;
        if (const Entry& entry = kDispatch.single[c]; entry.codeLength != 0) {
          Control(entry);
        }
      }
      if (stop_) {
        return;
      }
    }
    sink_.Finished(printed_);
  }

 private:
  int ColumnWidth() const { return ColumnWidthOf(s_.mode & 0xFFu); }

  int Advance() const { return kAdvances[s_.mode & 0xFFu]; }

  void Text() {
    const std::size_t end = static_cast<std::size_t>(FindControl(b_ + pos_, b_ + n_) - b_);
    while (pos_ < end) {
      const int advance = Advance();
      const int room = s_.right - s_.x;
      const std::size_t left = end - pos_;
      std::size_t count = left;
      if (room < 0 || static_cast<std::size_t>(room) < left * static_cast<std::size_t>(advance)) {
        if (room < advance) {
          // The line is full: the printer prints it and goes on at the start of the next.
          LineEnd();
          Feed(s_.spacing);
          if (stop_) {
            return;
          }
          continue;
        }
        count = static_cast<std::size_t>(room / advance);
      }
      sink_.Text(s_, advance, pos_, count);
      printed_ = true;
      s_.x += static_cast<int>(count) * advance;
      pos_ += count;
    }
  }

  // CR, and the carriage return that LF, FF, VT and a wrap make: the one-line double width
  // ends with the line.
  void LineEnd() {
    s_.mode &= static_cast<std::uint16_t>(~kModeLineWide);
    s_.x = s_.left;
  }

  void Control(const Entry& entry) {
    s_.mode = static_cast<std::uint16_t>((s_.mode & ~entry.clear) | entry.set);
    switch (entry.op) {
      case Op::LineFeed:
        LineEnd();
        Feed(s_.spacing);
        break;
      case Op::FormFeed:
        LineEnd();
        NewPage(PageEnd::FormFeed, 0);
        break;
      case Op::CarriageReturn:
        LineEnd();
        break;
      case Op::Backspace:
        if (s_.x - Advance() >= s_.left) {
          s_.x -= Advance();
        }
        break;
      case Op::HorizontalTab:
        HorizontalTab();
        break;
      case Op::VerticalTab:
        VerticalTab();
        break;
      default:
        break;  // SO, SI, DC2, DC4 switched their mode bits above; BEL, DC1, DC3, CAN, DEL
                // leave no mark
    }
  }

  void Escape() {
    const std::size_t start = pos_;
    if (n_ - start < 2) {
      pos_ = n_;
      return;
    }
    const unsigned char second = b_[start + 1];
    const Entry* entry = &kDispatch.esc[second];
    if (entry->longer >= 0 && n_ - start > 2 && b_[start + 2] == entry->longer) {
      entry = &kDispatch.esc3[second];
    }
    if (entry->codeLength == 0) {
      pos_ = start + 2;  // unknown: ESC and the one byte
      return;
    }
    const std::size_t head = start + entry->codeLength;
    if (n_ - head < entry->argBytes) {
      pos_ = n_;
      return;
    }
    const unsigned char* args = b_ + head;
    pos_ = head + entry->argBytes;
    switch (entry->args) {
      case Args::Fixed:
        if ((entry->set | entry->clear) != 0) {
          s_.mode = static_cast<std::uint16_t>((s_.mode & ~entry->clear) | entry->set);
        } else {
          Apply(entry->op, args);
        }
        break;
      case Args::Stops:
        Stops(entry->op, 0);
        break;
      case Args::ChannelStops:
        Stops(entry->op, args[0]);
        break;
      default: {
        const std::size_t data = cmd::DataBytes(entry->args, args);
        pos_ = n_ - pos_ < data ? n_ : pos_ + data;
        break;
      }
    }
  }

  void Apply(Op op, const unsigned char* a) {
    switch (op) {
      case Op::Reset:
        Reset();
        break;
      case Op::SpacingEighth:
        s_.spacing = 27;
        break;
      case Op::SpacingSevenOf72:
        s_.spacing = 21;
        break;
      case Op::SpacingSixth:
        s_.spacing = 36;
        break;
      case Op::SpacingN216:
        s_.spacing = a[0];
        break;
      case Op::SpacingN72:
        if (a[0] <= 85) {
          s_.spacing = 3 * a[0];
        }
        break;
      case Op::Underline:
        Switch(a[0], kModeUnderline, kModeUnderline);
        break;
      case Op::DoubleWidth:
        // ESC W 0 ends the one-line double width of SO as well.
        Switch(a[0], kModeWide, kModeWide | kModeLineWide);
        break;
      case Op::SelectVerticalTabChannel:
        if (a[0] <= 7) {
          s_.mode = static_cast<std::uint16_t>((s_.mode & ~kChannelMask) | (a[0] << kChannelShift));
        }
        break;
      case Op::PageLengthLines:
        if (a[0] >= 1 && a[0] <= 127 && s_.spacing > 0 && a[0] * s_.spacing <= kMaxPageLength) {
          SetPageLength(a[0] * s_.spacing);
        }
        break;
      case Op::PageLengthInches:
        if (a[0] >= 1 && a[0] <= 22) {
          SetPageLength(a[0] * kInch);
        }
        break;
      case Op::SkipPerforation:
        if (a[0] >= 1 && a[0] <= 127 && s_.spacing > 0 && a[0] * s_.spacing < s_.pageLength) {
          s_.skip = a[0] * s_.spacing;
        }
        break;
      case Op::SkipPerforationOff:
        s_.skip = 0;
        break;
      case Op::FeedN216:
        Feed(a[0]);
        break;
      case Op::LeftMargin:
        if (const int left = a[0] * ColumnWidth(); left + kMinMarginGap <= s_.right) {
          s_.left = left;
          s_.x = std::max(s_.x, left);
        }
        break;
      case Op::RightMargin:
        if (const int right = a[0] * ColumnWidth();
            right <= g_.printable && right >= s_.left + kMinMarginGap) {
          s_.right = right;
        }
        break;
      default:
        break;  // consumed, nothing on paper
    }
  }

  // n = 1 or '1' sets the bits of on; n = 0 or '0' clears those of off; other n do nothing.
  void Switch(unsigned char n, std::uint16_t on, std::uint16_t off) {
    if (n == 1 || n == '1') {
      s_.mode |= on;
    } else if (n == 0 || n == '0') {
      s_.mode &= static_cast<std::uint16_t>(~off);
    }
  }

  void Reset() {
    const int y = s_.y;
    const int formTop = s_.formTop;
    s_ = PowerOn(g_);
    s_.y = y;
    s_.formTop = formTop;
    t_ = DefaultTabs();
    ++tabsVersion_;
  }

  void SetPageLength(int length) {
    s_.pageLength = length;
    s_.formTop = s_.y;
    s_.skip = 0;
  }

  // ESC D, ESC B and ESC b: ascending values up to NUL or to a value not above the one before
  // (which ends the list as NUL does). Stops past the capacity are read and dropped; a list
  // cut off by the end of the bytes sets nothing.
  void Stops(Op op, unsigned char channel) {
    std::array<int, 32> values{};
    const std::size_t capacity = op == Op::HorizontalTabs ? 32 : 16;
    std::size_t count = 0;
    int previous = 0;
    bool ended = false;
    while (pos_ < n_) {
      const int v = b_[pos_++];
      if (v <= previous) {
        ended = true;
        break;
      }
      previous = v;
      if (count < capacity) {
        values[count++] = v;
      }
    }
    if (!ended) {
      return;
    }
    if (op == Op::HorizontalTabs) {
      const int column = ColumnWidth();
      for (std::size_t i = 0; i < count; ++i) {
        t_.horizontal[i] = static_cast<std::uint16_t>(std::min(values[i] * column, kMaxCount));
      }
      t_.horizontalCount = static_cast<std::uint8_t>(count);
    } else {
      if (channel > 7) {
        return;
      }
      for (std::size_t i = 0; i < count; ++i) {
        t_.vertical[channel][i] =
            static_cast<std::uint16_t>(std::min(values[i] * s_.spacing, kMaxCount));
      }
      t_.verticalCount[channel] = static_cast<std::uint8_t>(count);
      t_.verticalSet = static_cast<std::uint8_t>(t_.verticalSet | (1u << channel));
    }
    ++tabsVersion_;
  }

  void HorizontalTab() {
    for (std::size_t i = 0; i < t_.horizontalCount; ++i) {
      const int stop = s_.left + t_.horizontal[i];
      if (stop > s_.x) {
        if (stop <= s_.right) {
          s_.x = stop;
        }
        return;
      }
    }
  }

  void VerticalTab() {
    const int channel = (s_.mode & kChannelMask) >> kChannelShift;
    if ((t_.verticalSet & (1u << channel)) == 0) {
      LineEnd();  // no stops since the reset: a line feed
      Feed(s_.spacing);
      return;
    }
    const int count = t_.verticalCount[channel];
    if (count == 0) {
      LineEnd();  // all stops cleared: a carriage return
      return;
    }
    for (int i = 0; i < count; ++i) {
      const int stop = t_.vertical[channel][i];
      const int target = s_.formTop + stop;
      if (target <= s_.y) {
        continue;
      }
      if (stop >= s_.pageLength) {
        break;
      }
      if (s_.skip > 0 && target >= s_.formTop + s_.pageLength - s_.skip) {
        return;  // the stop lies in the skip over the perforation: VT is ignored
      }
      LineEnd();
      Feed(target - s_.y);
      return;
    }
    LineEnd();
    NewPage(PageEnd::FormFeed, 0);
  }

  // The paper moves up by `by`: within the page, or on to the next one when the feed reaches
  // the page length (or the skip over the perforation), or the line would leave the sheet.
  void Feed(int by) {
    const int y = s_.y + by;
    if (y < s_.formTop + s_.pageLength - s_.skip && y + kLineHeight <= g_.height) {
      s_.y = y;  // the common case: on within the page
      return;
    }
    FeedOver(y);
  }

  void FeedOver(int y) {
    const int pageEnd = s_.formTop + s_.pageLength;
    if (s_.skip > 0 && y >= pageEnd - s_.skip) {
      NewPage(PageEnd::PageLength, 0);
      return;
    }
    if (s_.skip == 0 && y >= pageEnd) {
      // Continuous paper: the line lands as far below the next page's top as it went past.
      int next = (y - pageEnd) % s_.pageLength;
      if (next + kLineHeight > g_.height) {
        next = 0;
      }
      NewPage(PageEnd::PageLength, next);
      return;
    }
    if (y + kLineHeight > g_.height) {
      NewPage(PageEnd::SheetEnd, 0);
      return;
    }
    s_.y = y;
  }

  void NewPage(PageEnd end, int nextY) {
    const bool printed = printed_;
    s_.y = nextY;
    s_.formTop = 0;
    printed_ = false;
    if (!sink_.PageEnded(end, printed, pos_, s_, t_, tabsVersion_)) {
      stop_ = true;
    }
  }

  const unsigned char* b_;
  std::size_t n_;
  const Geometry& g_;
  Sink& sink_;
  std::size_t pos_ = 0;
  State s_;
  TabStops t_;
  std::uint32_t tabsVersion_ = 0;
  bool printed_ = false;
  bool stop_ = false;
};

Run MakeRun(const Geometry& g, const State& s, int advance, std::size_t from, std::size_t count) {
  Run run;
  run.x = static_cast<std::uint16_t>(g.left + s.x);
  run.y = static_cast<std::uint16_t>(s.y);
  run.advance = static_cast<std::uint8_t>(advance);
  run.flags = RunFlags(s.mode);
  run.length = static_cast<std::uint16_t>(count);
  run.offset = from;
  return run;
}

// Interpret: every page with its runs.
class PagesSink {
 public:
  PagesSink(const Geometry& g, std::vector<Page>& pages) : g_(g), pages_(pages) {}

  void Text(const State& s, int advance, std::size_t from, std::size_t count) {
    page_.runs.push_back(MakeRun(g_, s, advance, from, count));
  }

  bool PageEnded(PageEnd end, bool, std::size_t, const State&, const TabStops&, std::uint32_t) {
    page_.end = end;
    const std::size_t runs = page_.runs.size();
    pages_.push_back(std::move(page_));
    page_ = Page{};
    page_.runs.reserve(runs);  // the pages of a text are much alike
    return true;
  }

  void Finished(bool printed) {
    if (printed || pages_.empty()) {
      page_.end = PageEnd::End;
      pages_.push_back(std::move(page_));
    }
  }

 private:
  const Geometry& g_;
  std::vector<Page>& pages_;
  Page page_;
};

PageStart Pack(std::size_t offset, const State& s, std::uint32_t tabs) {
  PageStart p;
  p.offset = offset;
  p.tabs = tabs;
  p.x = static_cast<std::uint16_t>(s.x);
  p.y = static_cast<std::uint16_t>(s.y);
  p.spacing = static_cast<std::uint16_t>(s.spacing);
  p.pageLength = static_cast<std::uint16_t>(s.pageLength);
  p.skip = static_cast<std::uint16_t>(s.skip);
  p.leftMargin = static_cast<std::uint16_t>(s.left);
  p.rightMargin = static_cast<std::uint16_t>(s.right);
  p.mode = s.mode;
  return p;
}

State Unpack(const PageStart& p) {
  State s;
  s.x = p.x;
  s.y = p.y;
  s.formTop = 0;
  s.spacing = p.spacing;
  s.pageLength = p.pageLength;
  s.skip = p.skip;
  s.left = p.leftMargin;
  s.right = p.rightMargin;
  s.mode = p.mode;
  return s;
}

// IndexPages: the start of every page; tab stops are stored once for each change.
class IndexSink {
 public:
  explicit IndexSink(PageIndex& index) : index_(index) {}

  void Begin(std::size_t offset, const State& s, const TabStops& t, std::uint32_t version) {
    if (index_.tabs.empty() || version != version_) {
      index_.tabs.push_back(t);
      version_ = version;
    }
    index_.pages.push_back(Pack(offset, s, static_cast<std::uint32_t>(index_.tabs.size() - 1)));
  }

  void Text(const State&, int, std::size_t, std::size_t) {}

  bool PageEnded(PageEnd end, bool, std::size_t next, const State& s, const TabStops& t,
                 std::uint32_t version) {
    index_.pages.back().end = end;
    Begin(next, s, t, version);
    return true;
  }

  void Finished(bool printed) {
    if (!printed && index_.pages.size() > 1) {
      const std::uint32_t tabs = index_.pages.back().tabs;
      index_.pages.pop_back();
      if (index_.pages.back().tabs != tabs) {
        index_.tabs.pop_back();
      }
    } else {
      index_.pages.back().end = PageEnd::End;
    }
  }

 private:
  PageIndex& index_;
  std::uint32_t version_ = 0;
};

// LayoutPage: the runs of one page, up to its end.
class OnePageSink {
 public:
  OnePageSink(const Geometry& g, Page& page) : g_(g), page_(page) {}

  void Text(const State& s, int advance, std::size_t from, std::size_t count) {
    page_.runs.push_back(MakeRun(g_, s, advance, from, count));
  }

  bool PageEnded(PageEnd end, bool, std::size_t, const State&, const TabStops&, std::uint32_t) {
    page_.end = end;
    return false;
  }

  void Finished(bool) { page_.end = PageEnd::End; }

 private:
  const Geometry& g_;
  Page& page_;
};

}  // namespace

Paper Paper::Of(PaperKind kind) {
  // Sizes rounded down to whole units: 360 and 216 units an inch, 25.4 mm an inch.
  const auto across = [](int tenthsMm) { return tenthsMm * 360 / 254; };
  const auto down = [](int tenthsMm) { return tenthsMm * 216 / 254; };
  Paper paper;
  switch (kind) {
    case PaperKind::A4:
      paper.width = across(2100);
      paper.height = down(2970);
      break;
    case PaperKind::Letter:
      paper.width = 8 * 360 + 180;
      paper.height = 11 * kInch;
      break;
    case PaperKind::Fanfold240x12:
      paper.width = across(2400);
      paper.height = 12 * kInch;
      break;
  }
  paper.left = (paper.width - kPrintableWidth) / 2;
  return paper;
}

std::vector<Page> Interpret(std::string_view bytes, const Paper& paper) {
  const Geometry g = Sanitize(paper);
  std::vector<Page> pages;
  PagesSink sink(g, pages);
  Engine<PagesSink>(bytes, g, sink).Run(0, PowerOn(g), DefaultTabs());
  return pages;
}

PageIndex IndexPages(std::string_view bytes, const Paper& paper) {
  const Geometry g = Sanitize(paper);
  PageIndex index;
  index.paper = paper;
  IndexSink sink(index);
  const State start = PowerOn(g);
  const TabStops tabs = DefaultTabs();
  sink.Begin(0, start, tabs, 0);
  Engine<IndexSink>(bytes, g, sink).Run(0, start, tabs);
  index.pages.shrink_to_fit();
  index.tabs.shrink_to_fit();
  return index;
}

Page LayoutPage(std::string_view bytes, const PageIndex& index, std::size_t page) {
  if (page >= index.pages.size() || index.pages[page].tabs >= index.tabs.size()) {
    throw std::out_of_range("no such page in the index");
  }
  const PageStart& start = index.pages[page];
  const Geometry g = Sanitize(index.paper);
  Page result;
  OnePageSink sink(g, result);
  Engine<OnePageSink>(bytes, g, sink).Run(start.offset, Unpack(start), index.tabs[start.tabs]);
  return result;
}

}  // namespace pl4120::escp
