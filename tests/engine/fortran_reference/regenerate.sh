#!/usr/bin/env bash
# Rebuilds cases.txt, the reference table of the fixed-width output fields,
# from the Fortran run-time library.  Needs gfortran.  Review the diff of
# cases.txt before committing it: every changed row changes what the reports
# are checked against.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
gfortran -std=f2018 -Wall -O0 -o "$scratch/fortran_reference" "$here/fortran_reference.f90"
"$scratch/fortran_reference" > "$scratch/cases.txt"
mv "$scratch/cases.txt" "$here/cases.txt"
echo "$(wc -l < "$here/cases.txt") cases written to $here/cases.txt"
