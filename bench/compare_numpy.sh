#!/usr/bin/env bash
# The whole fit with saving, `quonfit FILE -o OUT`, against NumPy's fit alone (numpy_fit.py,
# timed inside the script, without starting Python or importing NumPy), run alternately
# in one run, RUNS times each: the best time of each and their ratio (ours / NumPy).
# Usage: bash bench/compare_numpy.sh QUONFIT [FILE] [RUNS]
set -euo pipefail
quonfit=$1
file=${2:-bench/data/default_function_40.qsp}
runs=${3:-7}
here=$(dirname "$0")
python=${PYTHON:-python3}
"$python" -c "import numpy" 2> /dev/null || { echo "$python has no NumPy: set PYTHON" >&2; exit 1; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

best_ours=
best_numpy=
for ((i = 0; i < runs; i++)); do
  start=$(date +%s%N)
  "$quonfit" "$file" -o "$out/fit.qsp" > /dev/null
  end=$(date +%s%N)
  ms=$(awk -v ns=$((end - start)) 'BEGIN { printf "%.1f", ns / 1e6 }')
  numpy_ms=$(awk -v s="$("$python" "$here/numpy_fit.py" "$file")" 'BEGIN { printf "%.1f", s * 1000 }')
  echo "run $((i + 1)): quonfit ${ms} ms, NumPy ${numpy_ms} ms"
  best_ours=$(awk -v a="$ms" -v b="$best_ours" 'BEGIN { print (b == "" || a < b) ? a : b }')
  best_numpy=$(awk -v a="$numpy_ms" -v b="$best_numpy" 'BEGIN { print (b == "" || a < b) ? a : b }')
done
echo "best quonfit FILE -o OUT: ${best_ours} ms"
echo "best NumPy fit alone:     ${best_numpy} ms"
awk -v o="$best_ours" -v n="$best_numpy" 'BEGIN { printf "ours / NumPy: %.3f\n", o / n }'
