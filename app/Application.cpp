#include "app/Application.h"

#include <QByteArrayView>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "ui/hints/HintManager.h"
#include "ui/widgets/ErrorBox.h"

namespace {

// Texts that Qt's Russian catalogue leaves English: the standard button "OK" (kept in Latin
// letters there; a Russian interface writes it in Cyrillic) and the type of a folder in the
// file dialog.
class TQtTextsMissingInRussian : public QTranslator {
 public:
  QString translate(const char* context, const char* source, const char* /*disambiguation*/,
                    int /*n*/) const override {
    static constexpr struct {
      const char* context;
      const char* source;
      const char16_t* russian;
    } kTexts[] = {
        {"QPlatformTheme", "OK", u"ОК"},
        {"QAbstractFileIconProvider", "Folder", u"Папка"},
    };
    for (const auto& text : kTexts) {
      if (QByteArrayView(context) == text.context && QByteArrayView(source) == text.source) {
        return QString::fromUtf16(text.russian);
      }
    }
    return {};
  }
  bool isEmpty() const override { return false; }
};

}  // namespace

bool LoadQtRussian(QTranslator& translator, const QString& folder) {
  return translator.load(QStringLiteral("qtbase_ru"), folder);
}

QString QtTranslationsFolder() {
  return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

// The interface is Russian whatever the user's locale says, so Qt's texts follow it rather
// than the locale. Without the translation (the package is missing) they stay English.
TApplication::TApplication(int& argc, char** argv)
    : QApplication(argc, argv),
      hints_(std::make_unique<THintManager>()),
      qtTranslation_(std::make_unique<QTranslator>()),
      missingTexts_(std::make_unique<TQtTextsMissingInRussian>()) {
  // Qt's own number formats and file types follow the interface's language too (the file
  // dialog's dates and sizes keep the system's locale).
  QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
  qtTranslationLoaded_ = LoadQtRussian(*qtTranslation_, QtTranslationsFolder()) &&
                         QCoreApplication::installTranslator(qtTranslation_.get());
  if (qtTranslationLoaded_) {
    QCoreApplication::installTranslator(missingTexts_.get());  // asked before the catalogue
  }
}

TApplication::~TApplication() {
  QCoreApplication::removeTranslator(missingTexts_.get());
  QCoreApplication::removeTranslator(qtTranslation_.get());
}

// Handlers are guarded one by one; this catches what escapes any other code run for an event,
// so that one failed event never ends the program.
bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    ShowException(error);
  } catch (...) {
    ShowErrorMessage("Unknown exception");
  }
  return false;
}

THintManager& TApplication::Hints() {
  return *hints_;
}

TApplication* TApplication::Instance() {
  return qobject_cast<TApplication*>(QCoreApplication::instance());
}

bool TApplication::QtTranslationLoaded() const {
  return qtTranslationLoaded_;
}
