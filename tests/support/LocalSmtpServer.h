#pragma once
// A real SMTP server (aiosmtpd, scripts/smtp_server.py) on 127.0.0.1 for the tests, started
// on a free port; it keeps what it receives in a temporary folder.
#include <QJsonArray>
#include <QProcess>
#include <QTemporaryDir>
#include <string>

namespace testsupport {

class LocalSmtpServer {
 public:
  // With a user, the server offers AUTH LOGIN and PLAIN and accepts that one account.
  // RCPT TO for the refused address is answered with 550.
  explicit LocalSmtpServer(const std::string& user = "", const std::string& password = "",
                           const std::string& refused = "");
  ~LocalSmtpServer();

  bool Started() const { return port_ > 0; }
  int Port() const { return port_; }
  std::string Folder() const { return folder_.path().toStdString(); }
  // Number of messages stored so far.
  int Count() const;
  // The stored messages read back by Python's email package, in arrival order: objects with
  // envelope "from" and "to", "From" and "To" as the display name and the address of their first
  // address, "Subject" and "X-Mailer" (decoded), "Message-ID", "Content-Type", and "body" as the
  // text get_content() gives, decoded by the message's declared charset.
  QJsonArray ReadBack() const;
  // The raw bytes of message n (from 1).
  std::string Raw(int n) const;
  // Stops the server (a server that is down).
  void Stop();

 private:
  QTemporaryDir folder_;
  QProcess process_;
  int port_ = 0;
};

// Runs /usr/bin/python3 with the script text and arguments; gives its standard output.
std::string RunPython(const std::string& script, const QStringList& arguments = {});

}  // namespace testsupport
