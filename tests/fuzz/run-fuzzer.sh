#!/usr/bin/env bash
# Runs one fuzz target for a bounded time on its seed corpus.
#   tests/fuzz/run-fuzzer.sh BUILD_FOLDER [SECONDS] [TARGET]
# TARGET is data_file_fuzzer (the default), expression_fuzzer,
# word_read_fuzzer or project_file_fuzzer.  The seeds are the bundled
# examples, the committed seeds under tests/fuzz/seeds/ (files the library
# writes and files of the older versions) and the stage parts of the staged
# example.  The first byte of a token-reader or project-file input chooses
# how it is read, so those seeds carry one in front.
set -euo pipefail
build=$(cd "$1" && pwd)
seconds=${2:-60}
target=${3:-data_file_fuzzer}
root=$(cd "$(dirname "$0")/../.." && pwd)
corpus="$build/fuzz-corpus/$target"
mkdir -p "$corpus"

# Writes FILE into the corpus with the byte PREFIX in front.
seed() {
  local prefix=$1 file=$2 name=$3
  { printf '%s' "$prefix"; cat "$file"; } > "$corpus/$name"
}

# The stage parts of a staged data file, as the program splits it.
stage_parts() {
  awk -v out="$1" 'NR == 1 || /^ Stage No : [0-9]+\r?$/ { n++ } { print > (out "." n) }' "$2"
}

case "$target" in
  data_file_fuzzer)
    cp "$root"/examples/*.rv5d "$corpus"/ 2>/dev/null || true
    ;;
  expression_fuzzer)
    cp "$root"/tests/fuzz/seeds/expression/* "$corpus"/
    ;;
  word_read_fuzzer)
    for f in "$root"/examples/*.rv5d; do seed 'r' "$f" "$(basename "$f" .rv5d)"; done
    ;;
  project_file_fuzzer)
    cp "$root"/tests/fuzz/seeds/project/* "$corpus"/
    for f in "$root"/examples/*.rv5d; do
      seed ' ' "$f" "$(basename "$f" .rv5d)"    # opened by its extension
      seed '8' "$f" "$(basename "$f" .rv5d).dat" # another extension, the current version
    done
    parts="$build/fuzz-corpus/parts"
    stage_parts "$parts" "$root/examples/three_stages.rv5d"
    for p in "$parts".*; do seed "'" "$p" "stage$(basename "$p" | sed 's/.*\.//')"; done
    rm -f "$parts".*
    ;;
  *)
    echo "unknown fuzz target $target" >&2
    exit 2
    ;;
esac

# -len_control=0 lets inputs grow past the largest seed from the start.
"$build/bin/$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 -len_control=0 \
  -artifact_prefix="$build/$target-" "$corpus"
