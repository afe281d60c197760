#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each one for
# SECONDS (default 600), two at a time, and the player's loops (book.bin, book.xml, page text).
#
#   scripts/run-fuzzers.sh [SECONDS] [TARGET...]
#
# New inputs go to build-fuzz/fuzz-work/corpus/<target>/ (the committed seeds in
# fuzz/corpus/ are only read); a crash, leak or timeout is saved to
# fuzz/findings/<target>-crash-... and the run goes on with the next target.
# Replay a finding with build-fuzz/bin/fuzz_<target> FILE; once fixed, copy it
# into fuzz/corpus/<target>/ so that ctest replays it from then on.
set -uo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
TIME=${1:-600}
shift || true
BUILD=${FOLIVOX_FUZZ_BUILD:-$ROOT/build-fuzz}
WORK=$BUILD/fuzz-work
FINDINGS=$ROOT/fuzz/findings
PARALLEL=${FOLIVOX_FUZZ_PARALLEL:-2}

# Largest input worth trying per target: a little above its biggest seed.
declare -A MAX_LEN=(
  [page_range]=1024 [template]=32768 [settings]=4096 [zip]=8192
  [rtf]=8192 [pdf]=16384 [book]=8192 [text]=16384 [render]=16384 [batch_list]=4096 [svg]=16384
  [book_text]=4096 [picture]=4096 [epub_page]=4096
)
TARGETS=("$@")
if [ ${#TARGETS[@]} -eq 0 ]; then
  # Every target that fuzz/FuzzTargets.cmake builds, and the player's loops.
  read -r -a TARGETS < <(sed -n 's/^set(FOLIVOX_FUZZ_TARGETS \(.*\))$/\1/p' "$ROOT/fuzz/FuzzTargets.cmake")
  TARGETS+=(player_container player_xml player_text)
fi
for t in "${TARGETS[@]}"; do
  [[ "$t" = player_* || -n "${MAX_LEN[$t]:-}" ]] || { echo "run-fuzzers: no MAX_LEN for $t" >&2; exit 1; }
done

command -v clang++-14 >/dev/null || { echo "run-fuzzers: clang++-14 is missing (scripts/install-deps.sh)" >&2; exit 1; }
if [ ! -f "$BUILD/build.ninja" ]; then
  CC=clang-14 CXX=clang++-14 cmake -S "$ROOT" -B "$BUILD" -G Ninja -DFOLIVOX_FUZZ=ON -DFOLIVOX_BUILD_GUI=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || exit 1
fi
build=()
for t in "${TARGETS[@]}"; do [[ "$t" != player_* ]] && build+=("fuzz_$t"); done
if [ ${#build[@]} -gt 0 ]; then
  cmake --build "$BUILD" --target "${build[@]}" -j "$(nproc)" >/dev/null || { echo "run-fuzzers: build failed" >&2; exit 1; }
fi
mkdir -p "$WORK" "$FINDINGS"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$ROOT/scripts/lsan.supp}
export QT_QPA_PLATFORM=offscreen

run_one() {
  local t=$1 log=$WORK/$1.log start end
  start=$(date +%s)
  # The files a target writes per input; libFuzzer exits without cleaning up.
  local scratch
  scratch=$(mktemp -d "$( [ -w /dev/shm ] && echo /dev/shm || echo "${TMPDIR:-/tmp}")/folivox-fuzz-$t-XXXXXX")
  if [[ "$t" = player_* ]]; then
    FOLIVOX_FUZZ_SECONDS=$TIME FOLIVOX_FUZZ_FINDINGS=$FINDINGS \
      node --test "$ROOT/player/test/fuzz-${t#player_}.test.js" >"$log" 2>&1
  else
    mkdir -p "$WORK/corpus/$t"
    FOLIVOX_FUZZ_SCRATCH=$scratch "$BUILD/bin/fuzz_$t" "$WORK/corpus/$t" "$ROOT/fuzz/corpus/$t" -max_total_time="$TIME" \
      -max_len="${MAX_LEN[$t]}" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$FINDINGS/$t-" >"$log" 2>&1
  fi
  local rc=$?
  end=$(date +%s)
  rm -rf "$scratch"
  local runs
  runs=$(grep -Eo 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -Eo '[0-9]+$' || true)
  [[ "$t" = player_* ]] && runs=$(grep -Eo 'inputs tried: [0-9]+' "$log" | grep -Eo '[0-9]+$' || true)
  printf '%-16s %s  %5ss  %10s runs  %s\n' "$t" "$([ $rc -eq 0 ] && echo ok || echo FINDING)" \
    "$((end - start))" "${runs:-?}" "$log"
}
export -f run_one
export TIME BUILD WORK FINDINGS ROOT
export MAX_LEN_DECL="$(declare -p MAX_LEN)"

echo "run-fuzzers: ${#TARGETS[@]} targets, ${TIME}s each, $PARALLEL at a time; logs in $WORK" >&2
printf '%s\n' "${TARGETS[@]}" | xargs -P "$PARALLEL" -I{} bash -c 'eval "$MAX_LEN_DECL"; run_one {}' | tee "$WORK/summary.txt"
# What a finding looked like, for a log that is all one has (CI).
grep FINDING "$WORK/summary.txt" | awk '{print $NF}' | while read -r log; do
  echo "---- $log" >&2
  tail -n 40 "$log" >&2
done
! grep -q FINDING "$WORK/summary.txt"
