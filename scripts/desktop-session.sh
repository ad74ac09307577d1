#!/usr/bin/env bash
# Runs a command in a desktop session of its own: a virtual X display (Xvfb) and a session bus
# that starts no services, with Qt on the X display, and as asked:
#   --accessibility  the accessibility bus, with Qt's AT-SPI bridge on, as for a screen reader;
#   --input-method   fcitx5 with Anthy, switched on by `fcitx5-remote -o` in a focused field.
# Stops them all afterwards and exits with the command's status.
# Usage: scripts/desktop-session.sh [--accessibility] [--input-method] command [arguments...]
set -euo pipefail

accessibility=false
inputMethod=false
while [ $# -gt 0 ]; do
  case "$1" in
    --accessibility) accessibility=true ;;
    --input-method) inputMethod=true ;;
    *) break ;;
  esac
  shift
done

session="$(mktemp -d)"
pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    pkill -P "${pids[i]}" 2>/dev/null || true  # what the accessibility bus launcher started
    kill "${pids[i]}" 2>/dev/null || true
  done
  wait 2>/dev/null || true
  rm -rf "$session"
}
trap cleanup EXIT

# Polls until the command succeeds, for at most 20 seconds.
await() {
  for _ in $(seq 400); do "$@" >/dev/null 2>&1 && return 0; sleep 0.05; done
  echo "desktop-session: gave up waiting for: $*" >&2
  return 1
}

export HOME="$session" XDG_RUNTIME_DIR="$session" XDG_CONFIG_HOME="$session/config"
export XDG_DATA_HOME="$session/data" XDG_CACHE_HOME="$session/cache" LANG=C.UTF-8 LC_ALL=C.UTF-8

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$session/display" >/dev/null 2>&1 &
pids+=($!)
await test -s "$session/display"
export DISPLAY=":$(head -n1 "$session/display")" QT_QPA_PLATFORM=xcb

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

if $accessibility; then
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  pids+=($!)
  await dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
fi

if $inputMethod; then
  mkdir -p "$XDG_CONFIG_HOME/fcitx5"
  cat >"$XDG_CONFIG_HOME/fcitx5/profile" <<END
[Groups/0]
Name=Default
Default Layout=us
DefaultIM=anthy

[Groups/0/Items/0]
Name=keyboard-us
Layout=

[Groups/0/Items/1]
Name=anthy
Layout=

[GroupOrder]
0=Default
END
  # Only what Qt's front end needs: no other front end, panel or helper.
  fcitx5 -D --disable=wayland,waylandim,kimpanel,notificationitem,notifications,clipboard,emoji,quickphrase,unicode,spell,imselector,xim,fcitx4frontend,ibusfrontend \
    >"$session/fcitx5.log" 2>&1 &
  pids+=($!)
  await fcitx5-remote
  export QT_IM_MODULE=fcitx XMODIFIERS=@im=fcitx
fi

status=0
"$@" || status=$?
exit "$status"
