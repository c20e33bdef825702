#!/usr/bin/env bash
# make bench: the benchmarks, then the companion's rows per second.
set -euo pipefail
cd "$(dirname "$0")/.."
bin=build/bin

echo "== core (Google Benchmark)"
"$bin/tariff_bench" --benchmark_min_time=0.5

echo
echo "== brindelor-calc rows per second"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
rows=2000000
awk -v n="$rows" 'BEGIN {
  split("100;K;|25;O;9|20,13;;K|41,81;I;K|69,12;K;K|1234,5;X;|0,01;K;K|-10;K;", r, "|");
  for (i = 0; i < n; i++) print r[i % 8 + 1] }' >"$tmp/rows"
start=$(date +%s.%N)
"$bin/brindelor-calc" --decimal-separator=, "--group-separator= " <"$tmp/rows" >"$tmp/out"
end=$(date +%s.%N)
awk -v n="$rows" -v s="$start" -v e="$end" 'BEGIN { printf "%d rows in %.3f s: %.0f rows/s\n", n, e - s, n / (e - s) }'
