// TCPSocket against a server of the test's own on 127.0.0.1: connecting, writing in order,
// Lookahead keeping and ReadAll taking the buffered bytes, and Error when the peer closes or
// the connection is refused.
#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/core/TCPSocket.h"

using fw::TCPSocket;

namespace {

bool WaitFor(const std::function<bool()>& done, int ms = 5000) { return QTest::qWaitFor(done, ms); }

// Records every event in order.
class RecordingSocket : public TCPSocket {
 public:
  std::vector<std::string> events;
  std::string bufferAtError;

 protected:
  void Event_Connected() override { events.push_back("Connected"); }
  void Event_DataAvailable() override { events.push_back("DataAvailable"); }
  void Event_SendComplete(bool aborted) override { events.push_back(aborted ? "SendAborted" : "SendComplete"); }
  void Event_Error() override {
    events.push_back("Error");
    bufferAtError = Lookahead();
  }
};

int Count(const std::vector<std::string>& events, const std::string& name) {
  return int(std::count(events.begin(), events.end(), name));
}

class CoreTcpSocket : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server_.listen(QHostAddress::LocalHost, 0));
    QObject::connect(&server_, &QTcpServer::newConnection, [this] {
      while (QTcpSocket* s = server_.nextPendingConnection()) {
        peer_ = s;
        QObject::connect(s, &QTcpSocket::readyRead, [this, s] { received_ += s->readAll().toStdString(); });
      }
    });
  }

  void ConnectClient(TCPSocket& socket) {
    socket.SetAddress("127.0.0.1");
    socket.SetPort(server_.serverPort());
    socket.Connect();
  }

  void PeerSends(const std::string& bytes) {
    ASSERT_TRUE(peer_);
    peer_->write(bytes.data(), qint64(bytes.size()));
    peer_->flush();
  }

  QTcpServer server_;
  QPointer<QTcpSocket> peer_;
  std::string received_;
};

}  // namespace

TEST_F(CoreTcpSocket, ConnectsAndWritesInOrder) {
  RecordingSocket socket;
  EXPECT_FALSE(socket.IsConnected());
  EXPECT_EQ(socket.LocalAddress(), "");
  ConnectClient(socket);
  // Connect returns at once; the event comes from the event loop.
  EXPECT_TRUE(socket.events.empty());
  ASSERT_TRUE(WaitFor([&] { return Count(socket.events, "Connected") == 1 && peer_; }));
  EXPECT_TRUE(socket.IsConnected());
  EXPECT_EQ(socket.LocalAddress(), "127.0.0.1");
  EXPECT_EQ(socket.Port(), server_.serverPort());

  socket.Write("EHLO [127.0.0.1]\r\n");
  socket.Write("MAIL FROM: <a@example.jp>\r\n");
  socket.Write("件名\r\n");
  ASSERT_TRUE(WaitFor([&] { return received_.size() >= 52; }));
  EXPECT_EQ(received_, "EHLO [127.0.0.1]\r\nMAIL FROM: <a@example.jp>\r\n件名\r\n");
  ASSERT_TRUE(WaitFor([&] { return Count(socket.events, "SendComplete") >= 1; }));
  EXPECT_EQ(Count(socket.events, "Error"), 0);
}

TEST_F(CoreTcpSocket, LookaheadKeepsAndReadAllTakes) {
  RecordingSocket socket;
  ConnectClient(socket);
  ASSERT_TRUE(WaitFor([&] { return socket.IsConnected() && peer_; }));

  PeerSends("220 ready\r\n");
  ASSERT_TRUE(WaitFor([&] { return socket.Lookahead() == "220 ready\r\n"; }));
  EXPECT_GE(Count(socket.events, "DataAvailable"), 1);
  EXPECT_EQ(socket.Lookahead(), "220 ready\r\n");  // still there

  // Bytes not taken gather behind the earlier ones.
  PeerSends("250-first\r\n");
  ASSERT_TRUE(WaitFor([&] { return socket.Lookahead().size() == 22; }));
  EXPECT_EQ(socket.Lookahead(), "220 ready\r\n250-first\r\n");

  EXPECT_EQ(socket.ReadAll(), "220 ready\r\n250-first\r\n");
  EXPECT_EQ(socket.Lookahead(), "");
  EXPECT_EQ(socket.ReadAll(), "");

  PeerSends("250 ok\r\n");
  ASSERT_TRUE(WaitFor([&] { return socket.Lookahead() == "250 ok\r\n"; }));
  EXPECT_EQ(socket.ReadAll(), "250 ok\r\n");
}

TEST_F(CoreTcpSocket, PeerCloseGivesErrorAfterTheLastBytes) {
  RecordingSocket socket;
  ConnectClient(socket);
  ASSERT_TRUE(WaitFor([&] { return socket.IsConnected() && peer_; }));
  PeerSends("221 bye\r\n");
  peer_->disconnectFromHost();
  ASSERT_TRUE(WaitFor([&] { return Count(socket.events, "Error") == 1; }));
  EXPECT_EQ(socket.bufferAtError, "221 bye\r\n");
  EXPECT_EQ(socket.LastErrorCode(), TCPSocket::kLostConnection);
  EXPECT_EQ(socket.LastErrorText(), "サーバが接続を閉じました。");
  // DataAvailable came before Error.
  auto data = std::find(socket.events.begin(), socket.events.end(), "DataAvailable");
  auto error = std::find(socket.events.begin(), socket.events.end(), "Error");
  EXPECT_LT(data, error);
  ASSERT_TRUE(WaitFor([&] { return !socket.IsConnected(); }));
  QTest::qWait(20);
  EXPECT_EQ(Count(socket.events, "Error"), 1);
}

TEST_F(CoreTcpSocket, RefusedConnectionGivesError) {
  quint16 port = server_.serverPort();
  server_.close();  // nothing listens there now
  RecordingSocket socket;
  socket.SetAddress("127.0.0.1");
  socket.SetPort(port);
  socket.Connect();
  ASSERT_TRUE(WaitFor([&] { return Count(socket.events, "Error") == 1; }));
  EXPECT_EQ(Count(socket.events, "Connected"), 0);
  EXPECT_NE(socket.LastErrorCode(), 0);
  EXPECT_EQ(socket.LastErrorText(), "サーバに接続を拒否されました。");
  EXPECT_FALSE(socket.IsConnected());
  EXPECT_EQ(socket.Lookahead(), "");

  // The same object connects again once a server listens.
  ASSERT_TRUE(server_.listen(QHostAddress::LocalHost, port));
  socket.Connect();
  ASSERT_TRUE(WaitFor([&] { return Count(socket.events, "Connected") == 1; }));
  EXPECT_EQ(socket.LastErrorCode(), 0);
}

TEST_F(CoreTcpSocket, BoundHandlersAndCloseSilencesTheConnection) {
  TCPSocket socket;
  int connected = 0, data = 0, errors = 0;
  socket.Connected.Bind([&] { ++connected; });
  socket.DataAvailable.Bind([&] { ++data; });
  socket.Error.Bind([&] { ++errors; });
  ConnectClient(socket);
  ASSERT_TRUE(WaitFor([&] { return connected == 1 && peer_; }));
  PeerSends("x");
  ASSERT_TRUE(WaitFor([&] { return data == 1; }));

  socket.Close();
  EXPECT_FALSE(socket.IsConnected());
  // The server sees the close; nothing more reaches the closed socket's handlers.
  ASSERT_TRUE(WaitFor([&] { return !peer_ || peer_->state() != QAbstractSocket::ConnectedState; }));
  if (peer_) peer_->write("late");
  QTest::qWait(50);
  EXPECT_EQ(data, 1);
  EXPECT_EQ(errors, 0);
  socket.Write("ignored");  // writing after Close does nothing
}

TEST_F(CoreTcpSocket, ReconnectDropsTheOldConnectionAndItsBytes) {
  RecordingSocket socket;
  ConnectClient(socket);
  ASSERT_TRUE(WaitFor([&] { return socket.IsConnected() && peer_; }));
  QPointer<QTcpSocket> first = peer_;
  PeerSends("old bytes");
  ASSERT_TRUE(WaitFor([&] { return !socket.Lookahead().empty(); }));

  socket.Connect();
  EXPECT_EQ(socket.Lookahead(), "");
  ASSERT_TRUE(WaitFor([&] { return Count(socket.events, "Connected") == 2 && peer_ != first; }));
  // The old connection's close raises nothing on the new one.
  QTest::qWait(50);
  EXPECT_EQ(Count(socket.events, "Error"), 0);
  PeerSends("new");
  ASSERT_TRUE(WaitFor([&] { return socket.Lookahead() == "new"; }));
}

TEST_F(CoreTcpSocket, DestroyingAConnectedSocketIsSafe) {
  {
    RecordingSocket socket;
    ConnectClient(socket);
    ASSERT_TRUE(WaitFor([&] { return socket.IsConnected() && peer_; }));
    socket.Write("QUIT\r\n");
  }
  ASSERT_TRUE(WaitFor([&] { return !peer_ || peer_->state() != QAbstractSocket::ConnectedState; }));
  if (peer_) PeerSends("after");
  QTest::qWait(20);
}
