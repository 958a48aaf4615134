#!/usr/bin/env bash
# First run of MeterBench without hardware: installs what is missing, builds
# the window and the virtual meter, starts the virtual meter on a
# pseudo-terminal and opens the window with COM1 mapped to it. The virtual
# meter stops when the window closes.
#
#   bash tools/run-app.sh [virtual meter options]   e.g.  --fault late --delay-ms 800
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target meterbench meterbench-sim

# The build comes first so that a headless machine is left ready for xvfb-run.
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "run-app: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set)," >&2
    echo "run-app: so the window cannot be shown. Run it from a desktop session, or" >&2
    echo "run-app: under a virtual X server:  xvfb-run -a bash tools/run-app.sh" >&2
    exit 1
fi

log=build/meterbench-sim.log
build/bin/meterbench-sim "$@" >"$log" 2>&1 &
sim_pid=$!

app_pid=""
# shellcheck disable=SC2317  # called by the EXIT trap
stop_all() {
    for pid in $app_pid $sim_pid; do
        if kill -0 "$pid" 2>/dev/null; then
            kill -TERM "$pid" 2>/dev/null || true
            wait "$pid" 2>/dev/null || true
        fi
    done
}
trap stop_all EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# The virtual meter prints the path of its line (or its tcp:// address) on its first line of output.
pty=""
for _ in $(seq 1 100); do
    if [[ -s "$log" ]] && pty=$(head -n 1 "$log") && [[ "$pty" == /* || "$pty" == tcp://* ]]; then
        break
    fi
    pty=""
    if ! kill -0 "$sim_pid" 2>/dev/null; then
        break
    fi
    sleep 0.05
done
if [[ -z "$pty" ]]; then
    echo "run-app: the virtual meter did not start:" >&2
    cat "$log" >&2
    exit 1
fi

echo "run-app: virtual meter on $pty (COM1); its log: $log"
echo "run-app: CJ188 page: Connect, then Read Data. EN1434 page: DEVICE ID 1, then Read Data."
# In the background, so that Ctrl-C or a TERM to this script is handled at once.
METERBENCH_PORTS="COM1=$pty" build/bin/meterbench &
app_pid=$!
status=0
wait "$app_pid" || status=$?
app_pid=""
exit "$status"
