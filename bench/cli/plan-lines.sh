#!/usr/bin/env bash
# Times `meterbench-cli test` on a plan of 8 lines x 5 M-Bus meters, each line a
# virtual meter paced as a real 2400-baud line, against each line alone; and
# the CPU time and peak memory of the 8-line run (it should idle while the
# lines are busy). With --tcp, every other line is served over TCP
# (meterbench-sim --tcp) and the plan names it tcp://127.0.0.1:PORT.
# Usage: [LINES=8] [ALONE=8] [REPEAT=3] bash bench/cli/plan-lines.sh [build/bin] [--tcp]
set -euo pipefail
bin=${1:-build/bin}
tcp=${2:-}
lines=${LINES:-8}
alone=${ALONE:-$lines}  # how many of the lines are also timed alone
meters=5
repeat=${REPEAT:-3}
dir=$(mktemp -d)
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$dir"; }
trap cleanup EXIT

ports=()
for ((i = 1; i <= lines; i++)); do
  opts=(--line-rate 2400 --mbus-meters "$meters" --mbus-id $((12345678 + 100 * i)))
  if [[ $tcp == --tcp && $((i % 2)) == 0 ]]; then opts+=(--tcp 0); fi
  "$bin/meterbench-sim" "${opts[@]}" >"$dir/sim$i.log" 2>&1 &
  pids+=($!)
done
sleep 0.7
for ((i = 1; i <= lines; i++)); do ports+=("$(head -1 "$dir/sim$i.log")"); done

plan() {  # plan FILE LINE... : a plan with the given lines
  local file=$1; shift
  printf 'name = "bench"\nrepeat = %d\nretries = 0\n' "$repeat" >"$file"
  for i in "$@"; do printf '[[line]]\nname = "line-%d"\nport = "%s"\n' "$i" "${ports[$((i - 1))]}" >>"$file"; done
  for i in "$@"; do
    for ((a = 1; a <= meters; a++)); do
      printf '[[meter]]\nline = "line-%d"\nprotocol = "mbus"\naddress = %d\nexpect = { id = "%08d" }\n' \
        "$i" "$a" $((12345678 + 100 * i + a - 1)) >>"$file"
    done
  done
}

run() {  # run PLAN: wall seconds (exit status must be 0)
  local start end
  start=$(date +%s.%N)
  "$bin/meterbench-cli" test "$1" >"$dir/out.txt" 2>&1 || { cat "$dir/out.txt" >&2; exit 1; }
  end=$(date +%s.%N)
  echo "$end - $start" | bc
}

slowest=0
for ((i = 1; i <= alone; i++)); do
  plan "$dir/one.toml" "$i"
  t=$(run "$dir/one.toml")
  printf 'line %d alone (%s): %.2f s\n' "$i" "${ports[$((i - 1))]}" "$t"
  slowest=$(echo "if ($t > $slowest) $t else $slowest" | bc)
done
plan "$dir/all.toml" $(seq 1 $lines)
all=$(run "$dir/all.toml")
printf '%d lines x %d meters x %d reads at once: %.2f s, slowest line alone %.2f s: %.2fx\n' \
  "$lines" "$meters" "$repeat" "$all" "$slowest" "$(echo "$all / $slowest" | bc -l)"
/usr/bin/time -f '%e s wall, %U s user, %S s system, %M kB peak resident' \
  "$bin/meterbench-cli" test "$dir/all.toml" 2>&1 >/dev/null | tail -1
