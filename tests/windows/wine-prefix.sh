# Sourced: use_wine_prefix DIR makes DIR a Wine prefix once, and points Wine at it. Mono and
# Gecko, which a new prefix offers to download, are left out. Verdana, which Wine lacks, is
# shown in DejaVu Sans, the face Linux gives for it, on Windows' own platform (a font that
# Wine offers under that name, as it does for Tahoma, the system's font for message boxes) and
# on the offscreen one (whose only font folder holds it).
use_wine_prefix() {
  export WINEPREFIX="$1" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  export QT_QPA_FONTDIR="$1/fonts"
  [ -f "$1/.ready" ] && return 0
  mkdir -p "$1"
  (
    flock 9
    if [ ! -f "$1/.ready" ]; then
      wineboot -i >/dev/null 2>&1
      for face in Verdana Tahoma; do
        wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d 'DejaVu Sans' /f \
          >/dev/null 2>&1
      done
      mkdir -p "$QT_QPA_FONTDIR"
      for face in DejaVuSans DejaVuSans-Bold DejaVuSans-Oblique DejaVuSans-BoldOblique; do
        ln -sf "/usr/share/fonts/truetype/dejavu/$face.ttf" "$QT_QPA_FONTDIR/"
      done
      wineserver -w
      touch "$1/.ready"
    fi
  ) 9>"$1.lock"
}
