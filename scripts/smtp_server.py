#!/usr/bin/python3
"""A local SMTP server (aiosmtpd) for the demo and the tests.

Listens on 127.0.0.1 at the given port (0 picks a free one), stores every message it accepts
as <n>.eml (the bytes received after DATA) with <n>.json (envelope sender and recipients) in
the given folder, numbered on from the messages already there, and prints "READY <port>" once
it listens. With --user and --password it offers AUTH LOGIN and PLAIN without TLS and accepts
that one account; --refuse ADDRESS answers RCPT TO for that address with 550.
"""
import argparse
import asyncio
import json
import os
import signal
import socket
import sys
import threading

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult, LoginPassword


def last_number(folder):
    """The highest n of the <n>.eml files in the folder; 0 when there are none."""
    names = (name[:-len(".eml")] for name in os.listdir(folder) if name.endswith(".eml"))
    return max((int(n) for n in names if n.isdigit()), default=0)


class Store:
    def __init__(self, folder, refused):
        self.folder = folder
        self.refused = set(refused)
        self.count = last_number(folder)  # an earlier run's messages are kept
        self.lock = threading.Lock()

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address in self.refused:
            return f"550 5.1.1 <{address}>: Recipient address rejected"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        with self.lock:
            self.count += 1
            n = self.count
        base = os.path.join(self.folder, str(n))
        with open(base + ".eml", "wb") as f:
            f.write(envelope.original_content)
        with open(base + ".json", "w") as f:
            json.dump({"from": envelope.mail_from, "to": envelope.rcpt_tos}, f)
        return "250 OK"


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--folder", required=True)
    parser.add_argument("--user")
    parser.add_argument("--password")
    parser.add_argument("--refuse", action="append", default=[],
                        help="a recipient address answered with 550 (repeatable)")
    parser.add_argument("--stop-on-stdin-close", action="store_true",
                        help="end when standard input closes (when the starting process ends)")
    args = parser.parse_args()
    os.makedirs(args.folder, exist_ok=True)

    kwargs = {}
    if args.user is not None:
        def authenticator(server, session, envelope, mechanism, auth_data):
            ok = (isinstance(auth_data, LoginPassword)
                  and auth_data.login.decode() == args.user
                  and auth_data.password.decode() == args.password)
            # handled=False lets the server answer a failed login with its 535.
            return AuthResult(success=ok, handled=False)
        kwargs = dict(authenticator=authenticator, auth_require_tls=False)

    # The stopping signals are taken by sigwait below, never by a handler: a handler that set an
    # Event could run again inside its own set() when a second signal came (./run.sh's trap and
    # a terminal both send one), and wait for ever on the lock it already held. Blocked before
    # any thread starts, so that every thread inherits the mask.
    stopping = {signal.SIGTERM, signal.SIGINT}
    signal.pthread_sigmask(signal.SIG_BLOCK, stopping)
    port = args.port or free_port()
    controller = Controller(Store(args.folder, args.refuse), hostname="127.0.0.1", port=port,
                            decode_data=False, **kwargs)
    controller.start()
    print(f"READY {port}", flush=True)
    if args.stop_on_stdin_close:
        threading.Thread(target=lambda: (sys.stdin.read(), os.kill(os.getpid(), signal.SIGTERM)),
                         daemon=True).start()
    signal.sigwait(stopping)
    controller.stop()


if __name__ == "__main__":
    main()
