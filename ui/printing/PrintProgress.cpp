#include "ui/printing/PrintProgress.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "printer/DeviceErrors.h"

namespace {

QString Utf8(const std::string& text) {
  return QString::fromStdString(text);
}

// The bar counts in thousandths: a job's size does not fit the bar's int.
int Permille(quint64 sent, quint64 total) {
  return total == 0 ? 1000 : static_cast<int>(sent * 1000 / total);
}

}  // namespace

TPrintProgress::TPrintProgress(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint), owner_(owner) {
  setObjectName(QStringLiteral("PrintProgress"));
  setWindowTitle(QString::fromUtf8("Печать"));
  // The user goes on typing in the main window while the printer works.
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFocusPolicy(Qt::NoFocus);

  lbPrnDest = new QLabel(this);
  lbPrnDest->setObjectName(QStringLiteral("lbPrnDest"));
  lbPrnDest->setTextFormat(Qt::PlainText);
  pbPrnSent = new QProgressBar(this);
  pbPrnSent->setObjectName(QStringLiteral("pbPrnSent"));
  pbPrnSent->setRange(0, 1000);
  pbPrnSent->setTextVisible(false);
  lbPrnSent = new QLabel(this);
  lbPrnSent->setObjectName(QStringLiteral("lbPrnSent"));
  lbPrnQueue = new QLabel(this);
  lbPrnQueue->setObjectName(QStringLiteral("lbPrnQueue"));
  lbPrnStall = new QLabel(Utf8(pl4120::StallText()), this);
  lbPrnStall->setObjectName(QStringLiteral("lbPrnStall"));
  lbPrnStall->setWordWrap(true);
  lbPrnStall->setStyleSheet(QStringLiteral("QLabel { color: #a00000; font-weight: bold; }"));
  lbPrnStall->hide();
  btCancPr = new QPushButton(QString::fromUtf8("Отмена"), this);
  btCancPr->setObjectName(QStringLiteral("btCancPr"));
  btCancPr->setFocusPolicy(Qt::NoFocus);
  btCancPr->setAutoDefault(false);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(lbPrnQueue, 1);
  buttons->addWidget(btCancPr);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lbPrnDest);
  layout->addWidget(pbPrnSent);
  layout->addWidget(lbPrnSent);
  layout->addWidget(lbPrnStall);
  layout->addLayout(buttons);
  setFixedWidth(340);

  connect(btCancPr, &QPushButton::clicked, this, [this] {
    btCancPr->setEnabled(false);  // once is enough: the jobs end within moments
    emit cancelRequested();
  });
  showDelay_.setSingleShot(true);
  showDelay_.setInterval(500);
  connect(&showDelay_, &QTimer::timeout, this, &TPrintProgress::ShowBesideOwner);
}

void TPrintProgress::JobStarted(const QString& device, quint64 total, int waiting) {
  lbPrnDest->setText(QString::fromUtf8("Печать на \"") + device + u'"');
  SetWaiting(waiting);
  lbPrnStall->hide();
  btCancPr->setEnabled(true);
  JobProgress(0, total, false);
  // A window already up stays; otherwise only a job that lasts brings it up.
  if (!isVisible()) {
    showDelay_.start();
  }
}

void TPrintProgress::SetWaiting(int waiting) {
  lbPrnQueue->setText(waiting > 0 ? QString::fromUtf8("Ждут очереди: ") + QString::number(waiting)
                                  : QString());
}

void TPrintProgress::JobProgress(quint64 sent, quint64 total, bool stalled) {
  pbPrnSent->setValue(Permille(sent, total));
  lbPrnSent->setText(QString::fromUtf8("Отправлено ") + QString::number(sent) +
                     QString::fromUtf8(" из ") + QString::number(total) +
                     QString::fromUtf8(" байт"));
  lbPrnStall->setVisible(stalled);
  adjustSize();
}

void TPrintProgress::closeEvent(QCloseEvent* event) {
  // The window goes when its jobs do; until then closing it is the same as "Отмена".
  event->ignore();
  if (btCancPr->isEnabled()) {
    btCancPr->click();
  }
}

void TPrintProgress::JobEnded(int outstanding) {
  if (outstanding > 0) {
    return;
  }
  showDelay_.stop();
  hide();
}

// In the lower right corner of the owner's client area, above its status line, where it
// hides the least of the editor; the user may move it.
void TPrintProgress::ShowBesideOwner() {
  adjustSize();
  const QRect area = owner_->geometry();
  QPoint at(area.right() - width() - 24, area.bottom() - height() - 64);
  if (const QScreen* screen = owner_->screen()) {
    const QRect free = screen->availableGeometry();
    at.setX(std::clamp(at.x(), free.left(), std::max(free.left(), free.right() - width())));
    at.setY(std::clamp(at.y(), free.top(), std::max(free.top(), free.bottom() - height())));
  }
  move(at);
  show();
}
