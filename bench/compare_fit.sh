#!/usr/bin/env bash
# The whole fit with saving, `quonfit FILE -o OUT`, timed for two builds of quonfit on the
# same specification file (by default the default function on 4 x 40 nodes): the best
# wall time of RUNS runs of each, their ratio, and whether both wrote the same files byte
# for byte.
# Usage: bash bench/compare_fit.sh BASELINE_QUONFIT NEW_QUONFIT [FILE] [RUNS]
set -euo pipefail
baseline=$1
candidate=$2
file=${3:-bench/data/default_function_40.qsp}
runs=${4:-5}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# best_ms BINARY NAME: the best of the runs, in milliseconds; the output is OUT/NAME.qsp.
best_ms() {
  local best=
  for ((i = 0; i < runs; i++)); do
    local start end ms
    start=$(date +%s%N)
    "$1" "$file" -o "$out/$2.qsp" > /dev/null
    end=$(date +%s%N)
    ms=$(((end - start) / 1000000))
    if [[ -z $best || $ms -lt $best ]]; then best=$ms; fi
  done
  echo "$best"
}

base_ms=$(best_ms "$baseline" baseline)
new_ms=$(best_ms "$candidate" candidate)
echo "baseline:  ${base_ms} ms"
echo "candidate: ${new_ms} ms"
awk -v b="$base_ms" -v n="$new_ms" 'BEGIN { printf "speed-up:  %.2fx\n", b / n }'
for suffix in .qsp .qsp.str; do
  if cmp -s "$out/baseline$suffix" "$out/candidate$suffix"; then
    echo "same bytes: $suffix"
  else
    echo "DIFFERENT: $suffix"
  fi
done
