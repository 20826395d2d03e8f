#pragma once

#include <QApplication>
#include <QString>
#include <memory>

class QTranslator;
class THintManager;

/// The application object: owns the application-wide hint state, puts Qt's own texts (standard
/// buttons, file dialogs, context menus) and its locale into Russian, and is the last net for
/// exceptions that escape an event handler (each handler is guarded on its own; see Guarded).
class TApplication : public QApplication {
  Q_OBJECT

 public:
  TApplication(int& argc, char** argv);
  ~TApplication() override;

  bool notify(QObject* receiver, QEvent* event) override;

  THintManager& Hints();

  /// The running application object, or nullptr when the QApplication is not a TApplication.
  static TApplication* Instance();

  /// Whether Qt's Russian texts were found and installed when the application was created.
  bool QtTranslationLoaded() const;

 private:
  std::unique_ptr<THintManager> hints_;
  std::unique_ptr<QTranslator> qtTranslation_;
  std::unique_ptr<QTranslator> missingTexts_;
  bool qtTranslationLoaded_ = false;
};

/// Loads Qt's own Russian translation ("qtbase_ru") from `folder` into `translator`; false when
/// the folder holds no such file (the program then runs with Qt's English texts).
bool LoadQtRussian(QTranslator& translator, const QString& folder);

/// The folder of Qt's installed translations.
QString QtTranslationsFolder();
