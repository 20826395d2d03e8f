#include "ui/printing/PrinterFinder.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QEvent>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStringListModel>
#include <QThread>
#include <algorithm>
#include <string>
#include <vector>

#include "printer/Output.h"
#include "printer/PrintService.h"

struct TPrinterFinder::Found {
  QStringList names;
};

TPrinterFinder::TPrinterFinder(QLineEdit* field)
    : QObject(field),
      field_(field),
      completer_(new QCompleter(this)),
      model_(new QStringListModel(this)) {
  setObjectName(QStringLiteral("PrinterFinder"));
  completer_->setModel(model_);
  completer_->setCaseSensitivity(Qt::CaseInsensitive);
  completer_->setCompletionMode(QCompleter::PopupCompletion);
  completer_->popup()->setObjectName(QStringLiteral("PrinterList"));
  field_->setCompleter(completer_);
  field_->installEventFilter(this);
}

TPrinterFinder::~TPrinterFinder() {
  if (thread_ != nullptr) {
    thread_->disconnect(this);
    cancel_->Cancel();
    thread_->wait();
    delete thread_;
  }
}

QStringList TPrinterFinder::names() const {
  return model_->stringList();
}

void TPrinterFinder::Refresh() {
  if (thread_ != nullptr) {
    return;
  }
  sinceLast_.start();
  found_ = std::make_shared<Found>();
  cancel_ = std::make_shared<pl4120::CancelToken>();
  // The thread owns what it fills; the window reads it only once the thread has ended.
  thread_ = QThread::create([found = found_, cancel = cancel_] {
    std::vector<std::string> names = pl4120::ListDeviceNodes();
    for (std::string& queue :
         pl4120::ListPrintQueues({}, std::chrono::milliseconds(1500), cancel.get())) {
      names.push_back(std::move(queue));
    }
    for (const std::string& name : names) {
      found->names << QFile::decodeName(QByteArray::fromStdString(name));
    }
  });
  connect(thread_, &QThread::finished, this, &TPrinterFinder::Gathered);
  thread_->start();
}

void TPrinterFinder::Gathered() {
  thread_->wait();
  delete thread_;
  thread_ = nullptr;
  model_->setStringList(found_->names);
  // The field is narrow; the list is as wide as its longest name.
  QAbstractItemView* popup = completer_->popup();
  int widest = 0;
  for (const QString& name : found_->names) {
    widest = std::max(widest, popup->fontMetrics().horizontalAdvance(name));
  }
  popup->setMinimumWidth(widest + 2 * popup->frameWidth() + 24);
  emit refreshed();
}

bool TPrinterFinder::eventFilter(QObject* watched, QEvent* event) {
  if (watched == field_) {
    if (event->type() == QEvent::FocusIn &&
        (!sinceLast_.isValid() || sinceLast_.elapsed() >= interval_)) {
      Refresh();
    } else if (event->type() == QEvent::KeyPress &&
               static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down &&
               !completer_->popup()->isVisible() && model_->rowCount() > 0) {
      completer_->setCompletionPrefix(QString());
      completer_->complete();
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}
