#include "printer/DeviceErrors.h"

#include <grp.h>
#include <sys/stat.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <utility>
#include <vector>

namespace pl4120 {

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

namespace {

using pl4120::DestinationKind;
using pl4120::FailureKind;
using pl4120::WriteResult;

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

std::string Joined(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) {
    text += (text.empty() ? "" : ", ") + item;
  }
  return text;
}

std::string SentOf(const WriteResult& result) {
  return "отправлено " + std::to_string(result.sent) + " из " + std::to_string(result.total) +
         " байт";
}

// The reason as the system or the library gave it, or a fallback.
std::string Reason(const WriteResult& result, const char* fallback) {
  if (result.error != 0) {
    return RussianErrorText(result.error);
  }
  return result.message.empty() ? std::string(fallback) : result.message;
}

// What else was found when a device name led nowhere.
std::string PrintersFound(const WriteResult& result) {
  if (!result.lookedForPrinters) {
    return {};
  }
  if (result.queues.empty() && result.devices.empty()) {
    return " Других принтеров не найдено: нет ни устройств /dev/usb/lp* и /dev/lp*, ни "
           "принтеров службы печати.";
  }
  std::string text;
  if (!result.queues.empty()) {
    text += " Принтеры службы печати: " + Joined(result.queues) + ".";
  }
  if (!result.devices.empty()) {
    text += " Устройства принтеров: " + Joined(result.devices) + ".";
  }
  return text;
}

std::string CancelledMessage(const std::string& name, const WriteResult& result) {
  std::string text = "Печать на " + Quoted(name) + " прервана: " + SentOf(result);
  const bool service = result.kind == DestinationKind::Ipp || result.kind == DestinationKind::Queue;
  if (service && result.cancelledOnServer) {
    return text + ", задание отменено.";
  }
  if (service && result.cancelPending) {
    return text + ", задание отменяется.";
  }
  if (service && result.jobId != 0) {
    return text +
           ". Отменить задание не удалось: то, что принтер уже получил, он может "
           "напечатать.";
  }
  return text + ". То, что принтер уже получил, он допечатает.";
}

std::string DeviceMessage(const std::string& name, const WriteResult& result) {
  const bool open = result.status == WriteResult::Status::OpenFailed;
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
  return text + PrintersFound(result);
}

std::string NetworkMessage(const std::string& name, const WriteResult& result) {
  const bool queue = result.kind == DestinationKind::Queue;
  switch (result.failure) {
    case FailureKind::BadAddress:
      return "Неверный адрес принтера " + Quoted(name) +
             (result.kind == DestinationKind::Socket
                  ? ": нужно socket://компьютер или socket://компьютер:порт."
                  : ": нужно ipp://компьютер[:порт]/путь или ipps://компьютер[:порт]/путь.");
    case FailureKind::HostNotFound:
      return "Не удалось подключиться к принтеру " + Quoted(name) + ": компьютер " +
             Quoted(result.host) + " не найден в сети.";
    case FailureKind::ConnectionRefused:
      return "Не удалось подключиться к принтеру " + Quoted(name) +
             ": в соединении отказано (по этому адресу и порту нет принтера, или он выключен).";
    case FailureKind::ConnectTimeout:
      return "Не удалось подключиться к принтеру " + Quoted(name) +
             ": принтер не ответил, время ожидания подключения истекло (он выключен или "
             "недоступен по сети).";
    case FailureKind::ServiceAbsent:
      return "Не удалось отправить задание на " + Quoted(name) +
             ": служба печати не запущена или недоступна.";
    case FailureKind::NotFound:
      if (queue) {
        return "В службе печати нет принтера " + Quoted(result.path) + " (" + Quoted(name) + ")." +
               PrintersFound(result);
      }
      return "Принтер " + Quoted(name) +
             " не найден: по этому адресу нет принтера (проверьте путь после имени компьютера).";
    case FailureKind::NoDefaultQueue:
      return "В службе печати не выбран принтер по умолчанию: укажите его имя, например "
             "cups:Имя." +
             PrintersFound(result);
    case FailureKind::ServiceUnavailable:
      return "Принтер " + Quoted(name) + " сейчас недоступен: он занят или не готов (" +
             Reason(result, "служба недоступна") + ").";
    case FailureKind::NotAccepting:
      return "Принтер " + Quoted(name) + " не принимает задания.";
    case FailureKind::FormatNotSupported:
      return "Принтер " + Quoted(name) +
             " не принимает данные без преобразования (application/vnd.cups-raw).";
    case FailureKind::TransferTimeout:
      return "Принтер " + Quoted(name) +
             " перестал принимать данные, и время ожидания истекло: " + SentOf(result) + ".";
    case FailureKind::PrintError:
      return "Принтер " + Quoted(name) +
             " отклонил задание: " + Reason(result, "причина неизвестна") + ".";
    case FailureKind::None:
    case FailureKind::System:
      break;
  }
  if (result.status == WriteResult::Status::OpenFailed) {
    return "Не удалось подключиться к принтеру " + Quoted(name) + ": " +
           Reason(result, "причина неизвестна") + ".";
  }
  return "Не удалось передать данные на принтер " + Quoted(name) + ": " +
         Reason(result, "соединение прервано") + "; " + SentOf(result) + ".";
}

}  // namespace

std::string DeviceErrorMessage(const std::string& name, const WriteResult& result) {
  if (result.ok()) {
    return {};
  }
  if (result.cancelled()) {
    return CancelledMessage(name, result);
  }
  if (result.kind == DestinationKind::Device) {
    return DeviceMessage(name, result);
  }
  return NetworkMessage(name, result);
}

std::string StallText() {
  return "Принтер не принимает данные (нет бумаги, выключен или занят?)";
}

}  // namespace pl4120
