#pragma once

#include <QObject>
#include <functional>
#include <string>

/// The application-wide hint state: the application hint shown in the status line, and the
/// tooltip of the control under the pointer.
class THintManager : public QObject {
  Q_OBJECT

 public:
  explicit THintManager(QObject* parent = nullptr);
  ~THintManager() override;

  /// The hint event: called each time the application hint changes.
  void SetOnHint(std::function<void()> handler);
  /// The application hint: the long hint of the control under the pointer at the last idle step.
  const QString& Hint() const { return hint_; }

 private:
  QString hint_;
  std::function<void()> onHint_;
};
