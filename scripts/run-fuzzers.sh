#!/usr/bin/env bash
# Builds the fuzz targets (clang, AddressSanitizer and UndefinedBehaviorSanitizer) in build-fuzz
# and runs each for a bounded time over its corpus in fuzz/corpus/<name>. New inputs go to a
# temporary folder, never into the repository. Fails on any crash, hang, leak, memory blow-up or
# sanitizer report, and keeps the failing input in build-fuzz/artifacts.
# Usage: scripts/run-fuzzers.sh [seconds per target, default 20]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-${FUZZ_SECONDS:-20}}"
build=build-fuzz

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPOSTARIO_FUZZ=ON -DPOSTARIO_SANITIZE=ON >/dev/null
targets=()
for source in fuzz/fuzz_*.cpp; do targets+=("$(basename "$source" .cpp)"); done
cmake --build "$build" --target "${targets[@]}"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$build/artifacts"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}"

failed=()
for target in "${targets[@]}"; do
  name="${target#fuzz_}"
  mkdir -p "$work/$name" "fuzz/corpus/$name"
  options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=1024
           -print_final_stats=1 -artifact_prefix="$work/$name-")
  [ -f "fuzz/$name.dict" ] && options+=(-dict="fuzz/$name.dict")
  if "$build/fuzz/$target" "${options[@]}" "$work/$name" "fuzz/corpus/$name" >"$work/$name.log" 2>&1; then
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/$name.log")"
    echo "$target: ${runs:-?} runs in ${seconds} s, no finding"
  else
    echo "$target: FAILED"
    grep -E -A40 '^==[0-9]+==|ERROR|runtime error|SUMMARY' "$work/$name.log" | head -80 || tail -40 "$work/$name.log"
    cp "$work/$name"-* "$build/artifacts/" 2>/dev/null || true
    failed+=("$target")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzzing found faults in: ${failed[*]} (inputs kept in $build/artifacts)"
  exit 1
fi
