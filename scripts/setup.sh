#!/usr/bin/env bash
# Installs what building, running and testing the viewer need on Debian 12. Safe to run again: it installs
# only what is missing and says nothing when everything is there.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    build-essential cmake pkg-config git
    qt6-base-dev qt6-webengine-dev qt6-webengine-dev-tools libqt6webenginecore6-bin qt6-webchannel-dev
    qt6-multimedia-dev libqt6opengl6-dev
    libjpeg62-turbo-dev libjpeg-turbo-progs libmp3lame-dev libpulse-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth x11-utils imagemagick fonts-nanum
    xdg-utils shared-mime-info
    pulseaudio pulseaudio-utils sox ffmpeg
    nodejs npm
    clang clang-format libclang-rt-14-dev
)

sudo_if_needed() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        # npm may come with a nodejs that was not installed from Debian's package.
        if [ "$p" = npm ] && command -v npm >/dev/null; then continue; fi
        if [ "$p" = nodejs ] && command -v node >/dev/null; then continue; fi
        missing+=("$p")
    fi
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    sudo_if_needed apt-get update -qq
    sudo_if_needed env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The pinned Ruffle package, from the committed lock file.
if [ -f player/package-lock.json ]; then
    stamp=player/node_modules/.qorv-lock
    if [ ! -f "$stamp" ] || ! cmp -s player/package-lock.json "$stamp"; then
        echo "setup: npm ci in player/"
        (cd player && npm ci --no-audit --no-fund --loglevel=error >/dev/null)
        cp player/package-lock.json "$stamp"
    fi
fi
