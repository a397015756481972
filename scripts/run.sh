#!/usr/bin/env bash
# Installs what is missing, builds the Windows side, prepares the Wine prefix
# as an installation would, adds a demo entry and starts Corvane with it on
# the dial-up service stand-in. With a display it runs there until closed;
# without one it runs on a virtual display and writes screenshots to shots/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

scripts/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j2 --target corvane rasapi32_standin rasctl

build=build/win64
launcher="$build/wine-run.sh"

headless=0
if [ -z "${DISPLAY:-}" ]; then
  headless=1
  export DISPLAY=:78
  if ! [ -e /tmp/.X11-unix/X78 ]; then
    Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do [ -e /tmp/.X11-unix/X78 ] && break; sleep 0.1; done
  fi
fi

# The installation key comes with the prefix; the demo entry is ours: a
# busy line first, redialled after 5 seconds, then a connection.
demo_key='HKCU\Software\Tamberlo\Corvane\Demo'
while read -r name value; do
  "$launcher" reg add "$demo_key" /v "$name" /t REG_SZ /d "$value" /f >/dev/null
done <<'VALUES'
PhoneNumber 5550100
UserName demo
Icon 8
MonitorTime 1
StartBrowser 0
Minutes 0
Seconds 5
VALUES
export CORVANE_RAS_SCENARIO
CORVANE_RAS_SCENARIO=$(WINEPREFIX="$root/$build/wineprefix" winepath -w "$root/emu/rasapi32/demo.scenario")

if [ "$headless" = 0 ]; then
  exec "$launcher" "$build/bin/corvane.exe" Demo
fi

mkdir -p shots
"$launcher" explorer /desktop=Corvane,800x600 "$build/bin/corvane.exe" Demo &
app_pid=$!
for moment in 3:dialing 4:busy 25:connected; do
  sleep "${moment%%:*}"
  import -display "$DISPLAY" -window root "$root/shots/run-${moment#*:}.png"
  echo "Screenshot: shots/run-${moment#*:}.png"
done
kill "$app_pid" 2>/dev/null || true
"$launcher" --stop
[ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
