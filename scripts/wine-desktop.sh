#!/usr/bin/env bash
# Puts every program of a Wine prefix ($WINEPREFIX) on one virtual desktop
# with a task bar and notification area: hiding and destroying windows is then
# immediate (a bare X server makes Wine wait for a window manager that is not
# there), and the tray icon has a place to go. Also stands in for a font
# Windows has and Wine lacks.
set -euo pipefail
: "${WINEPREFIX:?WINEPREFIX must name the prefix}"
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f >/dev/null
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1024x768 /f >/dev/null

# Windows has "Courier New"; Wine ships none. The help window's fixed-pitch
# text gets the nearest fixed-pitch font of the machine instead, so its
# underlined headings line up as they do on Windows.
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Courier New' /t REG_SZ /d 'DejaVu Sans Mono' /f >/dev/null

# Wine draws the title bar's buttons with the Marlett symbol font. Debian
# ships it in Wine's data folder, where this Wine does not look for it, and
# without it the buttons show the letters "0 1 r"; the prefix's own Fonts
# folder is always searched.
fonts_folder="$WINEPREFIX/drive_c/windows/Fonts"
if [ -f /usr/share/wine/fonts/marlett.ttf ] && [ -d "$fonts_folder" ] && ! [ -f "$fonts_folder/marlett.ttf" ]; then
  cp /usr/share/wine/fonts/marlett.ttf "$fonts_folder/"
fi
