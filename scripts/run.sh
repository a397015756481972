#!/usr/bin/env bash
# Installs what is missing, builds the Windows side with its setup file,
# installs Corvane through that setup (silently) into the build's Wine prefix,
# adds a demo entry and starts the installed program with it on the dial-up
# service stand-in. With a display it runs there until closed; without one it
# runs on a virtual display and writes screenshots to shots/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

scripts/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j2 --target corvane_setup rasapi32_standin rasctl

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

# Install (or update) as a user would; the key "Product" is written once.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
if ! "$launcher" "$build/corvane-setup-$version.exe" /S; then
  echo "The setup stopped: is Corvane still running in this prefix? (build/win64/wine-run.sh --stop ends it)" >&2
  exit 1
fi
export WINEPREFIX="$root/$build/wineprefix"
install_dir=$("$launcher" reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Corvane' \
  /v InstallLocation | tr -d '\r' | sed -n 's/^ *InstallLocation *REG_SZ *//p')
install_dir=$(winepath -u "$install_dir" 2>/dev/null)
program="$install_dir/corvane.exe"
# The stand-in goes beside the installed program; it is never part of the setup.
cp "$build/bin/rasapi32.dll" "$install_dir/"

# The demo entry: a busy line first, redialled after 5 seconds, then a connection.
"$launcher" reg import "$root/scripts/demo-entry.reg"
export CORVANE_RAS_SCENARIO
CORVANE_RAS_SCENARIO=$(winepath -w "$root/emu/rasapi32/demo.scenario" 2>/dev/null)

if [ "$headless" = 0 ]; then
  exec "$launcher" "$program" Demo
fi

mkdir -p shots
"$launcher" explorer /desktop=Corvane,800x600 "$program" Demo &
app_pid=$!
for moment in 3:dialing 4:busy 25:connected; do
  sleep "${moment%%:*}"
  import -display "$DISPLAY" -window root "$root/shots/run-${moment#*:}.png"
  echo "Screenshot: shots/run-${moment#*:}.png"
done
kill "$app_pid" 2>/dev/null || true
"$launcher" --stop
[ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
