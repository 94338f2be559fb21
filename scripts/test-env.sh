# Sourced by the test scripts: a private X server for the end-to-end tests and the web engine settings
# it needs, and a private sound server for the recording tests.

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
    start_test_sound_server
}

# A sound server of our own whose default source is the monitor of a silent sink: what a test plays into
# the sink, a recording captures. Without pulseaudio the recording tests that need it skip.
start_test_sound_server() {
    command -v pulseaudio >/dev/null || { echo "test-env: no pulseaudio, real recording tests will skip"; return 0; }
    QORV_PULSE_DIR=$(mktemp -d "${TMPDIR:-/tmp}/qorv-pulse.XXXXXX") || return 0
    mkdir -p "$QORV_PULSE_DIR/runtime"
    printf '%s\n' \
        "load-module module-native-protocol-unix auth-anonymous=1 socket=$QORV_PULSE_DIR/native" \
        "load-module module-null-sink sink_name=qorv_test_sink" \
        "set-default-sink qorv_test_sink" \
        "set-default-source qorv_test_sink.monitor" >"$QORV_PULSE_DIR/default.pa"
    HOME="$QORV_PULSE_DIR" PULSE_RUNTIME_PATH="$QORV_PULSE_DIR/runtime" \
        pulseaudio --daemonize=no --exit-idle-time=-1 --system=false --use-pid-file=no --disable-shm=yes \
        -n -F "$QORV_PULSE_DIR/default.pa" >"$QORV_PULSE_DIR/log" 2>&1 &
    QORV_PULSE_PID=$!
    for _ in $(seq 100); do [ -S "$QORV_PULSE_DIR/native" ] && break; sleep 0.05; done
    if [ ! -S "$QORV_PULSE_DIR/native" ]; then
        echo "test-env: pulseaudio did not start, real recording tests will skip:"
        cat "$QORV_PULSE_DIR/log"
        stop_test_sound_server
        return 0
    fi
    export PULSE_SERVER="unix:$QORV_PULSE_DIR/native"
    export PULSE_RUNTIME_PATH="$QORV_PULSE_DIR/runtime"
}

stop_test_sound_server() {
    if [ -n "${QORV_PULSE_PID:-}" ]; then
        kill "$QORV_PULSE_PID" 2>/dev/null || true
        wait "$QORV_PULSE_PID" 2>/dev/null || true
    fi
    if [ -n "${QORV_PULSE_DIR:-}" ]; then rm -rf "$QORV_PULSE_DIR"; fi
    unset QORV_PULSE_PID QORV_PULSE_DIR PULSE_SERVER PULSE_RUNTIME_PATH
}

stop_test_env() {
    if [ -n "${QORV_XVFB_PID:-}" ]; then kill "$QORV_XVFB_PID" 2>/dev/null || true; fi
    stop_test_sound_server
}
