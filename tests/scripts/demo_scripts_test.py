#!/usr/bin/python3
"""The demo's scripts as ./run.sh runs them at each start, over one build folder: the demo SMTP
server on the mail folder, then the demo data with the server's port."""
import os
import signal
import smtplib
import struct
import subprocess
import sys
import tempfile
import unittest

SCRIPTS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts")


def settings_file(slots, count=21):
    """The settings file "smtp": N = count - 1 (big-endian), then count length-prefixed texts,
    the given slots first."""
    slots = slots + [b""] * (count - len(slots))
    return struct.pack(">i", count - 1) + b"".join(bytes([len(s)]) + s for s in slots)


def slots_of(data):
    slots, pos = [], 4
    for _ in range(struct.unpack(">i", data[:4])[0] + 1):
        slots.append(data[pos + 1:pos + 1 + data[pos]])
        pos += 1 + data[pos]
    return slots


def start(build, message=None):
    """One start of ./run.sh without the program; sends the message through the demo server as
    the program would. Gives the server's port."""
    server = subprocess.Popen(
        [sys.executable, os.path.join(SCRIPTS, "smtp_server.py"), "--folder", os.path.join(build, "demo-mail"),
         "--user", "demo", "--password", "demo"], stdout=subprocess.PIPE, text=True)
    try:
        ready, port = server.stdout.readline().split()
        assert ready == "READY"
        subprocess.run([sys.executable, os.path.join(SCRIPTS, "make_demo_data.py"), os.path.join(build, "Data"),
                        "--port", port], check=True)
        if message:
            with smtplib.SMTP("127.0.0.1", int(port)) as smtp:
                smtp.login("demo", "demo")
                smtp.sendmail("info@example.com", ["yamada@example.com"], message)
        return port
    finally:
        server.terminate()
        server.wait(10)
        server.stdout.close()


class DemoStart(unittest.TestCase):
    def setUp(self):
        self.build = tempfile.TemporaryDirectory()
        self.addCleanup(self.build.cleanup)
        self.smtp = os.path.join(self.build.name, "Data", "smtp")

    def read(self, path):
        with open(path, "rb") as f:
            return f.read()

    def test_only_settings_that_point_at_the_demo_server_follow_its_port(self):
        port = start(self.build.name).encode()
        demo = [b"127.0.0.1", port, b"demo", b"demo", b"info@example.com", "ポスタリオ 1.0".encode()] + [b""] * 15
        self.assertEqual(slots_of(self.read(self.smtp)), demo)
        demo[1] = start(self.build.name).encode()
        self.assertEqual(slots_of(self.read(self.smtp)), demo)

        # The user's own: another server with the demo's account, in the file's shortest form
        # (fewer slots than the program writes); the demo's address with another account.
        for own in (settings_file([b"smtp.example.jp", b"587", b"demo", b"secret", b"taro@example.jp"], count=5),
                    settings_file([b"127.0.0.1", b"2525", b"taro", b"secret", b"taro@example.jp"])):
            with open(self.smtp, "wb") as f:
                f.write(own)
            start(self.build.name)
            self.assertEqual(self.read(self.smtp), own)

    def test_a_later_start_keeps_the_mail_of_the_earlier_ones(self):
        start(self.build.name, b"Subject: first\r\n\r\none\r\n")
        start(self.build.name, b"Subject: second\r\n\r\ntwo\r\n")
        mail = os.path.join(self.build.name, "demo-mail")
        self.assertEqual(sorted(os.listdir(mail)), ["1.eml", "1.json", "2.eml", "2.json"])
        self.assertIn(b"Subject: first", self.read(os.path.join(mail, "1.eml")))
        self.assertIn(b"Subject: second", self.read(os.path.join(mail, "2.eml")))

    def test_the_server_ends_however_many_stop_signals_come(self):
        # ./run.sh's trap and the terminal may each send one, close together; a burst of them
        # reaches the server at any point of its stopping. Several servers, as the timing varies.
        for _ in range(8):
            server = subprocess.Popen([sys.executable, os.path.join(SCRIPTS, "smtp_server.py"), "--folder",
                                       self.build.name], stdout=subprocess.PIPE, text=True)
            try:
                server.stdout.readline()
                for _ in range(50):
                    os.kill(server.pid, signal.SIGTERM)
                self.assertIn(server.wait(5), (0, -signal.SIGTERM))
            finally:
                server.kill()
                server.wait()
                server.stdout.close()


if __name__ == "__main__":
    unittest.main()
