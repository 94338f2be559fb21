#!/usr/bin/env bash
# Plays movies made with the SWF writer in the pinned Ruffle inside headless Chromium and checks what
# they report: fscommands with constant and computed arguments, jumps, functions, a button click, and
# the bootstrap's variable callbacks after it has loaded a second movie into _level0. Leaves a
# screenshot of the display movie (shapes, button, device-font text) in the output folder to look at.
#
# Usage: tools/swf/check-in-ruffle.sh [BUILD_DIR] [OUTPUT_DIR]
# Needs Debian's chromium, node (drives the browser) and python3 (a web server on the loopback: Ruffle
# fetches its files, which file URLs do not allow).
set -euo pipefail
cd "$(dirname "$0")/../.."

build_dir=${1:-build}
out_dir=${2:-$(mktemp -d /tmp/swf-check.XXXXXX)}
ruffle_dir=player/node_modules/@ruffle-rs/ruffle
chromium=$(command -v chromium || command -v chromium-browser || true)
if [ -z "$chromium" ]; then
    echo "chromium is not installed (apt-get install -y chromium)" >&2
    exit 2
fi
if [ ! -f "$ruffle_dir/ruffle.js" ]; then
    echo "Ruffle is not installed in player/ (run scripts/setup.sh)" >&2
    exit 2
fi

[ -f "$build_dir/CMakeCache.txt" ] || cmake -S . -B "$build_dir" -DQORV_BUILD_GUI=OFF -DQORV_BUILD_BENCH=OFF >/dev/null
cmake --build "$build_dir" -j2 --target qorv_swf_check_movies >/dev/null

site=$(mktemp -d /tmp/swf-site.XXXXXX)
server_pid=
cleanup() {
    if [ -n "$server_pid" ]; then kill "$server_pid" 2>/dev/null || true; fi
    rm -rf "$site" 2>/dev/null || true
}
trap cleanup EXIT

"$build_dir/tools/swf/qorv_swf_check_movies" "$site"
mkdir -p "$site/ruffle" "$out_dir"
cp "$ruffle_dir"/*.js "$ruffle_dir"/*.wasm "$site/ruffle/"
cp tools/swf/check/check.html tools/swf/check/check.js "$site/"

python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$site" >"$out_dir/server.log" 2>&1 &
server_pid=$!
port=
for _ in $(seq 50); do
    port=$(sed -n 's/.*port \([0-9]*\).*/\1/p' "$out_dir/server.log" | head -1)
    [ -n "$port" ] && break
    sleep 0.1
done
[ -n "$port" ] || { echo "the local web server did not start" >&2; exit 1; }

browse() { # scenario, output file, screenshot (optional)
    local profile
    profile=$(mktemp -d "$site/profile.XXXXXX")
    node --experimental-websocket --no-warnings tools/swf/check/run-page.mjs "$chromium" "$profile" \
        "http://127.0.0.1:$port/check.html?scenario=$1" end 60000 ${3:+"$3"} >"$out_dir/$2"
}

browse display display.log "$out_dir/display.png"
browse bootstrap bootstrap.log

failed=0
checks=0
expect() { # file, line
    checks=$((checks + 1))
    if grep -qxF -- "$2" "$out_dir/$1"; then
        echo "ok      $1: $2"
    else
        echo "FAILED  $1: $2"
        failed=$((failed + 1))
    fi
}
expect display.log "fscommand hello=world"
expect display.log "fscommand loop=5"
expect display.log "fscommand twice=42"
expect display.log "fscommand method=Hello, you"
expect display.log "fscommand utf8=한글 ✓"
expect display.log "fscommand double=2.75"
expect display.log "fscommand typeof=object"
expect display.log "fscommand pool=pool-b"
expect display.log "fscommand compare=true,false,true"
expect display.log "fscommand values=nullundefined42true"
expect display.log "fscommand new=3"
expect display.log "fscommand time=number"
expect display.log "fscommand label=later"
expect display.log "fscommand frame=3"
expect display.log "pixel rectangle=#ff0000"
expect display.log "pixel second rectangle=#00aa00"
expect display.log "pixel button up=#0000ff"
expect display.log "ink device text=yes"
expect display.log "ink hangul text=yes"
expect display.log "fscommand clicked=button"
expect display.log "pixel button over=#000088"
expect display.log "pixel removed=#dddddd"
expect display.log "pixel moved away=#dddddd"
expect display.log "pixel moved to=#ff00ff"
expect bootstrap.log "fscommand book_loaded=http://127.0.0.1:$port/book.swf"
expect bootstrap.log "set true"
expect bootstrap.log "get from book 한"
expect bootstrap.log "get missing undefined"
expect bootstrap.log "fscommand seen=hi 한글"
echo "screenshot: $out_dir/display.png"
echo "$((checks - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
