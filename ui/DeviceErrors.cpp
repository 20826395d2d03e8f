#include "ui/DeviceErrors.h"

#include <grp.h>
#include <sys/stat.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <utility>

std::string RussianErrorText(int error) {
  static const std::array<std::pair<int, const char*>, 26> kTexts = {{
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
  }};
  for (const auto& [code, text] : kTexts) {
    if (code == error) {
      return text;
    }
  }
  return std::strerror(error);
}

std::string AccessAdvice(const std::string& path) {
  struct stat info {};
  if (path.empty() || ::stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) {
    return {};
  }
  const group* owners =
      (info.st_gid != 0 && (info.st_mode & S_IWGRP) != 0) ? ::getgrgid(info.st_gid) : nullptr;
  if (owners == nullptr) {
    return "Право записи в \"" + path +
           "\" может дать администратор системы: попросите его открыть вам доступ.";
  }
  const std::string group = owners->gr_name;
  return "Право записи в \"" + path + "\" есть у членов группы \"" + group +
         "\": попросите администратора включить вас в эту группу (sudo usermod -aG " + group +
         " <имя пользователя>), затем выйдите из системы и войдите снова.";
}

std::string DeviceErrorMessage(const std::string& name, const pl4120::WriteResult& result) {
  if (result.ok()) {
    return {};
  }
  const bool open = result.status == pl4120::WriteResult::Status::OpenFailed;
  if (open && name.empty()) {
    return "Не удалось открыть устройство: не указано имя устройства.";
  }
  std::string text =
      open ? "Не удалось открыть устройство \"" : "Не удалось записать в устройство \"";
  text += name + "\"";
  if (!result.path.empty() && result.path != name) {
    text += " (" + result.path + ")";
  }
  text += ": ";
  if (result.error != 0) {
    text += RussianErrorText(result.error);
  } else if (!open) {
    text += "устройство приняло не все данные";
  } else {
    text += result.message.empty() ? std::string("причина неизвестна") : result.message;
  }
  text += ".";
  if (result.error == EACCES || result.error == EPERM) {
    const std::string advice = AccessAdvice(result.path.empty() ? name : result.path);
    if (!advice.empty()) {
      text += " " + advice;
    }
  }
  return text;
}
