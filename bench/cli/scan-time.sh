#!/usr/bin/env bash
# Times meterbench-cli's M-Bus scans against the virtual meter paced as a real
# 2400-baud line: primary 0-250 with one and five meters, secondary with five.
# Usage: bash bench/cli/scan-time.sh [build/bin]
set -euo pipefail
bin=${1:-build/bin}
log=$(mktemp)
trap 'rm -f "$log"' EXIT

scan() {  # scan SIM-OPTIONS -- SCAN-OPTIONS
  local sim_opts=() scan_opts=()
  while [[ $1 != -- ]]; do sim_opts+=("$1"); shift; done
  shift
  scan_opts=("$@")
  "$bin/meterbench-sim" --line-rate 2400 "${sim_opts[@]}" >"$log" 2>&1 &
  local sim=$!
  sleep 0.5
  local port
  port=$(head -1 "$log")
  local took
  took=$("$bin/meterbench-cli" scan --port "$port" "${scan_opts[@]}" 2>&1 >/dev/null | sed -n 's/^scan took //p')
  kill "$sim"
  wait "$sim" 2>/dev/null || true
  printf '%-40s %s\n' "sim ${sim_opts[*]:-(one meter)} / scan ${scan_opts[*]:-primary}" "$took"
}

scan -- 
scan --mbus-meters 5 --
scan --fault echo --
scan --mbus-meters 5 -- --secondary
