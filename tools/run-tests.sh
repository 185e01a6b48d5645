#!/usr/bin/env bash
# Runs every test: the normal build, the same tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, and a bounded fuzzing run of the data-file
# reader, the expression evaluator, the token reader and the project files.
# Expects tools/setup.sh to have run.
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=offscreen
launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

echo "== tests"
ctest --test-dir build --output-on-failure -j2

echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DRAMVEX_WERROR=ON \
      -DRAMVEX_SANITIZE=ON -DRAMVEX_BUILD_BENCHMARKS=OFF "${launcher[@]}" >/dev/null
cmake --build build-sanitize
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-sanitize --output-on-failure -j2

if [ -f tests/fuzz/CMakeLists.txt ]; then
  # Four targets, 3.5 minutes of fuzzing in all.
  echo "== fuzzing the data-file reader, the expression evaluator, the token reader and the project files"
  CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DRAMVEX_BUILD_FUZZERS=ON -DRAMVEX_BUILD_GUI=OFF -DRAMVEX_BUILD_BENCHMARKS=OFF "${launcher[@]}" >/dev/null
  cmake --build build-fuzz --target data_file_fuzzer expression_fuzzer word_read_fuzzer project_file_fuzzer
  bash tests/fuzz/run-fuzzer.sh build-fuzz 60 data_file_fuzzer
  bash tests/fuzz/run-fuzzer.sh build-fuzz 30 expression_fuzzer
  bash tests/fuzz/run-fuzzer.sh build-fuzz 30 word_read_fuzzer
  bash tests/fuzz/run-fuzzer.sh build-fuzz 90 project_file_fuzzer
fi
