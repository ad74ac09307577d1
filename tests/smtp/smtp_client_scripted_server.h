#pragma once
// A scripted SMTP server on 127.0.0.1 (port 0) for the client's tests: each accepted connection
// replays the next dialogue, checking every byte the client sends against the script.
#include <QTcpServer>
#include <memory>
#include <string>
#include <vector>

namespace smtptest {

struct Step {
  std::string expect;                // the exact bytes the client must send first ("" = none)
  std::vector<std::string> replies;  // written in turn, apart in time, so each arrives on its own
  bool close = false;                // the server closes the connection after the replies
  int delayMs = 0;                   // how long the server takes before its first reply
};

class ScriptedServer {
 public:
  ScriptedServer();
  ~ScriptedServer();

  // The dialogue of the next connection to be accepted.
  void AddSession(std::vector<Step> script);
  int Port() const;
  int Connections() const;
  // True when every step of that connection's dialogue has run (replies and close included).
  bool Finished(int connection) const;
  // Every byte the client sent on that connection.
  std::string Received(int connection) const;
  // The first difference between the client's bytes and a script; "" when none.
  std::string Mismatch() const;
  // Closes that connection from the server's side now.
  void Close(int connection);
  // From the next connection on, reads at most `bytes` every 10 ms through a small receive
  // buffer, so that a long text takes the client a while to write.
  void ReadSlowly(int bytes);

  struct Session;

 private:
  QTcpServer server_;
  std::vector<std::vector<Step>> scripts_;
  std::vector<std::unique_ptr<Session>> sessions_;
  std::string mismatch_;
  int slowRead_ = 0;
};

}  // namespace smtptest
