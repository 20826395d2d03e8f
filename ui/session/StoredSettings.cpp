#include "ui/session/StoredSettings.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QVariant>
#include <array>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <string_view>
#include <system_error>

#include "printer/DeviceErrors.h"
#include "text/Cp866.h"
#include "text/IntConv.h"
#include "text/ReplaceFile.h"

namespace pl4120 {
namespace {

// Each choice of a radio set is stored by the name of its button, in the order of its enum.
constexpr std::array<std::string_view, 6> kCharTables{
    "LangAltM", "LangKoi8", "LangComn", "RadioButton1", "RadioButton2", "RadioButton3"};
constexpr std::array<std::string_view, 2> kPitches{"Wid12smb", "Wid10smb"};
constexpr std::array<std::string_view, 5> kSpacings{"Hei2spi", "Hei3spi", "Hei4spi", "Hei0353",
                                                    "Hei0118"};

// What a line edit holds at most (Qt's limit of a QLineEdit).
constexpr qsizetype kMaxText = 32767;
// A settings file is a few hundred bytes; one far beyond what the longest values need is not
// ours, and is not read into memory.
constexpr qint64 kMaxFileSize = 1 << 20;

constexpr std::int32_t kIntMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kIntMax = std::numeric_limits<std::int32_t>::max();

// Every stored value, once: the writer and the reader walk the same list.
template <class Visitor, class Settings>
void EachValue(Visitor& v, Settings& s) {
  v.Choice("Printer/Lang", s.printer.charTable, kCharTables);
  v.Flag("Printer/WidElite", s.printer.condensed);
  v.Flag("Printer/WidExten", s.printer.doubleWidth);
  v.Choice("Printer/Wid", s.printer.pitch, kPitches);
  v.Choice("Printer/Hei", s.printer.spacing, kSpacings);
  v.Number("Printer/SpinEdit1", s.printer.units72, kUnits72Min, kUnits72Max);
  v.Number("Printer/SpinEdit2", s.printer.units216, kIntMin, kIntMax);  // no limits
  v.Flag("Printer/StQuanty", s.printer.emphasised);
  v.Flag("Printer/StDouble", s.printer.doubleStrike);
  v.Bytes("Printer/StrOutPr", s.printer.testLine);
  v.Flag("Printer/InitCrLf", s.printer.crLfAfterTestLine);
  v.Text("Printer/PrnName", s.printer.device);
  v.LinesPerPage("Text/edLPtx", s.text.edLPtx);
  v.Flag("Text/cbLfCrTx", s.text.cbLfCrTx);
  v.Flag("Text/cbNxPage", s.text.cbNxPage);
}

QString Key(const char* key) {
  return QString::fromLatin1(key);
}

// Writes the INI text that QSettings reads: a section per group, "key=value" lines; a text in
// double quotes with QSettings' escapes, the test line as "@ByteArray(...)" of Latin-1 escapes.
class Writer {
 public:
  template <class Enum, std::size_t N>
  void Choice(const char* key, Enum value, const std::array<std::string_view, N>& names) {
    const auto index = static_cast<std::size_t>(value);
    if (index < N) {
      Line(key, QByteArray(names[index].data(), static_cast<qsizetype>(names[index].size())));
    }
  }
  void Flag(const char* key, bool value) { Line(key, value ? "true" : "false"); }
  void Number(const char* key, std::int32_t value, std::int32_t /*min*/, std::int32_t /*max*/) {
    Line(key, QByteArray::number(value));
  }
  void Bytes(const char* key, const std::string& value) {
    Line(key, Escaped(u"@ByteArray(" + QString::fromLatin1(value) + u')', false));
  }
  void Text(const char* key, const std::string& value) {
    Line(key, TextValue(QString::fromStdString(value)));
  }
  void LinesPerPage(const char* key, const QString& value) { Line(key, TextValue(value)); }

  const QByteArray& Ini() const { return ini_; }

 private:
  void Line(const char* key, const QByteArray& value) {
    const std::string_view name(key);
    const std::string_view group = name.substr(0, name.find('/'));
    if (group != group_) {
      ini_ += (ini_.isEmpty() ? "[" : "\n[") + QByteArray(group.data(), group.size()) + "]\n";
      group_ = group;
    }
    ini_ += QByteArray(key + group.size() + 1) + '=' + value + '\n';
  }

  // A text that starts with "@" would read as one of QSettings' typed values: "@@" keeps it text.
  static QByteArray TextValue(const QString& text) {
    return Escaped(text.startsWith(u'@') ? u'@' + text : text, true);
  }

  // Control characters as "\xHH" (a hex digit right after one is escaped too, since the reader
  // takes every hex digit that follows), '"' and '\\' behind a backslash, the rest in UTF-8, or
  // as "\xHH" above 7F when `utf8` is off; all in double quotes, so ';', ',' and blanks stay.
  static QByteArray Escaped(const QString& text, bool utf8) {
    QByteArray out = "\"";
    bool afterHex = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
      const char16_t c = text.at(i).unicode();
      const bool hexDigit =
          (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
      if (c < 0x20 || c == 0x7F || (c > 0x7F && !utf8) || (afterHex && hexDigit)) {
        out += "\\x" + QByteArray::number(c, 16);
        afterHex = true;
        continue;
      }
      afterHex = false;
      if (c == '"' || c == '\\') {
        out += '\\';
      }
      if (c < 0x80) {
        out += static_cast<char>(c);
      } else {
        // A surrogate pair goes out whole.
        const qsizetype n = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        out += text.mid(i, n).toUtf8();
        i += n - 1;
      }
    }
    return out + '"';
  }

  QByteArray ini_;
  std::string_view group_;
};

// Takes each value that is present and usable; one that is present but unusable keeps the
// default and is remembered by its key.
class Reader {
 public:
  explicit Reader(const QSettings& in) : in_(in) {}

  template <class Enum, std::size_t N>
  void Choice(const char* key, Enum& value, const std::array<std::string_view, N>& names) {
    Take(key, [&](const QVariant& v) {
      for (std::size_t i = 0; i < N; ++i) {
        if (IsText(v) && v.toString() == QLatin1StringView(names[i].data(), names[i].size())) {
          value = static_cast<Enum>(i);
          return true;
        }
      }
      return false;
    });
  }
  void Flag(const char* key, bool& value) {
    Take(key, [&](const QVariant& v) {
      const QString text = IsText(v) ? v.toString() : QString();
      if (text != u"true" && text != u"false") {
        return false;
      }
      value = text == u"true";
      return true;
    });
  }
  void Number(const char* key, std::int32_t& value, std::int32_t min, std::int32_t max) {
    Take(key, [&](const QVariant& v) {
      bool ok = false;
      const qlonglong number = IsText(v) ? v.toString().toLongLong(&ok, 10) : 0;
      if (!ok || number < min || number > max) {
        return false;
      }
      value = static_cast<std::int32_t>(number);
      return true;
    });
  }
  // The test line as its bytes; a plain text (a hand-edited file) is taken in code page 866.
  void Bytes(const char* key, std::string& value) {
    Take(key, [&](const QVariant& v) {
      std::string bytes;
      if (v.typeId() == QMetaType::QByteArray) {
        bytes = v.toByteArray().toStdString();
      } else if (IsText(v)) {
        bytes = EncodeCp866(v.toString().toStdU16String());
      } else {
        return false;
      }
      if (bytes.size() > static_cast<std::size_t>(kMaxText)) {
        return false;
      }
      value = std::move(bytes);
      return true;
    });
  }
  void Text(const char* key, std::string& value) {
    Take(key, [&](const QVariant& v) {
      if (!IsText(v) || v.toString().size() > kMaxText) {
        return false;
      }
      value = v.toString().toStdString();
      return true;
    });
  }
  // Lines per page as typed, when it is a number of lines the counters can use.
  void LinesPerPage(const char* key, QString& value) {
    Take(key, [&](const QVariant& v) {
      const QString text = IsText(v) ? v.toString() : QString();
      const auto lines = TryStrToInt(text.toStdString());
      if (!lines || *lines <= 0) {
        return false;
      }
      value = text;
      return true;
    });
  }

  const QStringList& Rejected() const { return rejected_; }

 private:
  // A plain value of the file: QSettings gives a list for a value with commas, and other types
  // for its "@Type(...)" notations.
  static bool IsText(const QVariant& v) { return v.typeId() == QMetaType::QString; }

  template <class Parse>
  void Take(const char* key, Parse parse) {
    const QString name = Key(key);
    if (in_.contains(name) && !parse(in_.value(name))) {
      rejected_ << name;
    }
  }

  const QSettings& in_;
  QStringList rejected_;
};

QString Reason(int error, const QString& fallback) {
  if (error != 0) {
    return QString::fromStdString(RussianErrorText(error));
  }
  return fallback;
}

QString Quoted(const QString& path) {
  return u'"' + path + u'"';
}

std::filesystem::path NativePath(const QString& path) {
  return std::filesystem::path(QFile::encodeName(path).toStdString());
}

}  // namespace

QString SettingsFilePath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/pl4120/pl4120.ini");
}

StoredSettingsRead ReadStoredSettings(const QString& path) {
  StoredSettingsRead result;
  const QFileInfo info(path);
  if (!info.exists()) {
    return result;
  }
  auto unreadable = [&](const QString& reason) {
    result.outcome = StoredSettingsRead::Outcome::Unreadable;
    result.problem = QStringLiteral("Не удалось прочитать файл настроек ") + Quoted(path) +
                     QStringLiteral(": ") + reason + QStringLiteral("; настройки не изменены.");
    return result;
  };
  if (info.isDir()) {
    return unreadable(QString::fromStdString(RussianErrorText(EISDIR)));
  }
  if (!info.isFile()) {  // a pipe or a device would keep the start waiting
    return unreadable(QStringLiteral("Это не обычный файл"));
  }
  {
    QFile probe(path);
    errno = 0;
    if (!probe.open(QIODevice::ReadOnly)) {
      return unreadable(Reason(errno, probe.errorString()));
    }
  }

  result.outcome = StoredSettingsRead::Outcome::Read;
  if (info.size() > kMaxFileSize) {
    result.problem = QStringLiteral("Файл настроек ") + Quoted(path) +
                     QStringLiteral(" слишком велик и не прочитан; взяты настройки по умолчанию.");
    return result;
  }
  const QSettings in(path, QSettings::IniFormat);
  // QSettings parses a section when it is first asked for one of its keys, and reports damage
  // only in the sections it has parsed: every section is parsed here, ours or not.
  static_cast<void>(in.allKeys());
  if (in.status() == QSettings::AccessError) {
    return unreadable(QStringLiteral("файл недоступен"));
  }
  Reader reader(in);
  EachValue(reader, result.settings);
  if (in.status() == QSettings::FormatError) {
    result.problem = QStringLiteral("Файл настроек ") + Quoted(path) +
                     QStringLiteral(" повреждён; что не удалось прочитать, взято по умолчанию.");
  } else if (!reader.Rejected().isEmpty()) {
    result.problem = QStringLiteral("В файле настроек ") + Quoted(path) +
                     QStringLiteral(" неверные значения (") +
                     reader.Rejected().join(QStringLiteral(", ")) +
                     QStringLiteral("); вместо них взяты значения по умолчанию.");
  }
  return result;
}

QString WriteStoredSettings(const QString& path, const StoredSettings& settings) {
  std::error_code error;
  std::filesystem::create_directories(NativePath(QFileInfo(path).absolutePath()), error);
  if (error) {
    return Reason(error.value(), QString::fromStdString(error.message()));
  }
  Writer writer;
  EachValue(writer, settings);
  const QByteArray& ini = writer.Ini();
  return QString::fromStdString(ReplaceFile(QFile::encodeName(path).toStdString(),
                                            std::string_view(ini.constData(), ini.size())));
}

}  // namespace pl4120
