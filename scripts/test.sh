#!/usr/bin/env bash
# Builds everything and runs the whole test suite: unit and end-to-end tests (under a private Xvfb and
# PulseAudio), then the unit tests again under the address and undefined-behaviour sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh

jobs=$(nproc)
cmake --preset default >/dev/null
cmake --build --preset default -j "$jobs"

source scripts/test-env.sh
start_test_env
trap stop_test_env EXIT

ctest --preset default -j "$jobs"

cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs" --target qorv_unit_tests
ASAN_OPTIONS=detect_leaks=1 ctest --preset asan -j "$jobs"
