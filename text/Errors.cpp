#include "text/Errors.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <utility>

namespace pl4120 {
namespace {

std::string InOutErrorMessage(int code) {
  switch (code) {
    case 2:
      return "File not found";
    case 3:
      return "Invalid filename";
    case 4:
      return "Too many open files";
    case 5:
      return "File access denied";
    case 100:
      return "Read beyond end of file";
    case 101:
      return "Disk full";
    case 106:
      return "Invalid numeric input";
    default:
      return "I/O error " + std::to_string(code);
  }
}

struct ErrnoCode {
  int err;
  int code;
};

// System errors whose meaning matches an entry of the message table.
constexpr ErrnoCode kErrnoCodes[] = {
    {ENOENT, 2}, {ENAMETOOLONG, 3}, {ENOTDIR, 3},  {ELOOP, 3},    {EINVAL, 3},
    {EILSEQ, 3}, {EMFILE, 4},       {ENFILE, 4},   {EACCES, 5},   {EPERM, 5},
    {EISDIR, 5}, {ETXTBSY, 5},      {ENOSPC, 101}, {EDQUOT, 101},
};

}  // namespace

EDivByZero::EDivByZero() : std::runtime_error("Division by zero") {}

EInOutError::EInOutError(int code) : std::runtime_error(InOutErrorMessage(code)), code_(code) {}

EInOutError::EInOutError(int code, const std::string& message)
    : std::runtime_error(message), code_(code) {}

EInOutError InOutErrorFromErrno(int err) {
  for (const ErrnoCode& entry : kErrnoCodes) {
    if (entry.err == err) {
      return EInOutError(entry.code);
    }
  }
  return EInOutError(err, "I/O error " + std::to_string(err));
}

std::string RussianErrorText(int error) {
  static const std::array<std::pair<int, const char*>, 34> kTexts = {{
      {ENOENT, "Нет такого файла или каталога"},
      {EACCES, "Отказано в доступе"},
      {EPERM, "Операция не позволена"},
      {EBUSY, "Устройство или ресурс занято"},
      {ENXIO, "Нет такого устройства или адреса"},
      {ENODEV, "Нет такого устройства"},
      {ENOSPC, "На устройстве не осталось свободного места"},
      {EIO, "Ошибка ввода/вывода"},
      {EISDIR, "Это каталог"},
      {EWOULDBLOCK, "Устройство занято другой программой"},
      {ENOTDIR, "Путь проходит через файл, который не является каталогом"},
      {EROFS, "Файловая система доступна только для чтения"},
      {ENAMETOOLONG, "Слишком длинное имя файла"},
      {ELOOP, "Слишком много уровней символьных ссылок"},
      {EMFILE, "Слишком много открытых файлов"},
      {ENFILE, "Слишком много открытых файлов в системе"},
      {EDQUOT, "Превышена дисковая квота"},
      {EFBIG, "Файл слишком велик"},
      {EINTR, "Операция прервана"},
      {ETXTBSY, "Файл занят"},
      {EPIPE, "Канал закрыт с другой стороны"},
      {EINVAL, "Недопустимый аргумент"},
      {ETIMEDOUT, "Время ожидания истекло"},
      {ECONNREFUSED, "В соединении отказано"},
      {EFAULT, "Неверный адрес"},
      {EEXIST, "Файл уже существует"},
      {ECONNRESET, "Соединение сброшено другой стороной"},
      {ECONNABORTED, "Соединение прервано"},
      {EHOSTUNREACH, "Нет маршрута до узла"},
      {ENETUNREACH, "Сеть недоступна"},
      {EHOSTDOWN, "Узел не отвечает"},
      {ENOTCONN, "Нет соединения"},
      {EADDRNOTAVAIL, "Адрес недоступен"},
      {ENETDOWN, "Сеть не работает"},
  }};
  for (const auto& [code, text] : kTexts) {
    if (code == error) {
      return text;
    }
  }
  return std::strerror(error);
}

}  // namespace pl4120
