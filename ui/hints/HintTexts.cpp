#include "ui/hints/HintTexts.h"

#include <QHash>
#include <QWidget>

#include "ui/hints/HintSplit.h"

namespace {

/// One control's texts.
struct HintRow {
  const char* control;    ///< objectName; "PL4120_1" is the window
  const char* hint = "";  ///< the own hint, UTF-8
  /// The control has a mouse-move handler; it writes `moveText`, or the long part of the hint
  /// when that is null.
  bool onMouseMove = false;
  const char* moveText = nullptr;
};

// clang-format off
constexpr HintRow kHints[] = {
    {.control = "PL4120_1",
     .hint = "Работа с принтером \"ПЛ 4120\"|Работа с принтером \"ПЛ 4120\"asd"},
    {.control = "StatusBar1", .hint = "Статусная строка", .onMouseMove = true},
    {.control = "pcFeauts", .hint = "Полный ассортимент работ", .onMouseMove = true},
    {.control = "PageSets", .hint = "Вкладка \"Установки принтера\"", .onMouseMove = true},
    {.control = "imMyPrnt", .hint = "Это мой принтер!!!"},
    {.control = "WidthSet", .hint = "Установка ширины символов", .onMouseMove = true},
    {.control = "WidExten", .hint = "Двойная печать", .onMouseMove = true},
    {.control = "WidElite", .hint = "Уплотнённая печать", .onMouseMove = true},
    {.control = "Wid12smb", .onMouseMove = true, .moveText = "Ширина 12 символов на дюйм"},
    {.control = "Wid10smb", .onMouseMove = true, .moveText = "Ширина 10 символов на дюйм"},
    {.control = "StyleSet", .hint = "Стиль (качество) печати", .onMouseMove = true},
    {.control = "StDouble", .hint = "Двупроходная печать", .onMouseMove = true},
    {.control = "StQuanty", .hint = "Качественная печать", .onMouseMove = true},
    {.control = "Language", .hint = "Установка кодировки символов"},
    {.control = "LangAltM", .hint = "Альтернативная кодировка ГОСТа", .onMouseMove = true},
    {.control = "LangKoi8", .hint = "Кодировка КОИ-8  (UNIX-тексты)", .onMouseMove = true},
    {.control = "LangComn", .hint = "Совмещённая кодовая таблица", .onMouseMove = true},
    {.control = "StrOutPr", .hint = "Пробный текст при инициализации", .onMouseMove = true},
    {.control = "SetPrint1", .hint = "Применить настройки принтера", .onMouseMove = true},
    {.control = "Instruc", .hint = "Получение помощи", .onMouseMove = true},
    {.control = "HeighSet", .hint = "Установка вертикальной плотности", .onMouseMove = true},
    {.control = "Hei2spi", .hint = "Межстрочный интервал 2,54 mm", .onMouseMove = true},
    {.control = "Hei3spi", .hint = "Межстрочный интервал 3,175 mm", .onMouseMove = true},
    {.control = "Hei4spi", .hint = "Межстрочный интервал 4,23 mm", .onMouseMove = true},
    {.control = "QuitNoSv", .hint = "|Выход без сохранения текущих настроек"},
    {.control = "QuitSave", .hint = "|Выход с сохранением текущих настроек"},
    {.control = "PrnName", .hint = "Имя устройства|Имя устройства вывода (принтер или файл)"},
    {.control = "edTextFN", .hint = "Имя файла|Имя файла текущего текста"},
    {.control = "btViewTx", .hint = "Просмотр|Просмотр печати: как текст ляжет на бумагу"},
};
// clang-format on

constexpr const char* kWindowName = "PL4120_1";

struct Texts {
  QString hint;
  QString moveText;
};

const QHash<QString, Texts>& TextsByName() {
  static const QHash<QString, Texts> byName = [] {
    QHash<QString, Texts> h;
    for (const HintRow& row : kHints) {
      const QString hint = QString::fromUtf8(row.hint);
      QString moveText;
      if (row.onMouseMove) {
        moveText = row.moveText ? QString::fromUtf8(row.moveText) : LongHint(hint);
      }
      h.insert(QString::fromUtf8(row.control), {hint, moveText});
    }
    return h;
  }();
  return byName;
}

const Texts* TextsOf(const QObject* control) {
  if (!control) {
    return nullptr;
  }
  const QHash<QString, Texts>& byName = TextsByName();
  const auto found = byName.constFind(
      control->inherits("TPL4120_1") ? QString::fromUtf8(kWindowName) : control->objectName());
  return found == byName.constEnd() ? nullptr : &found.value();
}

}  // namespace

QString OwnHint(const QObject* control) {
  const Texts* texts = TextsOf(control);
  return texts ? texts->hint : QString();
}

QString MouseMoveText(const QObject* control) {
  const Texts* texts = TextsOf(control);
  return texts ? texts->moveText : QString();
}

QString EffectiveHint(const QWidget* control) {
  for (const QWidget* w = control; w; w = w->parentWidget()) {
    QString own = OwnHint(w);
    if (!own.isEmpty()) {
      return own;
    }
    // A window does not take the hint of the window that owns it.
    if (w->isWindow()) {
      break;
    }
  }
  return {};
}

QString ShortHint(const QString& hint) {
  return QString::fromStdString(pl4120::SplitHint(hint.toStdString()).shortPart);
}

QString LongHint(const QString& hint) {
  return QString::fromStdString(pl4120::SplitHint(hint.toStdString()).longPart);
}

QStringList MouseMoveControls() {
  QStringList names;
  for (const HintRow& row : kHints) {
    if (row.onMouseMove) {
      names << QString::fromUtf8(row.control);
    }
  }
  return names;
}

bool IsOwnControl(const QWidget* widget) {
  const QString name = widget->objectName();
  return !name.isEmpty() && !name.startsWith(u"qt_");
}
