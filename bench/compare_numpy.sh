#!/usr/bin/env bash
# The whole fit with saving, `quonfit FILE -o OUT`, against NumPy's fit alone (numpy_fit.py,
# timed inside the script, without starting Python or importing NumPy), run alternately
# in one run, RUNS times each: the best wall time of each and their ratio (ours / NumPy),
# and the same for processor time (all threads), which other work on a shared machine
# disturbs less.
# Usage: bash bench/compare_numpy.sh QUONFIT [FILE] [RUNS]   (PYTHON: a python3 with NumPy)
set -euo pipefail
quonfit=$1
file=${2:-bench/data/default_function_40.qsp}
runs=${3:-7}
here=$(dirname "$0")
python=${PYTHON:-python3}
"$python" -c "import numpy" 2> /dev/null || { echo "$python has no NumPy: set PYTHON" >&2; exit 1; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# min A B: the smaller of two numbers, B empty meaning none yet.
min() { awk -v a="$1" -v b="$2" 'BEGIN { print (b == "" || a + 0 < b + 0) ? a : b }'; }

TIMEFORMAT='%R %U %S'
ours_wall= ours_cpu= numpy_wall= numpy_cpu=
for ((i = 0; i < runs; i++)); do
  read -r real user sys < <({ time "$quonfit" "$file" -o "$out/fit.qsp" > /dev/null; } 2>&1)
  read -r nwall ncpu < <("$python" "$here/numpy_fit.py" "$file")
  cpu=$(awk -v u="$user" -v s="$sys" 'BEGIN { print u + s }')
  echo "run $((i + 1)): quonfit ${real} s (cpu ${cpu} s), NumPy ${nwall} s (cpu ${ncpu} s)"
  ours_wall=$(min "$real" "$ours_wall")
  ours_cpu=$(min "$cpu" "$ours_cpu")
  numpy_wall=$(min "$nwall" "$numpy_wall")
  numpy_cpu=$(min "$ncpu" "$numpy_cpu")
done
echo "best quonfit FILE -o OUT: ${ours_wall} s wall, ${ours_cpu} s processor"
echo "best NumPy fit alone:     ${numpy_wall} s wall, ${numpy_cpu} s processor"
awk -v o="$ours_wall" -v n="$numpy_wall" -v oc="$ours_cpu" -v nc="$numpy_cpu" \
  'BEGIN { printf "ours / NumPy: %.3f wall, %.3f processor\n", o / n, oc / nc }'
