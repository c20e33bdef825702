#!/usr/bin/env bash
# make fuzz: each libFuzzer target for FUZZ_SECONDS (default 60) from the seed
# corpus in tests/fuzz/corpus, JOBS (default: the cores) targets at a time.
# A crash is saved into tests/fuzz/corpus/<target>/ so that it replays in
# `make test` from then on.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-60}"
parallel="${JOBS:-$(nproc)}"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$parallel"

# Reports in one piece once done, so that targets running together do not mix.
fuzz_one() {
  local name=$1 work report status=0
  work="$(mktemp -d)"
  mkdir "$work/corpus"
  if build/fuzz/bin/fuzz_$name "$work/corpus" "tests/fuzz/corpus/$name" \
       -max_total_time="$seconds" -max_len=8192 -timeout=10 -rss_limit_mb=4096 \
       -artifact_prefix="tests/fuzz/corpus/$name/finding-" -print_final_stats=1 \
       2>"$work/log"; then
    report="$(grep -E 'stat::number_of_executed_units|Done' "$work/log" | tail -n 2 || true)"
  else
    report="$(tail -n 40 "$work/log")
fuzz_$name: FINDING saved under tests/fuzz/corpus/$name/"
    status=1
  fi
  rm -rf "$work"
  printf '== fuzz_%s for %ss\n%s\n' "$name" "$seconds" "$report"
  return $status
}

status=0
running=0
for name in entry fixed_point decimal extended; do
  if [ "$running" -ge "$parallel" ]; then
    wait -n || status=1
    running=$((running - 1))
  fi
  fuzz_one "$name" &
  running=$((running + 1))
done
while [ "$running" -gt 0 ]; do
  wait -n || status=1
  running=$((running - 1))
done
exit $status
