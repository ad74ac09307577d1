#!/usr/bin/python3
"""Lays the demo "Data" folder: one sample set and the settings file "smtp".

An existing set is left as it is. Without "smtp", the demo settings are written. An existing
"smtp" that still points at the demo server (its address and account) follows the demo
server's port, which changes from run to run; any other is the user's own and stays byte for
byte.
"""
import argparse
import os
import struct

SLOTS = 21
DEMO_SERVER = b"127.0.0.1"
DEMO_ACCOUNT = b"demo"


def read_settings(path):
    slots = [b""] * SLOTS
    with open(path, "rb") as f:
        data = f.read()
    if len(data) < 4:
        return slots
    (n,) = struct.unpack(">i", data[:4])
    pos = 4
    for i in range(0, min(n, SLOTS - 1) + 1):
        if pos >= len(data):
            break
        length = data[pos]
        slots[i] = data[pos + 1:pos + 1 + length]
        pos += 1 + length
    return slots


def write_settings(path, slots):
    out = struct.pack(">i", SLOTS - 1)
    for s in slots:
        out += bytes([len(s)]) + s
    with open(path, "wb") as f:
        f.write(out)
    os.chmod(path, 0o600)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("data")
    parser.add_argument("--port", required=True)
    args = parser.parse_args()

    os.makedirs(args.data, exist_ok=True)
    settings = os.path.join(args.data, "smtp")
    port = args.port.encode()
    if not os.path.lexists(settings):
        slots = [b""] * SLOTS
        slots[0] = DEMO_SERVER
        slots[1] = port
        slots[2] = DEMO_ACCOUNT
        slots[3] = b"demo"
        slots[4] = b"info@example.com"
        slots[5] = "ポスタリオ 1.0".encode()
        write_settings(settings, slots)
    elif os.path.isfile(settings):
        slots = read_settings(settings)
        if slots[0] == DEMO_SERVER and slots[2] == DEMO_ACCOUNT and slots[1] != port:
            slots[1] = port
            write_settings(settings, slots)

    sample = os.path.join(args.data, "お客様リスト")
    if not os.path.exists(sample):
        os.makedirs(sample)
        with open(os.path.join(sample, "NameList.txt"), "w", encoding="utf-8") as f:
            f.write("// メールアドレス<TAB>お名前\n")
            f.write("yamada@example.com\t山田 太郎\n")
            f.write("suzuki@example.com\t鈴木 花子\n")
            f.write("tanaka@example.com\t田中 一郎\n")
        with open(os.path.join(sample, "Template.txt"), "w", encoding="utf-8") as f:
            f.write("冬季休業のお知らせ\n")
            f.write("様\n")
            f.write("いつもご利用いただき、ありがとうございます。\n")
            f.write("12月29日から1月3日まで休業いたします。\n")
            f.write("\n")
            f.write("今後ともよろしくお願いいたします。\n")


if __name__ == "__main__":
    main()
