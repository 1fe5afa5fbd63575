#!/usr/bin/env bash
# Fuzzes one reader for SECONDS seconds (default 60) under the address and
# undefined-behaviour sanitizers. Usage: scripts/fuzz.sh [TARGET] [SECONDS]
#   package  the package reader and the layout of what it reads (the default)
#   store    the settings store's reader: a value written into any file reads
#            back, and nothing else it held reads otherwise
# Builds in build-fuzz/ with clang, runs on a copy of the target's seeds in
# tests/fuzz/ and exits non-zero on any crash, failed check, leak, timeout,
# memory blow-up or sanitizer report; the input that caused it is left in
# build-fuzz/run-TARGET/findings/, to be fixed and added to the seeds.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

TARGET=package
if [[ "${1:-}" =~ ^[a-z]+$ ]]; then
  TARGET=$1
  shift
fi
DURATION=${1:-60}
usage() {
  echo "usage: scripts/fuzz.sh [package|store] [SECONDS]" >&2
  exit 2
}
if ! [[ "$DURATION" =~ ^[0-9]+$ ]] || ((DURATION == 0)) || (($# > 1)); then
  usage
fi
# Packages of up to 32 KB, which can unpack to megabytes of text; settings files
# of up to 16 KB, enough for every construct of the dialect many times over.
case "$TARGET" in
  package) BINARY=package_reader_fuzz SEEDS=corpus DICT=wordprocessingml.dict MAX_LEN=32768 ;;
  store) BINARY=store_reader_fuzz SEEDS=store-corpus DICT=ini.dict MAX_LEN=16384 ;;
  *) usage ;;
esac

ensure_packages "${BUILD_PACKAGES[@]}" clang libclang-rt-14-dev

BUILD="$ROOT/build-fuzz"
mkdir -p "$BUILD"
echo '*' > "$BUILD/.gitignore"  # the build stays out of git without touching the project's ignore list
cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DCORVALIN_FUZZ=ON -DCORVALIN_TESTS=OFF -DCORVALIN_BENCHMARKS=OFF >/dev/null
cmake --build "$BUILD" --target "$BINARY" -j"$(nproc)"

RUN="$BUILD/run-$TARGET"
rm -rf "$RUN"
mkdir -p "$RUN/corpus" "$RUN/findings"
cp "$ROOT/tests/fuzz/$SEEDS"/* "$RUN/corpus/"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1
export LSAN_OPTIONS="suppressions=$ROOT/tests/fuzz/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1

# An input that takes 30 s or 4 GB is a finding like a crash.
set +e
"$BUILD/$BINARY" -max_total_time="$DURATION" -max_len="$MAX_LEN" -timeout=30 -rss_limit_mb=4096 \
  -dict="$ROOT/tests/fuzz/$DICT" -artifact_prefix="$RUN/findings/" -print_final_stats=1 "$RUN/corpus" 2>&1 | tee "$RUN/log"
status=${PIPESTATUS[0]}
set -e

executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$RUN/log" | tail -1)
if ((status != 0)) || grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:' "$RUN/log" \
  || [ -n "$(ls -A "$RUN/findings")" ]; then
  echo "fuzz.sh: $TARGET FAILED after ${executions:-?} executions (exit $status); see $RUN/log and $RUN/findings/" >&2
  exit 1
fi
echo "fuzz.sh: $TARGET clean, ${executions:-?} executions in ${DURATION} s"
