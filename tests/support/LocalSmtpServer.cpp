#include "tests/support/LocalSmtpServer.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>

namespace testsupport {
namespace {

const char* kReadBack = R"PY(
import email, email.policy, json, os, sys
folder = sys.argv[1]
def address(msg, name):
    found = msg[name].addresses if name in msg else []
    return [found[0].display_name, found[0].addr_spec] if found else []
out = []
n = 1
while os.path.exists(os.path.join(folder, f"{n}.eml")):
    raw = open(os.path.join(folder, f"{n}.eml"), "rb").read()
    envelope = json.load(open(os.path.join(folder, f"{n}.json")))
    msg = email.message_from_bytes(raw, policy=email.policy.default)
    out.append({
        "envelope_from": envelope["from"], "envelope_to": envelope["to"],
        "From": address(msg, "From"), "To": address(msg, "To"), "Subject": str(msg.get("Subject", "")),
        "X-Mailer": str(msg.get("X-Mailer", "")), "Message-ID": str(msg.get("Message-ID", "")),
        "Content-Type": str(msg.get("Content-Type", "")),
        "body": msg.get_content(), "defects": len(msg.defects),
    })
    n += 1
print(json.dumps(out, ensure_ascii=False))
)PY";

}  // namespace

LocalSmtpServer::LocalSmtpServer(const std::string& user, const std::string& password, const std::string& refused) {
  QStringList args{QStringLiteral(POSTARIO_SOURCE_DIR "/scripts/smtp_server.py"), "--folder", folder_.path(), "--stop-on-stdin-close"};
  if (!user.empty()) args << "--user" << QString::fromStdString(user) << "--password" << QString::fromStdString(password);
  if (!refused.empty()) args << "--refuse" << QString::fromStdString(refused);
  process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process_.start("/usr/bin/python3", args);
  if (!process_.waitForStarted(10000)) return;
  while (process_.waitForReadyRead(20000)) {
    QByteArray line = process_.readLine().trimmed();
    if (line.startsWith("READY ")) {
      port_ = line.mid(6).toInt();
      return;
    }
  }
}

LocalSmtpServer::~LocalSmtpServer() { Stop(); }

void LocalSmtpServer::Stop() {
  if (process_.state() == QProcess::NotRunning) return;
  process_.closeWriteChannel();
  if (!process_.waitForFinished(5000)) {
    process_.kill();
    process_.waitForFinished(2000);
  }
}

int LocalSmtpServer::Count() const { return int(QDir(folder_.path()).entryList({"*.eml"}, QDir::Files).size()); }

std::string LocalSmtpServer::Raw(int n) const {
  QFile f(folder_.path() + QString("/%1.eml").arg(n));
  return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
}

QJsonArray LocalSmtpServer::ReadBack() const {
  std::string json = RunPython(kReadBack, {folder_.path()});
  return QJsonDocument::fromJson(QByteArray::fromStdString(json)).array();
}

std::string RunPython(const std::string& script, const QStringList& arguments) {
  QProcess p;
  p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  p.start("/usr/bin/python3", QStringList{"-c", QString::fromStdString(script)} + arguments);
  p.waitForFinished(60000);
  return p.readAllStandardOutput().toStdString();
}

}  // namespace testsupport
