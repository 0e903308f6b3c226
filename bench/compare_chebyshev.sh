#!/usr/bin/env bash
# Chebyshev fits beside NumPy's numpy.polynomial.chebyshev, run one after the other on this
# machine: chebyshev_bench's whole fits (sampling through our script engine included) and
# chebyshev_peer.py's (sampling vectorised in NumPy), as nanoseconds per node and as the
# ratio NumPy / ours (above 1: ours is faster), plus our Chebyshev fit per node against
# our power fit of the same grid and of 4 x 40 nodes.
# Usage: bash bench/compare_chebyshev.sh BUILD_DIR
set -euo pipefail
build=${1:-build}
here=$(dirname "$0")
ours=$(mktemp)
turns=$(mktemp)
trap 'rm -f "$ours" "$turns"' EXIT
# Two runs: the CSV format wants the same counters in every row.
"$build/bench/chebyshev_bench" --benchmark_filter='WholeFit|OneVariableFit|SolveOnly' \
  --benchmark_format=csv 2> /dev/null > "$ours"
"$build/bench/chebyshev_bench" --benchmark_filter='AgainstPower' --benchmark_format=csv \
  2> /dev/null > "$turns"
# OPENBLAS_CORETYPE and OPENBLAS_L2_SIZE, where set for old OpenBLAS builds, slow NumPy.
peer=$(env -u OPENBLAS_CORETYPE -u OPENBLAS_L2_SIZE "${PYTHON:-python3}" "$here/chebyshev_peer.py")
# ns_per_node of a benchmark: the column headed "ns_per_node", the best of its repetitions.
ns() {
  awk -F, -v name="$1" '
    NR == 1 { for (i = 1; i <= NF; i++) if ($i == "\"ns_per_node\"") c = i }
    $1 == "\"" name "\"" && (best == "" || $c + 0 < best + 0) { best = $c }
    END { print best }' "$ours"
}
echo "size            ours ns/node   numpy ns/node   numpy/ours"
for n in 17 65 257 1025; do
  o=$(ns "BM_OneVariableFit/$n/real_time")
  p=$(awk -v n="$n" '$1 == "one_variable" && $2 == n { print $4 }' <<< "$peer")
  awk -v n="$n" -v o="$o" -v p="$p" 'BEGIN { printf "1 x %-10s %12.1f %15.1f %12.2f\n", n, o, p, p / o }'
done
for n in 17 33 65; do
  o=$(ns "BM_WholeFit/$n/1/iterations:1/repeats:3/real_time")
  p=$(awk -v n="$n" '$1 == "four_variables" && $2 == n { print $4 }' <<< "$peer")
  awk -v n="$n" -v o="$o" -v p="$p" 'BEGIN { printf "4 x %-10s %12.1f %15.1f %12.2f\n", n, o, p, p / o }'
done
echo "size            Chebyshev ns/node   power ns/node   power/Chebyshev (whole fit; solve alone)"
for n in 17 33 65; do
  c=$(ns "BM_WholeFit/$n/1/iterations:1/repeats:3/real_time")
  w=$(ns "BM_WholeFit/$n/0/iterations:1/repeats:3/real_time")
  cs=$(ns "BM_SolveOnly/$n/1/real_time")
  ws=$(ns "BM_SolveOnly/$n/0/real_time")
  awk -v n="$n" -v c="$c" -v w="$w" -v cs="$cs" -v ws="$ws" \
    'BEGIN { printf "4 x %-10s %17.1f %15.1f %10.2f; %.2f\n", n, c, w, w / c, ws / cs }'
done
# Fitted by turns, the best of three rounds each (BM_Chebyshev65AgainstPower40).
awk -F, 'NR == 1 { for (i = 1; i <= NF; i++) { if ($i == "\"power40_ns_per_node\"") p = i
                                              if ($i == "\"chebyshev65_ns_per_node\"") c = i } }
  $1 ~ /AgainstPower40/ { printf "Chebyshev 4 x 65 against power 4 x 40, by turns, per node: %.1f / %.1f ns = %.2f\n", $c, $p, $c / $p }' "$turns"
