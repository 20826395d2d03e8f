#pragma once

#include <QString>
#include <QTimer>
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

/// The progress of the job being sent, in a small window of its own beside the main window:
/// the destination, the bytes sent of the job's total, how many jobs wait behind it, the
/// stall warning while the destination takes nothing, and "Отмена". It shows only once a job
/// has run for the show delay, never takes the keyboard focus from the window it belongs to,
/// and hides when the last job ends. It sends nothing itself: "Отмена" emits cancelRequested,
/// and so does the window's close box, as with any progress dialog.
class TPrintProgress : public QWidget {
  Q_OBJECT

 public:
  explicit TPrintProgress(QWidget* owner);

  /// A job was taken up: `waiting` more jobs stand behind it.
  void JobStarted(const QString& device, quint64 total, int waiting);
  /// The number of jobs behind the running one changed.
  void SetWaiting(int waiting);
  void JobProgress(quint64 sent, quint64 total, bool stalled);
  /// A job ended or was dropped; `outstanding` jobs are left. Hides when none are.
  void JobEnded(int outstanding);

  /// How long a job runs before the window shows (0.5 s).
  void SetShowDelay(int milliseconds) { showDelay_.setInterval(milliseconds); }

  QLabel* lbPrnDest = nullptr;  ///< where the job goes
  QProgressBar* pbPrnSent = nullptr;
  QLabel* lbPrnSent = nullptr;      ///< "Отправлено N из M байт"
  QLabel* lbPrnQueue = nullptr;     ///< the jobs behind this one
  QLabel* lbPrnStall = nullptr;     ///< the stall warning
  QPushButton* btCancPr = nullptr;  ///< "Отмена"

 signals:
  void cancelRequested();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void ShowBesideOwner();

  QWidget* owner_;
  QTimer showDelay_;
};
