#!/usr/bin/env bash
# Takes the README's gallery (docs/gallery/*.png) from the real program:
# builds the Windows side, runs gallery_driver.exe in the build's Wine prefix
# (on its virtual desktop, on a virtual display unless one is given), which
# leads corvane.exe through its windows on the dial-up service stand-in and
# asks for a picture of each; this script takes each from the X display,
# cropped to the window, and keeps it small.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

scripts/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j2 --target corvane_setup gallery_driver

build=build/win64
launcher="$build/wine-run.sh"
work="$root/$build/gallery"
rm -rf "$work"
mkdir -p "$work" docs/gallery

# The driver reaches the folder through Wine's drive Z:, the whole file system.
"$launcher" "$build/bin/gallery_driver.exe" "Z:${work//\//\\}" &
driver_pid=$!

# wine-run.sh starts the virtual display (and says which) when there is none.
display="${DISPLAY:-:${CORVANE_XVFB_DISPLAY:-77}}"
shoot() {
  local request=$1 name geometry
  name=$(basename "$request" .rect)
  geometry=$(tr -d '\r\n' < "$request")
  rm "$request"
  # A palette keeps the pictures small; the windows' flat colours survive it.
  import -display "$display" -window root -crop "$geometry" +repage "$work/$name.full.png"
  convert "$work/$name.full.png" -strip -dither None -colors 64 "PNG8:docs/gallery/$name.png"
  # The driver goes on once it sees the answer.
  mv "$work/$name.full.png" "$work/$name.png"
  echo "docs/gallery/$name.png ($(stat -c %s "docs/gallery/$name.png") bytes)"
}
while kill -0 "$driver_pid" 2>/dev/null; do
  for request in "$work"/*.rect; do
    [ -e "$request" ] && shoot "$request"
  done
  sleep 0.1
done
status=0
wait "$driver_pid" || status=$?
"$launcher" --stop
tail -n 1 "$work/gallery.log" 2>/dev/null || true
exit "$status"
