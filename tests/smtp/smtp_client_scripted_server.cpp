#include "smtp_client_scripted_server.h"

#include <QHostAddress>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>
#include <sys/socket.h>

namespace smtptest {

namespace {
constexpr int kReplyGapMs = 40;

std::string Visible(const std::string& bytes) {
  std::string out;
  for (char c : bytes) out += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
  return out;
}
}  // namespace

struct ScriptedServer::Session {
  ScriptedServer* owner = nullptr;
  int number = 0;
  QPointer<QTcpSocket> socket;
  std::vector<Step> script;
  size_t next = 0;     // the step waiting for its expected bytes
  size_t matched = 0;  // received bytes taken by earlier steps
  std::string received;
  bool replying = false;
  bool finished = false;

  void Fail(const std::string& what) {
    if (owner->mismatch_.empty())
      owner->mismatch_ = "connection " + std::to_string(number) + ", step " + std::to_string(next) + ": " + what;
  }

  // Runs every step whose expected bytes have arrived.
  void Advance() {
    while (!replying && next < script.size()) {
      const Step& step = script[next];
      const std::string pending = received.substr(matched);
      const size_t compared = std::min(pending.size(), step.expect.size());
      if (pending.compare(0, compared, step.expect, 0, compared) != 0)
        return Fail("expected \"" + Visible(step.expect) + "\", got \"" + Visible(pending) + "\"");
      if (pending.size() < step.expect.size()) return;
      matched += step.expect.size();
      ++next;
      replying = true;
      if (step.delayMs > 0)
        QTimer::singleShot(step.delayMs, socket, [this, &step] { Reply(step, 0); });
      else
        Reply(step, 0);
    }
    if (!replying && received.size() > matched) Fail("unexpected \"" + Visible(received.substr(matched)) + "\"");
  }

  void Reply(const Step& step, size_t i) {
    if (!socket) return;
    if (i < step.replies.size()) {
      socket->write(step.replies[i].data(), qint64(step.replies[i].size()));
      socket->flush();
    }
    if (i + 1 < step.replies.size()) {
      QTimer::singleShot(kReplyGapMs, socket, [this, &step, i] { Reply(step, i + 1); });
      return;
    }
    if (step.close) socket->disconnectFromHost();
    replying = false;
    finished = next == script.size();
    Advance();
  }
};

ScriptedServer::ScriptedServer() {
  server_.listen(QHostAddress::LocalHost, 0);
  QObject::connect(&server_, &QTcpServer::newConnection, [this] {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
      auto session = std::make_unique<Session>();
      session->owner = this;
      session->number = int(sessions_.size());
      session->socket = socket;
      if (sessions_.size() < scripts_.size()) session->script = scripts_[sessions_.size()];
      Session* s = session.get();
      sessions_.push_back(std::move(session));
      if (slowRead_ > 0) {
        socket->setReadBufferSize(slowRead_);
        auto* tick = new QTimer(socket);
        QObject::connect(tick, &QTimer::timeout, [s, bytes = slowRead_] {
          s->received += s->socket->read(bytes).toStdString();
          s->Advance();
        });
        tick->start(10);
      } else {
        QObject::connect(socket, &QTcpSocket::readyRead, [s] {
          s->received += s->socket->readAll().toStdString();
          s->Advance();
        });
      }
      s->Advance();
    }
  });
}

ScriptedServer::~ScriptedServer() {
  for (auto& session : sessions_)
    if (session->socket) {
      session->socket->disconnect();
      session->socket->abort();
      delete session->socket;
    }
}

void ScriptedServer::AddSession(std::vector<Step> script) { scripts_.push_back(std::move(script)); }

int ScriptedServer::Port() const { return server_.serverPort(); }

int ScriptedServer::Connections() const { return int(sessions_.size()); }

bool ScriptedServer::Finished(int connection) const {
  return connection < Connections() && sessions_[size_t(connection)]->finished;
}

std::string ScriptedServer::Received(int connection) const {
  return connection < Connections() ? sessions_[size_t(connection)]->received : std::string();
}

std::string ScriptedServer::Mismatch() const { return mismatch_; }

void ScriptedServer::Close(int connection) {
  if (connection < Connections() && sessions_[size_t(connection)]->socket)
    sessions_[size_t(connection)]->socket->disconnectFromHost();
}

void ScriptedServer::ReadSlowly(int bytes) {
  slowRead_ = bytes;
  // Accepted connections inherit the listening socket's receive buffer.
  setsockopt(int(server_.socketDescriptor()), SOL_SOCKET, SO_RCVBUF, &bytes, sizeof bytes);
}

}  // namespace smtptest
