#pragma once
// Times sessions of Python's smtplib against a server on 127.0.0.1, as a yardstick for the
// client's own: each session connects, greets (EHLO and AUTH LOGIN when a user is given, else
// HELO), sends one message and quits. With a spacing, each timed session starts that long after
// the one before, as the program's own sessions do after their pause.
#include <QProcess>

#include <cstdio>
#include <string>

namespace bench {

struct SessionTimes {
  double wall = 0, cpu = 0;  // per session, in seconds
  bool ok = false;
};

// text: the message as sent after DATA, without its end line.
inline SessionTimes SmtplibSessions(int port, int sessions, int warmUp, const std::string& text,
                                    const std::string& user = "", const std::string& password = "",
                                    double spacingSeconds = 0) {
  const char* python = R"(
import smtplib, sys, time
port, n, warm, user, password = int(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3]), sys.argv[4], sys.argv[5]
spacing = float(sys.argv[6])
text = sys.stdin.buffer.read()
def session():
    s = smtplib.SMTP("127.0.0.1", port)
    if user:
        s.ehlo("[127.0.0.1]")
        s.user, s.password = user, password
        s.auth("LOGIN", s.auth_login, initial_response_ok=False)
    else:
        s.helo("[127.0.0.1]")
    s.sendmail("sender@example.com", ["rcpt@example.com"], text)
    s.quit()
for _ in range(warm): session()
w = c = 0
for _ in range(n):
    time.sleep(spacing)
    w0, c0 = time.perf_counter(), time.process_time()
    session()
    w, c = w + time.perf_counter() - w0, c + time.process_time() - c0
print(w / n, c / n)
)";
  QProcess smtplib;
  smtplib.start("/usr/bin/python3", {"-c", python, QString::number(port), QString::number(sessions),
                                     QString::number(warmUp), QString::fromStdString(user),
                                     QString::fromStdString(password), QString::number(spacingSeconds)});
  smtplib.write(text.data(), qint64(text.size()));
  smtplib.closeWriteChannel();
  smtplib.waitForFinished(600000);
  SessionTimes times;
  times.ok = std::sscanf(smtplib.readAllStandardOutput().constData(), "%lf %lf", &times.wall, &times.cpu) == 2;
  if (!times.ok) std::fprintf(stderr, "smtplib run failed: %s\n", smtplib.readAllStandardError().constData());
  return times;
}

}  // namespace bench
