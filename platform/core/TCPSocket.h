#pragma once
// A TCP connection driven by the event loop. Received bytes gather in a buffer that
// Lookahead shows and ReadAll takes. Subclasses react to the connection's events through the
// Event_ methods; by default each raises the event of the same name to a bound handler.
#include <QObject>
#include <QPointer>
#include <QTcpSocket>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Event.h"

namespace fw {

class TCPSocket {
 public:
  // The framework's error codes.
  static constexpr int kLostConnection = 102;
  static constexpr int kNameResolutionFailed = 103;
  static constexpr int kOpenDriverError = 100;
  // What the system may hold of the written bytes (it doubles this for its bookkeeping).
  static constexpr int kSendBufferBytes = 128 * 1024;

  TCPSocket();
  virtual ~TCPSocket();
  TCPSocket(const TCPSocket&) = delete;
  TCPSocket& operator=(const TCPSocket&) = delete;

  std::string Address() const { return address_; }
  void SetAddress(std::string address) { address_ = std::move(address); }
  int Port() const { return port_; }
  void SetPort(int port) { port_ = port; }

  // Starts connecting to Address and Port and returns at once; a connection still open is
  // closed first and its buffered bytes dropped.
  void Connect();
  void Close();
  bool IsConnected() const;
  // Queues bytes to send, in order.
  void Write(std::string_view bytes);
  const std::string& Lookahead() const { return buffer_; }
  std::string ReadAll();
  // The local end's address as dotted text; empty when not connected.
  std::string LocalAddress() const;
  int LastErrorCode() const { return lastErrorCode_; }
  // The last error, for people.
  std::string LastErrorText() const { return lastErrorText_; }

  Event<void()> Connected;
  Event<void()> DataAvailable;
  Event<void(bool)> SendComplete;
  Event<void(int64_t bytesSent, int64_t bytesLeft)> SendProgress;
  Event<void()> Error;

 protected:
  virtual void Event_Connected() { Connected.Raise(); }
  virtual void Event_DataAvailable() { DataAvailable.Raise(); }
  virtual void Event_SendComplete(bool userAborted) { SendComplete.Raise(userAborted); }
  // Some of the written bytes have gone out and bytesLeft are still to go.
  virtual void Event_SendProgress(int64_t bytesSent, int64_t bytesLeft) { SendProgress.Raise(bytesSent, bytesLeft); }
  virtual void Event_Error() { Error.Raise(); }
  // For a subclass that gives the connection up itself (a time-out of its own, say).
  void SetLastError(int code, std::string text) {
    lastErrorCode_ = code;
    lastErrorText_ = std::move(text);
  }

 private:
  void Discard();
  // Runs one of our handlers for a signal of the connection.
  template <class Handler>
  void Dispatch(Handler handler);
  std::string address_;
  int port_ = 0;
  QPointer<QTcpSocket> socket_;
  std::string buffer_;
  int lastErrorCode_ = 0;
  std::string lastErrorText_;
  int dispatching_ = 0;                // handlers on the stack
  std::vector<QTcpSocket*> retired_;   // dropped connections whose signal is still on the stack
};

}  // namespace fw
