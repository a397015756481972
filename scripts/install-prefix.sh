#!/usr/bin/env bash
# Does in a Wine prefix ($WINEPREFIX) what an installation of Corvane does to
# a Windows user: writes the installation key "Product" that scrambles stored
# passwords. The key is random per installation and never rewritten, so
# passwords saved earlier stay readable.
set -euo pipefail
: "${WINEPREFIX:?WINEPREFIX must name the prefix}"
key='HKCU\Software\Tamberlo\Corvane'
if ! wine reg query "$key" /v Product >/dev/null 2>&1; then
  # Digits only: a digit plus any printable ASCII character plus 66 still
  # fits a byte, so every typed password up to 32 characters can be stored.
  digits=""
  while [ ${#digits} -lt 16 ]; do
    digits+=$(od -An -N8 -tu8 /dev/urandom | tr -cd '0-9')
  done
  product=${digits:0:16}
  wine reg add "$key" /v Product /t REG_SZ /d "$product" /f >/dev/null
fi

# Every program of this prefix runs on one virtual desktop with a task bar
# and notification area: hiding and destroying windows is then immediate (a
# bare X server makes Wine wait for a window manager that is not there).
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f >/dev/null
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1024x768 /f >/dev/null

# Windows has "Courier New"; Wine ships none. The help window's fixed-pitch
# text gets the nearest fixed-pitch font of the machine instead, so its
# underlined headings line up as they do on Windows.
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Courier New' /t REG_SZ /d 'DejaVu Sans Mono' /f >/dev/null
