#include "ui/HintTexts.h"

#include <QHash>
#include <QWidget>

#include "text/HintSplit.h"

namespace {

constexpr THintEntry kHints[] = {
    {"PL4120_1", "Работа с принтером \"ПЛ 4120\"|Работа с принтером \"ПЛ 4120\"asd"},
    {"StatusBar1", "Статусная строка"},
    {"pcFeauts", "Полный ассортимент работ"},
    {"PageSets", "Вкладка \"Установки принтера\""},
    {"imMyPrnt", "Это мой принтер!!!"},
    {"WidthSet", "Установка ширины символов"},
    {"WidExten", "Двойная печать"},
    {"WidElite", "Уплотнённая печать"},
    {"StyleSet", "Стиль (качество) печати"},
    {"StDouble", "Двупроходная печать"},
    {"StQuanty", "Качественная печать"},
    {"Language", "Установка кодировки символов"},
    {"LangAltM", "Альтернативная кодировка ГОСТа"},
    {"LangKoi8", "Кодировка КОИ-8  (UNIX-тексты)"},
    {"LangComn", "Совмещённая кодовая таблица"},
    {"StrOutPr", "Пробный текст при инициализации"},
    {"SetPrint1", "Применить настройки принтера"},
    {"Instruc", "Получение помощи"},
    {"HeighSet", "Установка вертикальной плотности"},
    {"Hei2spi", "Межстрочный интервал 2,54 mm"},
    {"Hei3spi", "Межстрочный интервал 3,175 mm"},
    {"Hei4spi", "Межстрочный интервал 4,23 mm"},
    {"QuitNoSv", "|Выход без сохранения текущих настроек"},
    {"QuitSave", "|Выход с сохранением текущих настроек"},
    {"PrnName", "Имя устройства|Имя устройства вывода (принтер или файл)"},
    {"edTextFN", "Имя файла|Имя файла текущего текста"},
};

constexpr const char* kWindowName = "PL4120_1";

const QHash<QString, QString>& HintsByName() {
  static const QHash<QString, QString> byName = [] {
    QHash<QString, QString> h;
    for (const THintEntry& e : kHints) {
      h.insert(QString::fromUtf8(e.control), QString::fromUtf8(e.hint));
    }
    return h;
  }();
  return byName;
}

}  // namespace

std::span<const THintEntry> HintTable() {
  return kHints;
}

QString OwnHint(const QObject* control) {
  if (!control) {
    return {};
  }
  const QHash<QString, QString>& byName = HintsByName();
  if (control->inherits("TPL4120_1")) {
    return byName.value(QString::fromUtf8(kWindowName));
  }
  return byName.value(control->objectName());
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
