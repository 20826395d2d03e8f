#include "ui/Application.h"

#include "ui/HintManager.h"

TApplication::TApplication(int& argc, char** argv)
    : QApplication(argc, argv), hints_(std::make_unique<THintManager>()) {}

TApplication::~TApplication() = default;

bool TApplication::notify(QObject* receiver, QEvent* event) {
  return QApplication::notify(receiver, event);
}

THintManager& TApplication::Hints() {
  return *hints_;
}

TApplication* TApplication::Instance() {
  return qobject_cast<TApplication*>(QCoreApplication::instance());
}
