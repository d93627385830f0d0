#!/bin/sh
# Runs every benchmark on a private X server inside its own session bus and prints a summary
# table. Not part of ctest. Build first:
#   cmake --build build-perf --target bench_wheel_frame bare_window zorvik_probe zorvik
# Usage: bench/run_all.sh [build directory, default build-perf] [--quick]
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build-perf}
shift 2>/dev/null
exec dbus-run-session -- /usr/bin/python3 "$here/run_all.py" "$build" "$@"
