#include "ui/ReplaceFile.h"

#include <QSaveFile>
#include <cerrno>

#include "printer/DeviceErrors.h"

QString ReplaceFile(const QString& path, QByteArrayView bytes) {
  // Unbuffered, and every step checked before the commit: a buffered QSaveFile commits a file
  // whose tail it could not write (Qt 6.4 does not check the final flush), and a short write
  // returns the count it wrote without an error.
  QSaveFile file(path);
  int error = 0;  // the system's error number of the step that failed, when it gave one
  auto step = [&error](auto&& done) {
    errno = 0;
    const bool ok = done();
    error = ok ? 0 : errno;
    return ok;
  };
  const bool saved =
      step([&] { return file.open(QIODevice::WriteOnly | QIODevice::Unbuffered); }) &&
      step([&] { return file.write(bytes.data(), bytes.size()) == bytes.size(); }) &&
      step([&] { return file.commit(); });
  if (saved) {
    return {};
  }
  const QString reason =
      error != 0 ? QString::fromStdString(pl4120::RussianErrorText(error)) : file.errorString();
  file.cancelWriting();
  return reason;
}
