# Shared steps of the installer's tests under Wine, sourced after SHOTS (a folder for
# screenshots, or empty) is set: the end-to-end tests' own steps, Wine's prefix, and where each
# scope of the installer puts the program, its Start-menu shortcut and its entry in the
# installed programs.
APP=unused
. "$(dirname "${BASH_SOURCE[0]}")/../e2e/lib.sh"
. "$(dirname "${BASH_SOURCE[0]}")/wine-prefix.sh"
before_cleanup() { wineserver -k 2>/dev/null || true; }

# screenshot NAME [WINDOW]: the window (or the screen), once it has had time to be drawn.
screenshot() {
    [ -n "$SHOTS" ] || return 0
    mkdir -p "$SHOTS"
    sleep 2
    import -window "${2:-root}" "$SHOTS/$1.png"
}

# windows_variable NAME: the value of a Windows environment variable in the prefix.
windows_variable() { wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r'; }

# use_scope user|all: sets WIN_FOLDER (the default folder, as Windows names it), FOLDER (the same
# on Linux), SHORTCUT (on Linux) and KEY (the entry's registry key).
use_scope() {
    local start_menu
    case $1 in
    user)
        WIN_FOLDER="$(windows_variable LOCALAPPDATA)\\Programs\\CV Veyloom"
        start_menu="$(windows_variable APPDATA)\\Microsoft\\Windows\\Start Menu\\Programs"
        KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\CV Veyloom'
        ;;
    all)
        WIN_FOLDER="$(windows_variable ProgramW6432)\\CV Veyloom"
        start_menu="$(windows_variable ProgramData)\\Microsoft\\Windows\\Start Menu\\Programs"
        KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\CV Veyloom'
        ;;
    esac
    FOLDER=$(winepath -u "$WIN_FOLDER" 2>/dev/null)
    SHORTCUT=$(winepath -u "$start_menu\\CV Veyloom.lnk" 2>/dev/null)
}

# reg_value KEY NAME: the value as "wine reg query" lists it, empty when there is none.
reg_value() {
    wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}

# has_key KEY: whether the registry has that key.
has_key() { wine reg query "$1" >/dev/null 2>&1; }
