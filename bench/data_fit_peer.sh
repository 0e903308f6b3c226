#!/usr/bin/env bash
# quonfit --fit-data beside NumPy's lstsq on the same design, run one after the other on
# the same machine: ROWS scattered observations (default 1 million) of a smooth function
# of 2 variables with TERMS x TERMS power terms centred in their intervals (default 20 x 20). Prints each one's wall
# time and peak memory (/usr/bin/time -v) and the ratios. NumPy's time is also given
# without reading the table (np.loadtxt is slow), the fairer figure for lstsq itself.
# Usage: bash bench/data_fit_peer.sh QUONFIT [ROWS] [TERMS]   (PYTHON: a python3 with NumPy)
set -euo pipefail
quonfit=$1
rows=${2:-1000000}
terms=${3:-20}
here=$(cd "$(dirname "$0")" && pwd)
# NumPy comes from Debian's python3-numpy; a python3 earlier on the PATH may lack it.
python=${PYTHON:-python3}
"$python" -c 'import numpy' 2> /dev/null || python=/usr/bin/python3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$python" - "$work/data.csv" "$rows" <<'PY'
import sys
import numpy as np
rng = np.random.default_rng(1)
n = int(sys.argv[2])
x, y = rng.uniform(-1, 1, n), rng.uniform(0, 2, n)
value = np.exp(x) * np.cos(2 * y) + 0.001 * rng.standard_normal(n)
np.savetxt(sys.argv[1], np.column_stack([x, y, value]), delimiter=",", header="x,y,value",
           comments="", fmt="%.17g")
PY
last=$((terms - 1))
printf ' 1 \r\n"x",-1,1,"*",#TRUE#,"*",%d\r\n"y",0,2,"*",#TRUE#,"*",%d\r\n#FALSE#\r\n' \
  "$last" "$last" > "$work/problem.qsp"
printf '"0"\r\n 0 \r\n' > "$work/problem.qsp.str"

# measure NAME COMMAND...: wall seconds and peak resident kilobytes into NAME_seconds, NAME_kb.
measure() {
  local name=$1
  shift
  /usr/bin/time -v "$@" > "$work/$name.out" 2> "$work/$name.time"
  local wall
  wall=$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$work/$name.time")
  printf -v "${name}_seconds" '%s' "$(awk -F: '{ s = 0; for (i = 1; i <= NF; i++) s = s * 60 + $i; print s }' <<< "$wall")"
  printf -v "${name}_kb" '%s' "$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/$name.time")"
}

measure quon "$quonfit" "$work/problem.qsp" --fit-data "$work/data.csv" --stats
measure numpy "$python" "$here/data_fit_peer.py" "$work/data.csv" "$terms"
numpy_fit=$(sed -n 's/numpy_fit_seconds: //p' "$work/numpy.out")
echo "rows: $rows, terms: $terms x $terms"
echo "quonfit --fit-data: ${quon_seconds} s, ${quon_kb} KiB"
echo "numpy (load + lstsq): ${numpy_seconds} s, ${numpy_kb} KiB; lstsq with its design alone: ${numpy_fit} s"
awk -v q="$quon_seconds" -v n="$numpy_seconds" -v f="$numpy_fit" -v qk="$quon_kb" -v nk="$numpy_kb" 'BEGIN {
  printf "time ratio quonfit / numpy: %.3f (whole runs), %.3f (against lstsq alone)\n", q / n, q / f
  printf "memory ratio quonfit / numpy: %.4f\n", qk / nk
}'
grep -E '^(residual_sd|condition):' "$work/quon.out"
grep -E '^numpy_(rank|first)' "$work/numpy.out"
sed -n 's/^coefficient: 1 /quonfit_first_coefficient: /p' "$work/quon.out" | cut -d' ' -f1-2
