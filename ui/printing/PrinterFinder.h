#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <memory>

class QCompleter;
class QLineEdit;
class QStringListModel;
class QThread;
namespace pl4120 {
class CancelToken;
}

/// The completion list of the device field: the printer device nodes present now and the
/// print service's queues as "cups:NAME". They are gathered on a thread of their own, each time
/// the field takes the focus (not more often than the refresh interval), so that a missing or
/// slow print service never holds the window up; the list changes when the answer comes.
/// Down in the field opens the whole list.
class TPrinterFinder : public QObject {
  Q_OBJECT

 public:
  explicit TPrinterFinder(QLineEdit* field);
  /// Stops a gathering that still runs (it ends within moments) and waits for it.
  ~TPrinterFinder() override;

  /// Gathers the list again now, unless a gathering runs already.
  void Refresh();
  /// The least time between two gatherings started by the focus (3 s).
  void SetRefreshInterval(int milliseconds) { interval_ = milliseconds; }

  QCompleter* completer() const { return completer_; }
  QStringList names() const;
  bool gathering() const { return thread_ != nullptr; }

 signals:
  /// A gathering ended and the list holds what it found.
  void refreshed();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Found;
  void Gathered();

  QLineEdit* field_;
  QCompleter* completer_;
  QStringListModel* model_;
  QThread* thread_ = nullptr;
  std::shared_ptr<Found> found_;
  std::shared_ptr<pl4120::CancelToken> cancel_;
  QElapsedTimer sinceLast_;
  int interval_ = 3000;
};
