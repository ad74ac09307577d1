// The SMTP client against a server on 127.0.0.1 that answers with any bytes. The first byte sets
// up the session (an account or none, how many messages, extra recipients, a short reply
// time-out, every reply repeated past the longest the client takes); the rest, split at NUL
// bytes, are the server's successive replies. The server sends the next reply once the client
// has taken the last one in and answered it (or stayed silent for a moment), then closes the
// connection.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "smtp/SMTPSocket.h"

namespace {

QTcpServer* g_server = nullptr;

// Runs the event loop until done() holds or the time is up.
template <class Done>
void RunUntil(Done done, int milliseconds) {
  QDeadlineTimer deadline(milliseconds, Qt::PreciseTimer);
  QTimer wake;
  wake.start(1);
  while (!done() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 1);
}

class Client : public SMTPSocket {
 public:
  bool failed = false;
  int handled = 0;  // arrivals of data the client has dealt with

 protected:
  void Event_DataAvailable() override {
    SMTPSocket::Event_DataAvailable();
    ++handled;
  }
  void Event_Error() override {
    SMTPSocket::Event_Error();
    failed = true;
  }
};

std::shared_ptr<EmailMessage> MakeMessage(int n, bool moreRecipients) {
  auto message = std::make_shared<EmailMessage>();
  message->FromAddress("Sender <sender@example.com>");
  message->Subject("=?ISO-2022-JP?B?GyRCJUYlOSVIGyhC?= ");
  message->BodyPlainText = "line one\r\n.\r\n..dot\r\nmessage " + std::to_string(n) + "\r\n";
  message->AddRecipient("r" + std::to_string(n) + "@example.com");
  if (moreRecipients) {
    message->AddCCRecipient("C <cc@example.com>, cc2@example.com");
    message->AddBCCRecipient("bcc@example.com");
  }
  return message;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  static QCoreApplication app(*argc, *argv);
  g_server = new QTcpServer();
  if (!g_server->listen(QHostAddress::LocalHost, 0)) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t setup = data[0];
  std::vector<std::string_view> replies;
  std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  while (!rest.empty()) {
    const size_t cut = rest.find('\0');
    replies.push_back(rest.substr(0, cut));
    rest.remove_prefix(cut == std::string_view::npos ? rest.size() : cut + 1);
  }

  {
    Client client;
    client.SetAddress("127.0.0.1");
    client.SetPort(g_server->serverPort());
    if (setup & 1) {
      client.Username = "user";
      client.Password = "secret";
    }
    for (int i = 0; i < ((setup >> 1) & 3); ++i) client.Messages.push_back(MakeMessage(i, setup & 8));
    const int wait = setup & 16 ? 5 : 2000;
    client.Deadlines = {wait, wait, wait, wait, wait};
    // Bound as the main window binds them: an unbound event is never raised.
    client.ConnectionEstablished.Bind([](std::string) {});
    client.MessageSent.Bind([](std::shared_ptr<EmailMessage>) {});
    client.MailSent.Bind([] {});
    client.ServerError.Bind([](int, std::string, std::shared_ptr<EmailMessage>) {});
    client.Error.Bind([&] { client.DeleteAllMessages(); });

    client.SendMail();
    RunUntil([] { return g_server->hasPendingConnections(); }, 2000);
    std::unique_ptr<QTcpSocket> connection(g_server->nextPendingConnection());
    if (!connection) std::abort();
    connection->setSocketOption(QAbstractSocket::LowDelayOption, 1);  // pieces of a reply go out at once
    std::string received;
    QObject::connect(connection.get(), &QTcpSocket::readyRead,
                     [&] { received += connection->readAll().toStdString(); });

    auto gone = [&] { return client.failed || !client.IsConnected(); };
    for (size_t i = 0; i < replies.size(); ++i) {
      std::string reply(replies[i]);
      if (setup & 32)
        while (!reply.empty() && reply.size() <= SMTPSocket::kMaxReplyBytes) reply += replies[i];
      if (connection->state() != QAbstractSocket::ConnectedState) break;
      if (reply.empty() || i + 1 == replies.size()) {
        connection->write(reply.data(), qint64(reply.size()));
        continue;  // the last one is still delivered before the close below
      }
      const size_t before = received.size();
      const int handled = client.handled;
      connection->write(reply.data(), qint64(reply.size()));
      connection->flush();
      RunUntil([&] { return client.handled > handled || gone(); }, 2000);
      // A whole reply: the client's answer, written while it was handled, arrives at once.
      if (reply.ends_with("\r\n") && !gone())
        RunUntil([&] { return received.size() > before && received.ends_with("\r\n"); }, 2);
    }
    connection->disconnectFromHost();
    RunUntil(gone, 2000);
  }
  // The client's and the server side's sockets are deleted later: let that happen now.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  return 0;
}
