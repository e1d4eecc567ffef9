#!/usr/bin/env bash
# Installs the Debian 12 packages Amperlog needs that are missing.
#   install-deps.sh          what building and running needs
#   install-deps.sh --test   and what the tests need (X server, cross compiler, Wine, ...)
set -euo pipefail

packages=(
    build-essential cmake ninja-build ccache pkg-config help2man
    qt6-base-dev qt6-svg-dev libgl1-mesa-dev qt6-qpa-plugins
    libespeak-ng-dev espeak-ng-data fonts-ipafont-gothic qt6-translations-l10n
)
if [[ "${1:-}" == "--test" ]]; then
    packages+=(
        googletest libgtest-dev libgmock-dev libbenchmark-dev
        xvfb xauth openbox trayer xdotool x11-utils imagemagick
        dbus-daemon python3-dbus python3-gi
        g++-mingw-w64-x86-64 wine64 wine nsis zip unzip
        clang-14 libclang-rt-14-dev llvm-14 strace e2fsprogs mount
        appstream desktop-file-utils dpkg-dev file python3 man-db
        clang-tidy shellcheck flake8 locales
        # The report's tests: its days in a zone with summer time; its page in a browser.
        tzdata chromium
    )
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

sudo=()
if [[ $(id -u) -ne 0 ]]; then
    sudo=(sudo)
fi
if [[ ${#missing[@]} -gt 0 ]]; then
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
fi

# The tests write the health diary on a desktop with a decimal comma.
if [[ "${1:-}" == "--test" ]] && ! locale -a | grep -qix 'de_DE.utf-\?8'; then
    echo "Generating the locale de_DE.UTF-8"
    "${sudo[@]}" localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
