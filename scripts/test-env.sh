# Sourced by the test scripts: a private X server for the end-to-end tests and the web engine settings
# it needs. Later the audio server for the recording tests starts here too.

start_test_env() {
    export QTWEBENGINE_DISABLE_SANDBOX=1
    export QT_QPA_PLATFORM=xcb
    if [ -z "${QORV_KEEP_DISPLAY:-}" ]; then
        local n=90
        while [ -e "/tmp/.X${n}-lock" ] || [ -e "/tmp/.X11-unix/X${n}" ]; do n=$((n + 1)); done
        Xvfb ":${n}" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        QORV_XVFB_PID=$!
        export DISPLAY=":${n}"
        for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${n}" ] && break; sleep 0.1; done
    fi
}

stop_test_env() {
    if [ -n "${QORV_XVFB_PID:-}" ]; then kill "$QORV_XVFB_PID" 2>/dev/null || true; fi
}
