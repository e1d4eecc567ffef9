#!/usr/bin/env bash
# Checks the Windows installer under Wine, without a display: the silent install into the
# per-user folder, its files (those of the portable zip beside it, byte for byte), the
# Start-menu shortcut, the uninstall key, the start at login on /LOGIN, that a running copy
# stops the install and the uninstall, an install over an installed copy, then the silent
# uninstall: the program's files, shortcut, login start and key gone, the user's data kept. A
# second install with /D= into a folder with a blank in its name must leave nothing behind.
#   check-installer.sh <Amperlog-<version>-setup.exe> [<Wine prefix folder>]
# A prefix folder given is created on first use and reused after (its first boot takes a
# while); it must be this check's own: the check ends every Wine process in it. Without one, a
# temporary prefix is made and removed. One line per check; exit status 1 on any failure.
set -euo pipefail

if [[ $# -lt 1 || $# -gt 2 ]]; then
    echo "usage: $0 <Amperlog-<version>-setup.exe> [<Wine prefix folder>]" >&2
    exit 2
fi
setup=$(realpath "$1")
if [[ ! $(basename "$setup") =~ ^Amperlog-(.+)-setup\.exe$ ]]; then
    echo "$0: $setup is not named Amperlog-<version>-setup.exe" >&2
    exit 2
fi
version=${BASH_REMATCH[1]}
zip=$(dirname "$setup")/Amperlog-$version-windows-x64.zip
if [[ ! -f $setup || ! -f $zip ]]; then
    echo "$0: $setup and $zip are needed (scripts/package-windows.sh makes both)" >&2
    exit 2
fi

work=$(mktemp -d)
if [[ $# -eq 2 ]]; then
    mkdir -p "$2"
    export WINEPREFIX
    WINEPREFIX=$(realpath "$2")
else
    export WINEPREFIX=$work/prefix
fi
export WINEDEBUG=-all
# No Mono or Gecko installers: nothing here needs them, and they would ask.
export WINEDLLOVERRIDES="mscoree,mshtml="
export DISPLAY=
unset WAYLAND_DISPLAY
log=$work/wine.log
running=
cleanup() {
    if [[ -n $running ]]; then
        kill "$running" 2>/dev/null || true
    fi
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT

failures=0
pass() { echo "ok   $*"; }
fail() {
    echo "FAIL $*"
    failures=$((failures + 1))
}
# A failure after which the other checks mean nothing.
stop() {
    echo "FAIL $*"
    echo "Wine's output, last lines:" >&2
    tail -n 20 "$log" >&2
    exit 1
}
# Runs a Windows program; its output without carriage returns, Wine's chatter to the log.
win() {
    wine "$@" </dev/null 2>>"$log" | tr -d '\r'
}
# The data of a registry value, empty when it is missing.
reg_value() {
    win reg query "$1" /v "$2" 2>/dev/null | sed -n "s/^ *$2 \{4\}REG_[A-Z_]* \{4\}//p"
}
reg_has_key() {
    win reg query "$1" >/dev/null 2>&1
}
# Every file under a folder with its checksum, to tell whether anything changed.
# The program's files: not what a running copy writes (its lock, settings, logs and diaries).
fingerprint() {
    (cd "$1" && find . -type f ! -name Amperlog.lock ! -name Amperlog.ini ! -name Sys.log \
        ! -path './Data/*' -print0 | LC_ALL=C sort -z | xargs -0 -r sha256sum)
}

uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Amperlog'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
approved_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\StartupApproved\Run'

mkdir -p "$WINEPREFIX"
wineserver -k >/dev/null 2>&1 || true
if [[ ! -f $WINEPREFIX/system.reg ]]; then
    echo "-- creating the Wine prefix $WINEPREFIX"
    timeout 900 wineboot --init </dev/null >>"$log" 2>&1 || stop "wineboot --init"
    # Nothing may open a window, not even by mistake: the null display driver.
    win reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null
fi

local_app_data=$(win cmd /c echo %LOCALAPPDATA%)
app_data=$(win cmd /c echo %APPDATA%)
[[ $local_app_data == ?:\\* && $app_data == ?:\\* ]] || stop "the user's folders in Wine"
install_win="$local_app_data\\Programs\\Amperlog"
install=$(winepath -u "$install_win" 2>>"$log")
other_win="$local_app_data\\Amperlog elsewhere"
other=$(winepath -u "$other_win" 2>>"$log")
shortcut="$(winepath -u "$app_data" 2>>"$log")/Microsoft/Windows/Start Menu/Programs/Amperlog.lnk"

# What an earlier, failed run left.
rm -rf "$install" "$other" "$shortcut"
win reg delete "$uninstall_key" /f >/dev/null 2>&1 || true
win reg delete "$run_key" /v Amperlog /f >/dev/null 2>&1 || true
win reg delete "$approved_key" /v Amperlog /f >/dev/null 2>&1 || true

# The program's files as the portable zip holds them.
unzip -q "$zip" -d "$work/zip"
expected=$(cd "$work/zip/Amperlog" && find . -type f | LC_ALL=C sort)

# The user's data beside them is not the installer's business.
installed_as_zip() {
    local files
    files=$(cd "$1" && find . -type f ! -name Uninstall.exe ! -name Amperlog.ini ! -name Sys.log \
        ! -name Amperlog.lock ! -path './Data/*' | LC_ALL=C sort)
    [[ $files == "$expected" && -f $1/Uninstall.exe ]] &&
        diff -r -x Uninstall.exe -x Amperlog.ini -x Sys.log -x Amperlog.lock -x Data \
            "$work/zip/Amperlog" "$1" >/dev/null
}
# Whether the silent uninstaller named by the uninstall key, run as Windows runs it, succeeds:
# it copies itself away and returns at once, so all of Wine's processes are waited for.
quiet_uninstall() {
    local command path
    command=$(reg_value "$uninstall_key" QuietUninstallString)
    [[ $command =~ ^\"([^\"]+)\"\ /S$ ]] || return 1
    path=$(winepath -u "${BASH_REMATCH[1]}" 2>>"$log")
    win "$path" /S >/dev/null || return 1
    timeout 300 wineserver -w
}

# The silent install into the default folder.
win "$setup" /S >/dev/null || stop "silent install: exit status $?"
pass "silent install (/S) into $install_win"
if installed_as_zip "$install"; then
    pass "the program's $(wc -l <<<"$expected") files are those of the zip, and Uninstall.exe"
else
    fail "the files in $install are not those of $zip and Uninstall.exe"
fi
[[ -f $shortcut ]] && pass "Start-menu shortcut" || fail "no Start-menu shortcut $shortcut"

declare -A want=(
    [DisplayName]=Amperlog [DisplayVersion]=$version [Publisher]=Amperlog
    [UninstallString]="\"$install_win\\Uninstall.exe\""
    [QuietUninstallString]="\"$install_win\\Uninstall.exe\" /S"
    [InstallLocation]=$install_win [DisplayIcon]="$install_win\\Amperlog.exe"
    [NoModify]=0x1 [NoRepair]=0x1
)
wrong=()
for name in "${!want[@]}"; do
    got=$(reg_value "$uninstall_key" "$name")
    [[ $got == "${want[$name]}" ]] || wrong+=("$name='$got'")
done
[[ $(reg_value "$uninstall_key" EstimatedSize) =~ ^0x[1-9a-f][0-9a-f]*$ ]] ||
    wrong+=("EstimatedSize")
if [[ ${#wrong[@]} -eq 0 ]]; then
    pass "uninstall key with its $((${#want[@]} + 1)) values"
else
    fail "uninstall key: wrong ${wrong[*]}"
fi
if [[ -z $(reg_value "$run_key" Amperlog) ]]; then
    pass "no start at login without /LOGIN"
else
    fail "a Run value without /LOGIN"
fi

# A running copy: both the install and the uninstall refuse and touch nothing.
before=$(fingerprint "$install")
wine "$install/Amperlog.exe" </dev/null >>"$log" 2>&1 &
running=$!
deadline=$((SECONDS + 120))
until [[ -e $install/Amperlog.lock ]]; do
    kill -0 "$running" 2>/dev/null || stop "the installed Amperlog.exe ended at once"
    ((SECONDS < deadline)) || stop "the installed Amperlog.exe took no lock in 120 s"
    sleep 0.2
done
status=0
win "$setup" /S >/dev/null || status=$?
if [[ $status -eq 2 && $(fingerprint "$install") == "$before" ]]; then
    pass "a running copy: the silent install stops with exit status 2, no file changed"
else
    fail "a running copy: the silent install gave exit status $status, or changed files"
fi
status=0
win "$install/Uninstall.exe" /S "_?=$install_win" >/dev/null || status=$?
if [[ $status -eq 2 && $(fingerprint "$install") == "$before" ]] &&
    reg_has_key "$uninstall_key"; then
    pass "a running copy: the silent uninstall stops with exit status 2, nothing removed"
else
    fail "a running copy: the silent uninstall gave exit status $status, or removed something"
fi
kill "$running"
wait "$running" || true
running=
timeout 60 wineserver -w

# The user's data, as the program writes it into its folder.
mkdir -p "$work/data/Data"
printf '[Interface]\r\nLanguage=ja\r\n' >"$work/data/Amperlog.ini"
printf '2026/12/08 10:00:00 AC 80%%\r\n' >"$work/data/Data/20261208.txt"
printf 'date,battery,design_mWh,full_mWh\n2026-12-08,BAT0,50000,45000\n' \
    >"$work/data/Data/health.csv"
printf 'notes of my own\r\n' >"$work/data/Sys.log"
cp -r "$work/data/." "$install/"
data_kept() {
    local file
    for file in Amperlog.ini Data/20261208.txt Data/health.csv Sys.log; do
        cmp -s "$work/data/$file" "$1/$file" || return 1
    done
}

# An install over the installed copy, now with the start at login, which Task Manager had
# switched off.
win reg add "$approved_key" /v Amperlog /t REG_BINARY /d 030000000000000000000000 /f \
    >/dev/null
win "$setup" /S /LOGIN >/dev/null || stop "silent install over an installed copy: exit status $?"
if installed_as_zip "$install" && data_kept "$install"; then
    pass "install over an installed copy: the program's files again, the data kept"
else
    fail "install over an installed copy: files differ from the zip's, or data lost"
fi
run=$(reg_value "$run_key" Amperlog)
if [[ $run == "\"$install_win\\Amperlog.exe\"" && -z $(reg_value "$approved_key" Amperlog) ]]
then
    pass "/LOGIN: Run value $run, Task Manager's switch cleared"
else
    fail "/LOGIN: Run value '$run', or Task Manager's switch still there"
fi

# The silent uninstall as Apps & features would run it.
quiet_uninstall || stop "silent uninstall by QuietUninstallString"
pass "silent uninstall by QuietUninstallString"
[[ -d $install ]] || stop "the uninstall removed $install with the user's data"
left=$(cd "$install" && find . -type f ! -path './Data/*' ! -name Amperlog.ini ! -name Sys.log |
    LC_ALL=C sort)
if [[ -z $left && -z $(cd "$install" && find . -mindepth 1 -type d ! -name Data) ]]; then
    pass "the program's files, Uninstall.exe and their folders are gone"
else
    fail "left in $install: $(echo "$left" | tr '\n' ' ')"
fi
[[ ! -e $shortcut ]] && pass "Start-menu shortcut gone" || fail "the shortcut is still there"
[[ -z $(reg_value "$run_key" Amperlog) ]] && pass "Run value gone" || fail "the Run value stays"
if ! reg_has_key "$uninstall_key"; then
    pass "uninstall key gone"
else
    fail "the uninstall key stays"
fi
if data_kept "$install"; then
    pass "the data kept: Amperlog.ini, Data\\20261208.txt, Data\\health.csv, Sys.log"
else
    fail "the user's data in $install changed or went"
fi

# Another folder, with a blank in its name, and no data: nothing may stay.
# /D= must come last and unquoted, blanks and all, which Wine's own quoting of arguments with
# blanks would spoil: cmd passes the command line as it is.
cp "$setup" "$work/setup.exe"
setup_win=$(winepath -w "$work/setup.exe" 2>>"$log")
win cmd /c "$setup_win /S /LOGIN /D=$other_win" >/dev/null || stop "silent install with /D=: exit $?"
if installed_as_zip "$other" && [[ $(reg_value "$uninstall_key" InstallLocation) == "$other_win" &&
    $(reg_value "$run_key" Amperlog) == "\"$other_win\\Amperlog.exe\"" ]]; then
    pass "/D=$other_win: the files there, the key and the Run value name it"
else
    fail "/D=$other_win: files, InstallLocation or Run value wrong"
fi
quiet_uninstall || stop "silent uninstall from $other_win"
if [[ ! -e $other && -z $(reg_value "$run_key" Amperlog) ]] && ! reg_has_key "$uninstall_key"
then
    pass "uninstall from $other_win: the folder, the Run value and the key gone"
else
    fail "uninstall from $other_win left its folder, the Run value or the key"
fi

if [[ $failures -gt 0 ]]; then
    echo "$failures of the installer's checks failed" >&2
    exit 1
fi
echo "-- the installer passed every check"
