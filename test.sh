#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through ctest.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --parallel
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure --parallel "$(nproc)" --timeout 600

# The same tests built with AddressSanitizer and UndefinedBehaviorSanitizer; any report fails them.
# The options are exported before the build, which already runs each test program to list its tests.
export ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPOSTARIO_SANITIZE=ON
cmake --build build-asan --parallel
QT_QPA_PLATFORM=offscreen ctest --test-dir build-asan --output-on-failure --parallel "$(nproc)" --timeout 600

# Fuzz targets over their corpora for a bounded time; any crash, hang, leak or sanitizer report fails.
bash scripts/run-fuzzers.sh 20
