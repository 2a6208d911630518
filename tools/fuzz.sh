#!/usr/bin/env bash
# Fuzzes the bitmap reader for SECONDS seconds (default 120) with libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer. Builds in build-fuzz with
# clang, seeds the corpus with the project's own small files and the public
# BMP suite the project carries (tests/data/bmpsuite).
# Exits non-zero when the fuzzer finds a crash, a leak or a timeout; the
# failing input is left in build-fuzz/fuzz-artifacts/.
set -euo pipefail

seconds=${1:-120}
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-fuzz
suite=$root/tests/data/bmpsuite

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja \
  -DMORVEX_FUZZ=ON -DMORVEX_GUI=OFF -DMORVEX_TESTS=OFF -DMORVEX_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target bmp_fuzzer bmp_fuzz_seeds

corpus=$build/fuzz-corpus      # grows from run to run
seeds=$build/fuzz-seeds        # written afresh each run
artifacts=$build/fuzz-artifacts
rm -rf "$seeds"
mkdir -p "$corpus" "$artifacts"
"$build/fuzz/bmp_fuzz_seeds" "$seeds"

inputs=("$corpus" "$seeds")
for dir in g q b x; do
  [ -d "$suite/$dir" ] || { echo "fuzz.sh: BMP suite folder $suite/$dir is missing" >&2; exit 1; }
  inputs+=("$suite/$dir")
done

# Only the first folder is written to; the seed and suite folders are read.
"$build/fuzz/bmp_fuzzer" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
  -print_final_stats=1 -artifact_prefix="$artifacts/" "${inputs[@]}"
