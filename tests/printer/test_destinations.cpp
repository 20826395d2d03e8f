#include <gtest/gtest.h>

#include <string>

#include "printer/Destination.h"

namespace pl4120 {
namespace {

using Kind = DestinationKind;

struct NameCase {
  std::string name;
  Kind kind;
  bool valid;
  std::string host;   // Socket
  int port;           // Socket
  std::string queue;  // Queue
};

TEST(Destinations, NamesAreSortedIntoTheirKinds) {
  const NameCase cases[] = {
      {"PRN", Kind::Device, true, "", 0, ""},
      {"/tmp/out.prn", Kind::Device, true, "", 0, ""},
      {"", Kind::Device, true, "", 0, ""},
      {"cups", Kind::Device, true, "", 0, ""},
      {"./cups:Raw", Kind::Device, true, "", 0, ""},
      {"http://printer/ipp", Kind::Device, true, "", 0, ""},
      {"socket://printer", Kind::Socket, true, "printer", 9100, ""},
      {"SOCKET://10.0.0.7:9101/", Kind::Socket, true, "10.0.0.7", 9101, ""},
      {"socket://[fe80::1]:9100", Kind::Socket, true, "fe80::1", 9100, ""},
      {"socket://[::1]", Kind::Socket, true, "::1", 9100, ""},
      {"socket://printer:65535", Kind::Socket, true, "printer", 65535, ""},
      {"socket://printer:0", Kind::Socket, false, "", 0, ""},
      {"socket://printer:65536", Kind::Socket, false, "", 0, ""},
      {"socket://printer:", Kind::Socket, false, "", 0, ""},
      {"socket://printer:91x", Kind::Socket, false, "", 0, ""},
      {"socket://", Kind::Socket, false, "", 0, ""},
      {"socket://:9100", Kind::Socket, false, "", 0, ""},
      {"socket://[::1", Kind::Socket, false, "", 0, ""},
      {"socket://a/b", Kind::Socket, false, "", 0, ""},
      {"socket:printer", Kind::Socket, false, "", 0, ""},
      {"ipp://printer/ipp/print", Kind::Ipp, true, "", 0, ""},
      {"IPPS://printer:631/ipp/print", Kind::Ipp, true, "", 0, ""},
      {"ipp:printer", Kind::Ipp, false, "", 0, ""},
      {"cups:Raw", Kind::Queue, true, "", 0, "Raw"},
      {"CUPS:Матричный", Kind::Queue, true, "", 0, "Матричный"},
      {"cups:", Kind::Queue, true, "", 0, ""},
  };
  for (const NameCase& c : cases) {
    SCOPED_TRACE("name \"" + c.name + "\"");

    const Destination d = ParseDestination(c.name);

    EXPECT_EQ(d.kind, c.kind);
    EXPECT_EQ(d.valid, c.valid) << d.problem;
    EXPECT_EQ(d.name, c.name);
    if (c.valid && c.kind == Kind::Socket) {
      EXPECT_EQ(d.host, c.host);
      EXPECT_EQ(d.port, c.port);
    }
    if (c.kind == Kind::Queue) {
      EXPECT_EQ(d.queue, c.queue);
    }
    if (c.kind == Kind::Ipp) {
      EXPECT_EQ(d.uri, c.name);
    }
  }
}

TEST(Destinations, NetworkNamesThatCannotBeUnderstoodFailBeforeAnyConnect) {
  for (const char* name : {"socket://printer:0", "socket:printer", "ipp:printer"}) {
    SCOPED_TRACE(name);

    const WriteResult r = SendJob(name, "data");

    EXPECT_EQ(r.status, WriteResult::Status::OpenFailed);
    EXPECT_EQ(r.failure, FailureKind::BadAddress);
    EXPECT_EQ(r.path, name);
    EXPECT_EQ(r.total, 4u);
    EXPECT_EQ(r.sent, 0u);
  }
}

}  // namespace
}  // namespace pl4120
