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
cmake --build --preset win64 -j2 --target corvane rasapi32

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

# The installation key comes with the prefix; the demo entry is ours.
"$launcher" reg add 'HKCU\Software\Tamberlo\Corvane\Demo' /v PhoneNumber /t REG_SZ /d 5550100 /f >/dev/null
"$launcher" reg add 'HKCU\Software\Tamberlo\Corvane\Demo' /v UserName /t REG_SZ /d demo /f >/dev/null
"$launcher" reg add 'HKCU\Software\Tamberlo\Corvane\Demo' /v Icon /t REG_SZ /d 8 /f >/dev/null

if [ "$headless" = 0 ]; then
  exec "$launcher" "$build/bin/corvane.exe" Demo
fi

mkdir -p shots
"$launcher" explorer /desktop=Corvane,800x600 "$build/bin/corvane.exe" Demo &
app_pid=$!
sleep 8
import -display "$DISPLAY" -window root "$root/shots/run-dialer.png"
echo "Screenshot: shots/run-dialer.png"
kill "$app_pid" 2>/dev/null || true
"$launcher" --stop
[ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
