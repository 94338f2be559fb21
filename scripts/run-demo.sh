#!/usr/bin/env bash
# Builds the viewer and opens the demo book. Without a display it starts a private Xvfb, so that the
# command also works on a machine without a desktop (look at it with a screenshot).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)" --target QORVViewer
if [ "$(id -u)" -eq 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" ./build/QORVViewer "$@"
fi
exec ./build/QORVViewer "$@"
