#pragma once

#include <QApplication>
#include <memory>

class THintManager;

/// The application object: owns the application-wide hint state and is the last net for
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

 private:
  std::unique_ptr<THintManager> hints_;
};
