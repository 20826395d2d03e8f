#include "ui/Application.h"

#include "ui/ErrorBox.h"
#include "ui/HintManager.h"

TApplication::TApplication(int& argc, char** argv)
    : QApplication(argc, argv), hints_(std::make_unique<THintManager>()) {}

TApplication::~TApplication() = default;

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
