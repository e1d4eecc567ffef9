#!/usr/bin/env bash
# Packages the Windows program from the folder the mingw-qt build puts Amperlog.exe in (with
# what cmake/WindowsDeploy.cmake copies beside it): the per-user installer
# Amperlog-<version>-setup.exe (packaging/windows/amperlog.nsi) and the portable
# Amperlog-<version>-windows-x64.zip, whose folder Amperlog\ holds the program.
#   package-windows.sh <folder of Amperlog.exe> <output folder>
# Environment: AMPERLOG_VERSION (default: the project's version in CMakeLists.txt),
# SOURCE_DATE_EPOCH (the files' times; default: the last commit's).
# Every program file of the folder is packaged, and the uninstaller removes each; build
# leftovers and a copy's own data are left out, and an unknown kind of file stops the packaging.
set -euo pipefail

if [[ $# -ne 2 ]]; then
    echo "usage: $0 <folder of Amperlog.exe> <output folder>" >&2
    exit 2
fi
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
program=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)

if [[ ! -f $program/Amperlog.exe ]]; then
    echo "$0: no Amperlog.exe in $program" >&2
    exit 1
fi
for tool in makensis zip; do
    if ! command -v "$tool" >/dev/null; then
        echo "$0: $tool is missing (scripts/install-deps.sh --test installs it)" >&2
        exit 1
    fi
done

version=${AMPERLOG_VERSION:-$(sed -n 's/^project(Amperlog VERSION \([0-9.]*\).*/\1/p' \
    "$root/CMakeLists.txt")}
if [[ ! $version =~ ^[0-9]+(\.[0-9]+){0,3}$ ]]; then
    echo "$0: the version '$version' is not up to four numbers" >&2
    exit 1
fi
# Windows' version resource wants four numbers.
version4=$version
while [[ $version4 =~ ^[0-9]+(\.[0-9]+){0,2}$ ]]; do
    version4+=.0
done
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || date +%s)}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
stage=$work/Amperlog

# Which files of the folder are the program's. Build leftovers, a Wine prefix and logs of runs
# under Wine, and what a copy run in place writes (its settings, logs, lock) are not; anything
# else is a question to answer here.
skipped_folders=(CMakeFiles '*_autogen' .qt Testing wineprefix Data)
kind_of() {
    case $1 in
        *.cmake | *.ninja | .ninja_* | *.a | *.obj | *.o | *.d | *.rsp | *.manifest)
            echo build ;;
        Amperlog.ini | Amperlog.lock | *.log)
            echo data ;;
        *.exe | *.dll | *.qm | *.ico | qt.conf)
            echo program ;;
        *)
            echo unknown ;;
    esac
}

prune=()
for folder in "${skipped_folders[@]}"; do
    prune+=(-name "$folder" -o)
done
files=()
while IFS= read -r -d '' rel; do
    case $(kind_of "$rel") in
        program)
            if [[ $rel =~ [\"\$\`\'\\] ]]; then
                echo "$0: the name $rel cannot be written into the installer" >&2
                exit 1
            fi
            files+=("$rel") ;;
        unknown)
            echo "$0: is $program/$rel part of the program? Say so in kind_of of $0" >&2
            exit 1 ;;
    esac
done < <(find "$program" -mindepth 1 -type d \( "${prune[@]}" -false \) -prune -o -type f \
    -printf '%P\0' | LC_ALL=C sort -z)

# The staged copy: the same times and modes on every run, so the packages depend only on the
# files' contents.
bytes=0
for rel in "${files[@]}"; do
    install -D -m 0644 "$program/$rel" "$stage/$rel"
    bytes=$((bytes + $(stat -c %s "$program/$rel")))
done
find "$stage" -type d -exec chmod 0755 {} +
find "$stage" -exec touch -h -d "@$epoch" {} +

# The installer's file lists: each file into its folder, and out again, the folders after
# their files, deepest first; never a folder with what the user put in it (RMDir without /r).
include=$work/files.nsh
{
    echo "; Made by scripts/package-windows.sh from $program."
    echo "!define AMPERLOG_SIZE_KB $(((bytes + 1023) / 1024))"
    echo "!macro AmperlogInstallFiles"
    folder=
    for rel in "${files[@]}"; do
        if [[ $(dirname "$rel") != "$folder" ]]; then
            folder=$(dirname "$rel")
            target='$INSTDIR'
            [[ $folder != . ]] && target+="\\${folder//\//\\}"
            echo "  SetOutPath \"$target\""
        fi
        echo "  File \"$stage/$rel\""
    done
    echo "!macroend"
    echo "!macro AmperlogRemoveFiles"
    for rel in "${files[@]}"; do
        echo "  Delete \"\$INSTDIR\\${rel//\//\\}\""
    done
    find "$stage" -mindepth 1 -type d -printf '%P\n' | awk -F/ '{ print NF "\t" $0 }' |
        LC_ALL=C sort -k1,1nr -k2 | cut -f2- | while IFS= read -r folder; do
        echo "  RMDir \"\$INSTDIR\\${folder//\//\\}\""
    done
    echo "!macroend"
} >"$include"

setup=$out/Amperlog-$version-setup.exe
zip=$out/Amperlog-$version-windows-x64.zip
rm -f "$setup" "$zip"
# The program's icon (cmake/WindowsIcon.cmake) is the installer's too.
icon=()
if [[ -f $stage/Amperlog.ico ]]; then
    icon=("-DICON=$stage/Amperlog.ico")
fi
SOURCE_DATE_EPOCH=$epoch makensis -V2 -WX -INPUTCHARSET UTF8 \
    "-DVERSION=$version" "-DVERSION4=$version4" "-DOUTFILE=$setup" "-DFILES=$include" \
    "${icon[@]}" "$root/packaging/windows/amperlog.nsi"
(cd "$work" && find Amperlog -print | LC_ALL=C sort | TZ=UTC zip -q -X -9 -@ "$zip")

for package in "$setup" "$zip"; do
    size=$(stat -c %s "$package")
    printf '%s\t%s bytes (%s)\n' "$package" "$size" "$(numfmt --to=iec-i --suffix=B "$size")"
done
