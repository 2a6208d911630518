#!/usr/bin/env bash
# The demo behind `make demo`: renders a fixed set of sample note scans into
# BUILD_DIR/demo-notes, reads them all with `morvex batch` and prints the
# summary and where the report is.
#
#   tools/demo.sh BUILD_DIR
set -euo pipefail

build=${1:?usage: tools/demo.sh BUILD_DIR}
build=$(cd "$build" && pwd)
morvex=$build/app/cli/morvex
notegen=$build/tools/notegen/morvex-notegen
for tool in "$morvex" "$notegen"; do
  [ -x "$tool" ] || { echo "demo: $tool is missing; build first (make build)" >&2; exit 1; }
done

notes=$build/demo-notes
report=$build/demo-report.html
results=$build/demo-results.csv
jobs=$(nproc)

# 40 notes of every face value, both orientations, 150 to 300 dpi, some
# showing the side without a number, with the tilt, blur and noise of an
# everyday scan; the last 8 are 8-bit grey files. Same seed, same files.
rm -rf "$notes"
"$notegen" --out "$notes" --set typical --seed 20240601 --count 32 --back-side-share 0.15 --jobs "$jobs" >/dev/null
"$notegen" --out "$notes" --set typical --seed 20240601 --first 32 --count 8 --back-side-share 0.15 --grey8 \
  --jobs "$jobs" >/dev/null

count=$(find "$notes" -maxdepth 1 -name '*.bmp' | wc -l)
echo "Sample notes: $count files in $notes"
echo
"$morvex" batch "$notes" --report "$report" --results "$results"
echo
echo "Report (HTML, Windows-1251): $report"
echo "One row per note (CSV):      $results"
