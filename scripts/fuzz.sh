#!/usr/bin/env bash
# make fuzz: each libFuzzer target for FUZZ_SECONDS (default 60) from the seed
# corpus in tests/fuzz/corpus. A crash is saved into tests/fuzz/corpus/<target>/
# so that it replays in `make test` from then on.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-60}"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "${JOBS:-$(nproc)}"
status=0
for name in entry fixed_point decimal extended; do
  work="$(mktemp -d)"
  echo "== fuzz_$name for ${seconds}s"
  if ! build/fuzz/bin/fuzz_$name "$work" "tests/fuzz/corpus/$name" \
        -max_total_time="$seconds" -max_len=8192 -timeout=10 -rss_limit_mb=4096 \
        -artifact_prefix="tests/fuzz/corpus/$name/finding-" -print_final_stats=1 2>"$work.log"; then
    tail -n 40 "$work.log"
    echo "fuzz_$name: FINDING saved under tests/fuzz/corpus/$name/"
    status=1
  else
    grep -E 'stat::number_of_executed_units|Done' "$work.log" | tail -n 2 || true
  fi
  rm -rf "$work" "$work.log"
done
exit $status
