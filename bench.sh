#!/usr/bin/env bash
# Builds the benchmarks (Release, in build-bench), runs every one of them and ends with a summary
# table: start-up to a shown main window, loading and recounting 10,000 and 100,000 recipients,
# building the program's message text, one SMTP session, a send to 20 recipients through the
# main window against a local aiosmtpd, the cost of a thread waiting by yields, and reading message
# texts with many instances of one header and with an attachment inside many nested multiparts.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/install-deps.sh

build=build-bench
benches=(bench_startup bench_namelist_load bench_message_text bench_smtp_session bench_send_run bench_thread_wait bench_message_parse)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --parallel --target "${benches[@]}"

export QT_QPA_PLATFORM=offscreen
XDG_RUNTIME_DIR="$(mktemp -d)"
export XDG_RUNTIME_DIR
results="$XDG_RUNTIME_DIR/results"
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT

# Runs one benchmark, shows its output without the offscreen platform's and the server's
# notices, and keeps its result lines.
run() {
  echo
  echo "== $*"
  "$build/bench/$1" "${@:2}" 2>&1 |
    sed -e '/This plugin does not support/d' -e '/login_data is deprecated/d' |
    tee >(grep '^RESULT|' >>"$results" || true) | grep -v '^RESULT|' || true
}

run bench_startup 10
run bench_namelist_load 10000
run bench_namelist_load 100000
run bench_message_text
run bench_smtp_session 300
run bench_send_run 20
run bench_thread_wait 2000
run bench_message_parse headers 50000
run bench_message_parse part-headers 20000
run bench_message_parse nested 31
sleep 0.2  # the result lines of the last run are written by a process substitution

echo
echo "== Summary ($(nproc) CPUs, $(uname -r))"
awk -F'|' 'BEGIN { printf "%-42s %12s %12s %10s  %s\n", "what", "wall", "CPU", "peak RSS", "note" }
           { printf "%-42s %12s %12s %6.1f MiB  %s\n", $2, $3, $4, $5 / 1024, $6 }' "$results"
