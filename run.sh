#!/usr/bin/env bash
# Installs what is missing, builds, lays a demo "Data" folder beside the program (a sample set,
# settings that point at a local SMTP server, unless the user has set their own) and starts the
# program. The local server, started here on 127.0.0.1, keeps every message it receives in
# build/demo-mail, after those of earlier starts.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --parallel --target postario

mail=build/demo-mail
mkdir -p "$mail"
exec 3< <(/usr/bin/python3 scripts/smtp_server.py --folder "$mail" --user demo --password demo)
server=$!
trap 'kill $server 2>/dev/null || true' EXIT
read -r ready port <&3
[ "$ready" = READY ] || { echo "the demo SMTP server did not start" >&2; exit 1; }

/usr/bin/python3 scripts/make_demo_data.py build/Data --port "$port"
echo "Demo SMTP server on 127.0.0.1:$port (account demo/demo); received mail goes to $mail"
build/postario
