#!/usr/bin/env bash
# Fuzzes the package reader, and the layout of what it reads, for SECONDS
# seconds (default 60) under the address and undefined-behaviour sanitizers.
# Builds in build-fuzz/ with clang, runs on a copy of tests/fuzz/corpus/ and
# exits non-zero on any crash, leak, timeout, memory blow-up or sanitizer
# report; the input that caused it is left in build-fuzz/run/findings/, to be
# fixed and added to the corpus.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

DURATION=${1:-60}
if ! [[ "$DURATION" =~ ^[0-9]+$ ]] || ((DURATION == 0)); then
  echo "usage: scripts/fuzz.sh SECONDS" >&2
  exit 2
fi

ensure_packages "${BUILD_PACKAGES[@]}" clang libclang-rt-14-dev

BUILD="$ROOT/build-fuzz"
mkdir -p "$BUILD"
echo '*' > "$BUILD/.gitignore"  # the build stays out of git without touching the project's ignore list
cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DCORVALIN_FUZZ=ON -DCORVALIN_TESTS=OFF -DCORVALIN_BENCHMARKS=OFF >/dev/null
cmake --build "$BUILD" --target package_reader_fuzz -j"$(nproc)"

RUN="$BUILD/run"
rm -rf "$RUN"
mkdir -p "$RUN/corpus" "$RUN/findings"
cp "$ROOT"/tests/fuzz/corpus/* "$RUN/corpus/"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1
export LSAN_OPTIONS="suppressions=$ROOT/tests/fuzz/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1

# Packages of up to 32 KB, which can unpack to megabytes of text; an input that
# takes 30 s or 4 GB is a finding like a crash.
set +e
"$BUILD/package_reader_fuzz" -max_total_time="$DURATION" -max_len=32768 -timeout=30 -rss_limit_mb=4096 \
  -dict="$ROOT/tests/fuzz/wordprocessingml.dict" -artifact_prefix="$RUN/findings/" -print_final_stats=1 "$RUN/corpus" 2>&1 | tee "$RUN/log"
status=${PIPESTATUS[0]}
set -e

executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$RUN/log" | tail -1)
if ((status != 0)) || grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:' "$RUN/log" \
  || [ -n "$(ls -A "$RUN/findings")" ]; then
  echo "fuzz.sh: FAILED after ${executions:-?} executions (exit $status); see $RUN/log and $RUN/findings/" >&2
  exit 1
fi
echo "fuzz.sh: clean, ${executions:-?} executions in ${DURATION} s"
