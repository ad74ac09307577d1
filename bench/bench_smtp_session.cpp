// Cost of one SMTP session of the client against the real server (aiosmtpd on 127.0.0.1): wall
// and CPU time of this process per session (connect, HELO, one message, QUIT, the server's
// close), next to the same session written with Python's smtplib against the same server in the
// same run. Usage: bench_smtp_session [sessions]
#include <QCoreApplication>
#include <QEventLoop>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "bench/BenchReport.h"
#include "bench/SmtplibSessions.h"
#include "tests/support/LocalSmtpServer.h"
#include "smtp/SMTPSocket.h"

namespace {

double Seconds(clockid_t clock) {
  timespec ts{};
  clock_gettime(clock, &ts);
  return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}


// A session ends when the server has closed the connection after QUIT; the client itself
// reports nothing then, so the close is seen here.
class TimedClient : public SMTPSocket {
 public:
  QEventLoop* loop = nullptr;
  int failures = 0;

 protected:
  void Event_Error() override {
    SMTPSocket::Event_Error();
    if (loop) loop->quit();
  }
};

std::shared_ptr<EmailMessage> MakeMessage() {
  auto message = std::make_shared<EmailMessage>();
  message->FromAddress("sender@example.com");
  message->Subject("=?ISO-2022-JP?B?GyRCJUYlOSVIGyhC?=");
  std::string body;
  for (int i = 0; i < 20; ++i) body += "The quick brown fox jumps over the lazy dog, line " + std::to_string(i) + ".\r\n";
  message->BodyPlainText = body;
  message->AddRecipient("rcpt@example.com");
  return message;
}

void RunSessions(TimedClient& client, int count) {
  for (int i = 0; i < count; ++i) {
    QEventLoop loop;
    client.loop = &loop;
    client.Messages.push_back(MakeMessage());
    client.SendMail();
    loop.exec();
    client.loop = nullptr;
  }
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int sessions = argc > 1 ? std::atoi(argv[1]) : 300;
  const int warmUp = 20;

  testsupport::LocalSmtpServer server;
  if (!server.Started()) {
    std::fprintf(stderr, "the SMTP server did not start\n");
    return 1;
  }
  const int port = server.Port();

  TimedClient client;
  client.SetAddress("127.0.0.1");
  client.SetPort(port);
  int sent = 0;
  client.MessageSent.Bind([&](std::shared_ptr<EmailMessage>) { ++sent; });
  client.ServerError.Bind([&](int, std::string, std::shared_ptr<EmailMessage>) { ++client.failures; });

  RunSessions(client, warmUp);
  const double wall0 = Seconds(CLOCK_MONOTONIC), cpu0 = Seconds(CLOCK_PROCESS_CPUTIME_ID);
  RunSessions(client, sessions);
  const double wall = Seconds(CLOCK_MONOTONIC) - wall0, cpu = Seconds(CLOCK_PROCESS_CPUTIME_ID) - cpu0;

  // The same message text for smtplib, which adds the end line and the transparency dots itself.
  std::string text = MakeMessage()->Source();
  text.pop_back();
  const bench::SessionTimes py = bench::SmtplibSessions(port, sessions, warmUp, text);

  std::printf("SMTP session (HELO, one message of %zu bytes, QUIT), %d sessions after %d warm-up\n", text.size(),
              sessions, warmUp);
  std::printf("  SMTPSocket: %7.3f ms wall, %7.3f ms CPU per session (%d delivered, %d refused)\n",
              wall * 1000 / sessions, cpu * 1000 / sessions, sent - warmUp, client.failures);
  std::printf("  smtplib:    %7.3f ms wall, %7.3f ms CPU per session\n", py.wall * 1000,
              py.cpu * 1000);
  bench::Result("one SMTP session of the client", bench::Ms(wall / sessions), bench::Ms(cpu / sessions),
                bench::PeakKiB(), "smtplib: " + bench::Ms(py.wall) + " wall");
  return 0;
}
