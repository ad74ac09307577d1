#!/usr/bin/env bash
# Builds the benchmarks (Release, in build-bench), runs every one of them and ends with a summary
# table: start-up to a shown main window (3 sets and 5,000 sets), loading, recounting, clearing
# and ticking 10,000 and 100,000 recipients (and 20,000 with accessibility on), building the program's message text, one SMTP session, a send walk over
# 100,000 rows with one ticked, a send to 60 recipients through the main window against a local
# aiosmtpd beside smtplib sessions, the costs of a waiting thread and of a yield, and reading
# message texts with many instances of one header and with an attachment inside many nested
# multiparts. Each figure stands beside the one measured before the change that made it faster.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/install-deps.sh

build=build-bench
benches=(bench_startup bench_namelist_load bench_message_text bench_smtp_session bench_send_walk bench_send_run
         bench_thread_wait bench_message_parse)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --parallel --target "${benches[@]}"

export QT_QPA_PLATFORM=offscreen
XDG_RUNTIME_DIR="$(mktemp -d)"
export XDG_RUNTIME_DIR
results="$XDG_RUNTIME_DIR/results"
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT

# Runs one benchmark (through the command $wrap names, when set), shows its output without the
# offscreen platform's, the server's and the bus's notices, and keeps its result lines.
run() {
  echo
  echo "== $*"
  ${wrap:-} "$build/bench/$1" "${@:2}" 2>&1 |
    sed -e '/This plugin does not support/d' -e '/login_data is deprecated/d' -e '/^dbus-daemon\[/d' |
    tee >(grep '^RESULT|' >>"$results" || true) | grep -v '^RESULT|' || true
}

run bench_startup 10
run bench_startup 3 4997
run bench_namelist_load 10000
run bench_namelist_load 100000
wrap='scripts/desktop-session.sh --accessibility' run bench_namelist_load 20000
run bench_message_text
run bench_smtp_session 300
run bench_send_walk 100000
run bench_send_run 60
run bench_thread_wait 2000 100000
run bench_message_parse headers 50000
run bench_message_parse part-headers 20000
run bench_message_parse nested 31
sleep 0.2  # the result lines of the last run are written by a process substitution

# Figures of the same benchmarks on this machine before the change (commit 9f8af52), where a
# thread resumed on every tick of a 1 ms timer, a folder was listed on every Count and Item, and
# a repeated header name and each nesting level of a message cost a pass or a copy of their own.
before="$XDG_RUNTIME_DIR/before"
cat >"$before" <<'END'
start-up to shown main window, 3 sets|28.14 ms wall
start-up to shown main window, 5000 sets|81554 ms wall (1 run)
load 10,000 recipients|12.34 ms wall
load 100,000 recipients|115.05 ms wall
recount of 100,000 (untick one)|1.70 ms wall
walk over 100000 rows, one ticked|25.4 s for 20,000 rows (about 127 s for 100,000), input delay worst 3.6 ms
send to 60 recipients (window, aiosmtpd)|31.0 s wall, 1.655 s CPU: 5.34 % of wall
  per message beyond the pause|5.05 ms, ratio 2.14 to smtplib's 2.36 ms
thread waiting for a flag|0.0249 CPU s per wall s (by 1 ms yields)
walk of 100000 yields|about 1.3 ms per yield (the walk of 20,000 rows)
read 50000 Received lines|not run; 10,000 took 13.96 s and 20,000 took 59.6 s (quadratic)
read 20000 lines in one part|not run; 10,000 took 15.4 s
read 4 MiB inside 31 levels|0.43 s wall, 211.7 MB peak RSS
END

echo
echo "== Summary ($(nproc) CPUs, $(uname -r))"
awk -F'|' 'NR == FNR { was[$1] = $2; next }
           FNR == 1 { printf "%-42s %12s %12s %10s  %s\n", "what", "wall", "CPU", "peak RSS", "note" }
           { printf "%-42s %12s %12s %6.1f MiB  %s\n", $2, $3, $4, $5 / 1024, $6
             if ($2 in was) printf "%-42s before: %s\n", "", was[$2] }' "$before" "$results"
