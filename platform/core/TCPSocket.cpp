#include "platform/core/TCPSocket.h"

#include <QHostAddress>

#include "platform/core/Log.h"

namespace fw {

namespace {

// What the user reads of a connection's failure; the system's reason follows where the text
// alone says too little.
std::string ErrorText(QAbstractSocket::SocketError error, const std::string& host, const QString& reason) {
  switch (error) {
    case QAbstractSocket::HostNotFoundError:
      return "サーバ「" + host + "」が見つかりません。";
    case QAbstractSocket::ConnectionRefusedError:
      return "サーバに接続を拒否されました。";
    case QAbstractSocket::RemoteHostClosedError:
      return "サーバが接続を閉じました。";
    case QAbstractSocket::SocketTimeoutError:
      return "サーバとの接続が時間切れになりました。";
    default:
      return "サーバとの接続でエラーが起きました（" + reason.toStdString() + "）。";
  }
}

}  // namespace

TCPSocket::TCPSocket() = default;

TCPSocket::~TCPSocket() {
  Discard();
  for (QTcpSocket* old : retired_) old->deleteLater();
}

void TCPSocket::Discard() {
  if (!socket_) return;
  QTcpSocket* old = socket_;
  socket_ = nullptr;
  old->disconnect();  // a late signal of the old connection never reaches this object
  old->abort();
  // Inside one of our handlers the connection's own signal is still on the stack, maybe below
  // a nested event loop that would run a deferred deletion at once: retire it until then.
  if (dispatching_ > 0)
    retired_.push_back(old);
  else
    old->deleteLater();
}

template <class Handler>
void TCPSocket::Dispatch(Handler handler) {
  ++dispatching_;
  RunCatching("a socket event", handler);
  if (--dispatching_ > 0) return;
  for (QTcpSocket* old : retired_) old->deleteLater();
  retired_.clear();
}

void TCPSocket::Connect() {
  Discard();
  buffer_.clear();
  lastErrorCode_ = 0;
  lastErrorText_.clear();
  auto* socket = new QTcpSocket();
  socket_ = socket;
  QObject::connect(socket, &QTcpSocket::connected, [this, socket] {
    // The system keeps little of what is written, so that SendComplete comes once the peer has
    // taken nearly everything, not long before on a slow link.
    socket->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, kSendBufferBytes);
    Dispatch([this] { Event_Connected(); });
  });
  QObject::connect(socket, &QTcpSocket::readyRead, [this, socket] {
    QByteArray bytes = socket->readAll();
    if (bytes.isEmpty()) return;
    buffer_.append(bytes.constData(), size_t(bytes.size()));
    Dispatch([this] { Event_DataAvailable(); });
  });
  QObject::connect(socket, &QTcpSocket::bytesWritten, [this, socket](qint64 sent) {
    const qint64 left = socket->bytesToWrite();
    if (left > 0)
      Dispatch([=, this] { Event_SendProgress(sent, left); });
    else
      Dispatch([this] { Event_SendComplete(false); });
  });
  QObject::connect(socket, &QTcpSocket::errorOccurred, [this, socket](QAbstractSocket::SocketError error) {
    lastErrorCode_ = error == QAbstractSocket::HostNotFoundError ? kNameResolutionFailed
                     : error == QAbstractSocket::RemoteHostClosedError || error == QAbstractSocket::ConnectionRefusedError ||
                             error == QAbstractSocket::NetworkError || error == QAbstractSocket::SocketTimeoutError
                         ? kLostConnection
                         : kOpenDriverError;
    lastErrorText_ = ErrorText(error, address_, socket->errorString());
    Dispatch([this, socket] {
      // Bytes that came with the close are still delivered first.
      QByteArray rest = socket->readAll();
      if (!rest.isEmpty()) {
        buffer_.append(rest.constData(), size_t(rest.size()));
        Event_DataAvailable();
        if (socket_ != socket) return;  // the handler moved on to a new connection
      }
      Event_Error();
    });
  });
  socket->connectToHost(QString::fromStdString(address_), quint16(port_));
}

void TCPSocket::Close() { Discard(); }

bool TCPSocket::IsConnected() const { return socket_ && socket_->state() == QAbstractSocket::ConnectedState; }

void TCPSocket::Write(std::string_view bytes) {
  if (!socket_) return;
  socket_->write(bytes.data(), qint64(bytes.size()));
}

std::string TCPSocket::ReadAll() {
  std::string taken;
  taken.swap(buffer_);
  return taken;
}

std::string TCPSocket::LocalAddress() const {
  if (!socket_) return {};
  QHostAddress local = socket_->localAddress();
  bool isV4 = false;
  quint32 v4 = local.toIPv4Address(&isV4);
  return isV4 ? QHostAddress(v4).toString().toStdString() : local.toString().toStdString();
}

}  // namespace fw
