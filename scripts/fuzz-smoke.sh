#!/usr/bin/env bash
# Runs the README's fuzzing commands as written, with the fuzzer's time cut to a smoke
# run (FUZZ_SECONDS, 20 by default), so that the commands cannot drift from the build.
# The commands are the indented lines between the README's "fuzz commands" markers.
# Inputs the short run adds to the checked-in corpus are removed again afterwards.
set -euo pipefail
cd "$(dirname "$0")/.."

commands=$(sed -n '/<!-- fuzz commands -->/,/<!-- end of fuzz commands -->/{s/^    //p}' README.md)
if [ -z "$commands" ]; then
  echo "fuzz-smoke: no fuzz commands found in README.md" >&2
  exit 1
fi
commands=$(sed "s/-max_total_time=[0-9]*/-max_total_time=${FUZZ_SECONDS:-20}/" <<<"$commands")

corpus_before=$(find fuzz/corpus -type f | sort)
trap 'comm -13 <(echo "$corpus_before") <(find fuzz/corpus -type f | sort) | xargs -r rm -f' EXIT
echo "$commands"
bash -euo pipefail -c "$commands"
