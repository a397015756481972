#!/usr/bin/env bash
# The setup file as a user meets it, in a fresh Wine prefix of its own: a
# silent install, a second install over it, the installed program dialling
# the demo entry with a stored password on the stand-in, a silent uninstall
# that keeps the entries and one by hand that removes them too. Shortcuts
# are read back with lnkinfo and values with `wine reg`, as other programs
# would read them.
# Usage: setup_test.sh SETUP_FILE BIN_DIR PREFIX_DIR
set -uo pipefail
setup_file=$1 bin_dir=$2
source_dir="$(cd "$(dirname "$0")/../.." && pwd)"

export WINEPREFIX=$3 WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="rasapi32=n,b;mscoree=;mshtml=;winemenubuilder.exe="
if [ -z "${DISPLAY:-}" ]; then
  # A display of our own, on a number the X server finds free.
  display_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 </dev/null &
  xvfb_pid=$!
  for _ in $(seq 50); do [ -s "$display_file" ] && break; sleep 0.1; done
  export DISPLAY=":$(cat "$display_file")"
  rm -f "$display_file"
fi
finish() {
  wineserver -k 2>/dev/null
  if [ -n "${xvfb_pid:-}" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
  return 0
}
trap finish EXIT

failures=0
matches() { [[ "$1" =~ $2 ]]; }          # matches TEXT REGEX
starts_with() { [[ "$1" == "$2"* ]]; }  # starts_with TEXT START
check() {  # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}
wait_until() {  # wait_until SECONDS COMMAND...: true once COMMAND succeeds in time
  local end=$((SECONDS + $1))
  shift
  until "$@"; do
    [ $SECONDS -ge $end ] && return 1
    sleep 0.5
  done
}
value() {  # value KEY NAME: the data of a registry value, empty when missing
  wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v name="$2" '$1 == name { print $3 }'
}
key_missing() { ! wine reg query "$1" >/dev/null 2>&1; }
lnk_field() {  # lnk_field FILE LABEL: one field of lnkinfo's report
  lnkinfo "$1" | sed -n "s/^[[:space:]]*$2[[:space:]]*: \{0,1\}//p" | head -n 1
}

settings='HKCU\Software\Tamberlo\Corvane'
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Corvane'
user_dir="$WINEPREFIX/drive_c/users/$(id -un)"
install_dir="$user_dir/AppData/Local/Programs/Corvane"
install_dir_win='C:\users\'"$(id -un)"'\AppData\Local\Programs\Corvane'
start_link="$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Corvane.lnk"
version=$(basename "$setup_file" .exe)
version=${version#corvane-setup-}

rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
wineboot -i >/dev/null 2>&1
"$source_dir/scripts/wine-desktop.sh"

echo "# A silent install on a fresh prefix"
wine "$setup_file" /S
check "the setup ends successfully" [ $? -eq 0 ]
check "corvane.exe is in the user's program folder" [ -f "$install_dir/corvane.exe" ]
product=$(value "$settings" Product)
check "\"Product\" is 128 random digits" matches "$product" '^[0-9]{128}$'
check "the Start-menu shortcut starts corvane.exe" \
  [ "$(lnk_field "$start_link" 'Local path')" = "$install_dir_win\\corvane.exe" ]
check "the Start-menu shortcut passes no entry name" [ -z "$(lnk_field "$start_link" 'Command line arguments')" ]
check "the Start-menu shortcut works in the program folder" \
  [ "$(lnk_field "$start_link" 'Working directory')" = "$install_dir_win" ]
check "the uninstall entry names the program" [ "$(value "$uninstall_key" DisplayName)" = Corvane ]
check "the uninstall entry has the version" starts_with "$(value "$uninstall_key" DisplayVersion)" "$version"
check "the uninstall entry has the publisher" [ "$(value "$uninstall_key" Publisher)" = Tamberlo ]
check "the uninstall entry has the icon" [ "$(value "$uninstall_key" DisplayIcon)" = "$install_dir_win\\corvane.exe,0" ]
check "the uninstall entry has a size" [ $(($(value "$uninstall_key" EstimatedSize))) -gt 0 ]
uninstaller="$install_dir/uninstall.exe"
check "the uninstall entry runs the uninstaller" [ -f "$uninstaller" ]
check "the uninstall command names the uninstaller" \
  [ "$(wine reg query "$uninstall_key" /v UninstallString | tr -d '\r' | grep -c 'uninstall.exe"$')" -eq 1 ]

echo "# A saved password, then a second install"
wine reg import "$source_dir/scripts/demo-entry.reg"
wine "$bin_dir/save_password.exe" Demo 'P@ssw0rd!~'
check "the demo entry's password is stored" [ $? -eq 0 ]
wine "$setup_file" /S
check "the second install ends successfully" [ $? -eq 0 ]
check "the second install keeps \"Product\"" [ "$(value "$settings" Product)" = "$product" ]
check "the second install keeps the entry" [ "$(value "$settings\\Demo" PhoneNumber)" = 5550100 ]

echo "# The installed program dials the demo entry on the stand-in"
scenario="$WINEPREFIX/drive_c/standin.scenario"
printf '%s\n' 'device modem Standard 56000 bps V90 Modem' 'pace 0.1' 'dial-time 0.3' \
  'login demo P@ssw0rd!~' 'dial connect 49333' >"$scenario"
export CORVANE_RAS_SCENARIO='C:\standin.scenario'
# The stand-in belongs beside the program under Wine, never in the setup.
cp "$bin_dir/rasapi32.dll" "$install_dir/"
wine "$install_dir/corvane.exe" Demo &
program=$!
dial_log() { wine "$bin_dir/rasctl.exe" dials 2>&1 | tr -d '\r'; }
dialled() { [ -n "$(dial_log)" ]; }
wait_until 60 dialled
# Number, user name and error of each dial: the first one connected.
check "the stored password dials and connects" [ "$(dial_log | head -n 1)" = $'5550100\tdemo\t0' ]
wine "$setup_file" /S
check "a setup over the running program stops" [ $? -ne 0 ]
wine "$uninstaller" /S
sleep 3
check "an uninstall while the program runs leaves it in place" [ -f "$install_dir/corvane.exe" ]
wine taskkill /f /im corvane.exe >/dev/null 2>&1
wait "$program"

echo "# A silent uninstall"
rm -f "$install_dir/rasapi32.dll"
wine "$uninstaller" /S
# The uninstaller goes on from a copy of itself and returns at once.
check "the program folder is removed" wait_until 30 test ! -e "$install_dir"
check "the Start-menu shortcut is removed" [ ! -e "$start_link" ]
check "the uninstall entry is removed" [ -z "$(value "$uninstall_key" DisplayName)" ]
check "\"Product\" stays" [ "$(value "$settings" Product)" = "$product" ]
check "the entries stay" [ "$(value "$settings\\Demo" PhoneNumber)" = 5550100 ]

echo "# An uninstall by hand with the box ticked"
wine "$setup_file" /S
wine "$bin_dir/uninstall_by_hand.exe" "$install_dir_win\\uninstall.exe" --remove-data
check "the uninstaller's pages go through" [ $? -eq 0 ]
check "the program folder is removed" wait_until 30 test ! -e "$install_dir"
check "the entries and the installation key are removed" key_missing 'HKCU\Software\Tamberlo'

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
