#!/usr/bin/env bash
# Runs a command on a virtual X display (Xvfb) with a session bus and an accessibility bus of
# their own, with Qt's AT-SPI bridge on, as when a screen reader is running; stops them after.
# Usage: scripts/with-accessibility-bus.sh command [arguments...]
set -euo pipefail

session="$(mktemp -d)"
pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    pkill -P "${pids[i]}" 2>/dev/null || true  # the accessibility bus the launcher started
    kill "${pids[i]}" 2>/dev/null || true
  done
  wait 2>/dev/null || true
  rm -rf "$session"
}
trap cleanup EXIT

# Polls until the command succeeds, for at most 20 seconds.
await() {
  for _ in $(seq 400); do "$@" >/dev/null 2>&1 && return 0; sleep 0.05; done
  echo "with-accessibility-bus: gave up waiting for: $*" >&2
  return 1
}

export HOME="$session" XDG_RUNTIME_DIR="$session"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$session/display" >/dev/null 2>&1 &
pids+=($!)
await test -s "$session/display"
export DISPLAY=":$(head -n1 "$session/display")"

# A session bus that starts no services: the launcher below is the only one.
cat >"$session/bus.conf" <<END
<busconfig><type>session</type><listen>unix:path=$session/bus-socket</listen><auth>EXTERNAL</auth>
<policy context="default"><allow send_destination="*" eavesdrop="true"/><allow eavesdrop="true"/>
<allow own="*"/></policy></busconfig>
END
dbus-daemon --config-file="$session/bus.conf" --nofork --print-address=3 3>"$session/bus" >/dev/null 2>&1 &
pids+=($!)
await test -s "$session/bus"
DBUS_SESSION_BUS_ADDRESS="$(head -n1 "$session/bus")"
export DBUS_SESSION_BUS_ADDRESS

/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
pids+=($!)
await dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress

QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$@"
