#!/usr/bin/env bash
# Runs the data-file fuzzer for a bounded time on the examples as seeds.
#   tests/fuzz/run-fuzzer.sh BUILD_FOLDER [SECONDS]
set -euo pipefail
build=$(cd "$1" && pwd)
seconds=${2:-60}
root=$(cd "$(dirname "$0")/../.." && pwd)
corpus="$build/fuzz-corpus"
mkdir -p "$corpus"
cp "$root"/examples/*.rv5d "$corpus"/ 2>/dev/null || true
"$build/bin/data_file_fuzzer" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 \
  -artifact_prefix="$build/" "$corpus"
