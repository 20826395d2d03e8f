// The texts of a send that did not end well: every kind of failure names the destination and
// its reason; a cancel says how far the job got and what becomes of the rest.

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "printer/Destination.h"
#include "printer/DeviceErrors.h"
#include "tests/support/PrintRig.h"

namespace {

using pl4120::DestinationKind;
using pl4120::FailureKind;
using pl4120::WriteResult;
using Status = WriteResult::Status;

WriteResult Failed(DestinationKind kind, Status status, FailureKind failure, int error = 0) {
  WriteResult r;
  r.kind = kind;
  r.status = status;
  r.failure = failure;
  r.error = error;
  return r;
}

struct TextCase {
  const char* title;
  std::string name;
  WriteResult result;
  std::vector<std::string> parts;  // each must be in the text
};

TEST(DeviceErrors, EveryFailureNamesTheDestinationAndItsReason) {
  using K = DestinationKind;
  using F = FailureKind;
  WriteResult hostless = Failed(K::Socket, Status::OpenFailed, F::HostNotFound);
  hostless.host = "printer.local";
  WriteResult timedOut = Failed(K::Ipp, Status::WriteFailed, F::TransferTimeout);
  timedOut.sent = 4096;
  timedOut.total = 10000;
  WriteResult reset = Failed(K::Socket, Status::WriteFailed, F::System, ECONNRESET);
  reset.sent = 65536;
  reset.total = 1000000;
  WriteResult refusedJob = Failed(K::Ipp, Status::OpenFailed, F::PrintError);
  refusedJob.message = "Forbidden";
  WriteResult noQueue = Failed(K::Queue, Status::OpenFailed, F::NotFound);
  noQueue.path = "Nope";
  noQueue.lookedForPrinters = true;
  noQueue.queues = {"cups:Raw"};
  WriteResult noDefault = Failed(K::Queue, Status::OpenFailed, F::NoDefaultQueue);
  noDefault.lookedForPrinters = true;
  noDefault.queues = {"cups:A", "cups:B"};

  const TextCase cases[] = {
      {"refused",
       "socket://10.0.0.7",
       Failed(K::Socket, Status::OpenFailed, F::ConnectionRefused),
       {"\"socket://10.0.0.7\"", "в соединении отказано"}},
      {"host not found",
       "socket://printer.local",
       hostless,
       {"\"socket://printer.local\"", "\"printer.local\" не найден в сети"}},
      {"connect time-out",
       "ipp://p/ipp/print",
       Failed(K::Ipp, Status::OpenFailed, F::ConnectTimeout),
       {"\"ipp://p/ipp/print\"", "время ожидания подключения истекло"}},
      {"bad socket address",
       "socket://p:0",
       Failed(K::Socket, Status::OpenFailed, F::BadAddress),
       {"Неверный адрес принтера \"socket://p:0\"", "socket://компьютер:порт"}},
      {"bad IPP address",
       "ipp:p",
       Failed(K::Ipp, Status::OpenFailed, F::BadAddress),
       {"Неверный адрес принтера \"ipp:p\"", "ipp://компьютер[:порт]/путь"}},
      {"no printer at the path",
       "ipp://p/x",
       Failed(K::Ipp, Status::OpenFailed, F::NotFound),
       {"\"ipp://p/x\" не найден", "проверьте путь"}},
      {"service unavailable",
       "ipp://p/ipp/print",
       Failed(K::Ipp, Status::OpenFailed, F::ServiceUnavailable),
       {"\"ipp://p/ipp/print\" сейчас недоступен"}},
      {"not accepting",
       "cups:Raw",
       Failed(K::Queue, Status::OpenFailed, F::NotAccepting),
       {"\"cups:Raw\" не принимает задания"}},
      {"raw refused",
       "ipp://p/ipp/print",
       Failed(K::Ipp, Status::OpenFailed, F::FormatNotSupported),
       {"не принимает данные без преобразования"}},
      {"transfer time-out",
       "ipp://p/ipp/print",
       timedOut,
       {"\"ipp://p/ipp/print\" перестал принимать данные", "отправлено 4096 из 10000 байт"}},
      {"other refusal",
       "ipp://p/ipp/print",
       refusedJob,
       {"\"ipp://p/ipp/print\" отклонил задание: Forbidden."}},
      {"no service",
       "cups:Raw",
       Failed(K::Queue, Status::OpenFailed, F::ServiceAbsent),
       {"\"cups:Raw\"", "служба печати не запущена"}},
      {"no such queue",
       "cups:Nope",
       noQueue,
       {"нет принтера \"Nope\"", "Принтеры службы печати: cups:Raw."}},
      {"no default queue",
       "cups:",
       noDefault,
       {"не выбран принтер по умолчанию", "Принтеры службы печати: cups:A, cups:B."}},
      {"connection broken",
       "socket://p",
       reset,
       {"\"socket://p\"", "Соединение сброшено другой стороной", "отправлено 65536 из 1000000"}},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.title);

    const std::string text = pl4120::DeviceErrorMessage(c.name, c.result);

    for (const std::string& part : c.parts) {
      EXPECT_NE(text.find(part), std::string::npos) << text << "\nlacks: " << part;
    }
    EXPECT_TRUE(text.ends_with(".")) << text;
  }
}

TEST(DeviceErrors, MissingDeviceListsThePrintersThatWereFound) {
  WriteResult r = Failed(DestinationKind::Device, Status::OpenFailed, FailureKind::System, ENOENT);
  r.path = "/dev/lp0";
  r.lookedForPrinters = true;
  r.queues = {"cups:Имя1", "cups:Имя2"};
  EXPECT_EQ(pl4120::DeviceErrorMessage("PRN", r),
            "Не удалось открыть устройство \"PRN\" (/dev/lp0): Нет такого файла или каталога. "
            "Принтеры службы печати: cups:Имя1, cups:Имя2.");

  r.queues.clear();
  r.devices = {"/dev/usb/lp1"};
  EXPECT_EQ(pl4120::DeviceErrorMessage("PRN", r),
            "Не удалось открыть устройство \"PRN\" (/dev/lp0): Нет такого файла или каталога. "
            "Устройства принтеров: /dev/usb/lp1.");

  r.devices.clear();
  const std::string nothing = pl4120::DeviceErrorMessage("PRN", r);
  EXPECT_NE(nothing.find("Других принтеров не найдено"), std::string::npos) << nothing;
}

TEST(DeviceErrors, CancelSaysHowFarTheJobGot) {
  WriteResult device;
  device.status = Status::Cancelled;
  device.sent = 1000;
  device.total = 5000;
  EXPECT_EQ(pl4120::DeviceErrorMessage("PRN", device),
            "Печать на \"PRN\" прервана: отправлено 1000 из 5000 байт. То, что принтер уже "
            "получил, он допечатает.");

  WriteResult queue = device;
  queue.kind = DestinationKind::Queue;
  queue.jobId = 12;
  queue.cancelledOnServer = true;
  EXPECT_EQ(pl4120::DeviceErrorMessage("cups:Raw", queue),
            "Печать на \"cups:Raw\" прервана: отправлено 1000 из 5000 байт, задание отменено.");

  queue.cancelledOnServer = false;
  queue.cancelPending = true;
  EXPECT_EQ(pl4120::DeviceErrorMessage("cups:Raw", queue),
            "Печать на \"cups:Raw\" прервана: отправлено 1000 из 5000 байт, задание "
            "отменяется.");

  queue.cancelPending = false;
  const std::string uncancelled = pl4120::DeviceErrorMessage("cups:Raw", queue);
  EXPECT_NE(uncancelled.find("Отменить задание не удалось"), std::string::npos) << uncancelled;

  EXPECT_EQ(pl4120::StallText(), "Принтер не принимает данные (нет бумаги, выключен или занят?)");
  EXPECT_EQ(pl4120::DeviceErrorMessage("PRN", WriteResult{}), "");
}

TEST(DeviceErrors, RealRefusalReadsAsOne) {
  const std::string name = "socket://127.0.0.1:" + std::to_string(pl4120::rig::FreePort());

  const WriteResult r = pl4120::SendJob(name, "x");

  EXPECT_EQ(pl4120::DeviceErrorMessage(name, r),
            "Не удалось подключиться к принтеру \"" + name +
                "\": в соединении отказано (по этому адресу и порту нет принтера, или он "
                "выключен).");
}

}  // namespace
