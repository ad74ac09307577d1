// The SMTP client against a real SMTP server (aiosmtpd, started by the test on 127.0.0.1):
// messages arrive byte for byte with and without authentication, and a wrong password comes
// back as the server's refusal.
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <filesystem>

#include "smtp_client_support.h"

using namespace smtptest;

namespace {

std::string ServerScript() {
  const QByteArray root = qgetenv("POSTARIO_SOURCE_DIR");
  const std::filesystem::path base = root.isEmpty() ? std::filesystem::path(__FILE__).parent_path().parent_path().parent_path()
                                                    : std::filesystem::path(root.toStdString());
  return (base / "scripts" / "smtp_server.py").string();
}

class SMTPClientRealServer : public SMTPClientTest {
 protected:
  // Starts the server, with one account when user is given; false when it does not come up.
  bool StartServer(const QString& user = {}, const QString& password = {}) {
    QStringList args = {QString::fromStdString(ServerScript()), "--port", "0", "--folder", folder_.path(),
                        "--stop-on-stdin-close"};
    if (!user.isEmpty()) args << "--user" << user << "--password" << password;
    process_.start("/usr/bin/python3", args);
    if (!process_.waitForStarted(5000)) return false;
    while (process_.waitForReadyRead(10000)) {
      const QByteArray line = process_.readLine().trimmed();
      if (line.startsWith("READY ")) {
        port_ = line.mid(6).toInt();
        return true;
      }
    }
    return false;
  }

  void TearDown() override {
    process_.closeWriteChannel();
    if (!process_.waitForFinished(5000)) process_.kill();
    SMTPClientTest::TearDown();
  }

  void Send() {
    client.SetAddress("127.0.0.1");
    client.SetPort(port_);
    client.SendMail();
  }

  std::string Stored(const QString& name) const {
    QFile file(QDir(folder_.path()).filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
  }

  QTemporaryDir folder_;
  QProcess process_;
  int port_ = 0;
};

// A header block and body as the server must store them: the transparency dot removed, the
// final "." line gone.
std::string StoredText(const std::string& to) {
  std::string text = DataOf(to);
  text.erase(text.size() - 3);  // ".\r\n"
  text.replace(text.find("\r\n..dot"), 7, "\r\n.dot");
  return text;
}

}  // namespace

TEST_F(SMTPClientRealServer, MessagesArriveByteForByteWithoutAuthentication) {
  ASSERT_TRUE(StartServer());
  Queue("a@example.com");
  Queue("Some One <b@example.com>");
  Send();
  ASSERT_TRUE(WaitFor([&] { return !events.empty() && events.back() == "MailSent"; }));
  EXPECT_EQ(events, (std::vector<std::string>{events.front(), "MessageSent a@example.com",
                                              "MessageSent Some One <b@example.com>", "MailSent"}));
  EXPECT_EQ(Stored("1.eml"), StoredText("a@example.com"));
  EXPECT_EQ(Stored("2.eml"), StoredText("Some One <b@example.com>"));
  const QJsonObject envelope = QJsonDocument::fromJson(QByteArray::fromStdString(Stored("2.json"))).object();
  EXPECT_EQ(envelope["from"].toString(), kSender);
  EXPECT_EQ(envelope["to"].toArray(), QJsonArray{"b@example.com"});
}

TEST_F(SMTPClientRealServer, AuthenticatedMessageArrivesByteForByte) {
  ASSERT_TRUE(StartServer("user@example.com", "pässwörd"));
  client.Username = "user@example.com";
  client.Password = "pässwörd";
  Queue("a@example.com");
  Send();
  ASSERT_TRUE(WaitFor([&] { return !events.empty() && events.back() == "MailSent"; }));
  EXPECT_EQ(events[1], "MessageSent a@example.com");
  EXPECT_EQ(Stored("1.eml"), StoredText("a@example.com"));
}

TEST_F(SMTPClientRealServer, WrongPasswordComesBackAsTheServersRefusal) {
  ASSERT_TRUE(StartServer("user@example.com", "right"));
  client.Username = "user@example.com";
  client.Password = "wrong";
  client.SetReplyTimeout(2000);
  Queue("a@example.com");
  Send();
  // A server that never answers the wrong password would end in the reply time-out's Error.
  ASSERT_TRUE(WaitFor([&] { return !events.empty() && (events.back() == "MailSent" || events.back() == "Error"); }));
  ASSERT_EQ(events.size(), 3u) << "no reply to the wrong password: " << events.back();
  EXPECT_TRUE(events[1].starts_with("ServerError 535 535 ")) << events[1];
  EXPECT_TRUE(events[1].ends_with("\r\n / a@example.com")) << events[1];
  EXPECT_TRUE(client.Messages.empty());
  EXPECT_EQ(Stored("1.eml"), "");
}
