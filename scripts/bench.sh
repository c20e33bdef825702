#!/usr/bin/env bash
# make bench: the benchmarks, then the companion's rows per second.
#   bench.sh [BUILD_DIR]   (default build/dev, the dev preset's)
set -euo pipefail
cd "$(dirname "$0")/.."
bin=${1:-build/dev}/bin
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
# Qt warns on every start without one.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  export XDG_RUNTIME_DIR="$tmp/runtime"
  mkdir -m 700 "$XDG_RUNTIME_DIR"
fi

echo "== core (Google Benchmark)"
"$bin/tariff_bench" --benchmark_min_time=0.5

if [ -x "$bin/window_bench" ]; then
  echo
  echo "== the window, offscreen"
  "$bin/window_bench" --benchmark_min_time=0.5
fi

echo
echo "== brindelor-calc rows per second"
rows=2000000
awk -v n="$rows" 'BEGIN {
  split("100;K;|25;O;9|20,13;;K|41,81;I;K|69,12;K;K|1234,5;X;|0,01;K;K|-10;K;", r, "|");
  for (i = 0; i < n; i++) print r[i % 8 + 1] }' >"$tmp/rows"
start=$(date +%s.%N)
"$bin/brindelor-calc" --decimal-separator=, "--group-separator= " <"$tmp/rows" >"$tmp/out"
end=$(date +%s.%N)
awk -v n="$rows" -v s="$start" -v e="$end" 'BEGIN { printf "linux:   %d rows in %.3f s: %.0f rows/s\n", n, e - s, n / (e - s) }'

# The Windows companion under Wine, on the same rows, with one wineserver
# kept up so that Wine's own start-up is paid once.
winbin=build-windows/bin
if [ -x "$winbin/brindelor-calc.exe" ] && command -v wine >/dev/null; then
  WINEPREFIX_BASE="$tmp" bash scripts/wine-run.sh bash -c '
    winbin="$1"; rows="$2"; n="$3"; out="$4"
    wine "$winbin/brindelor-calc.exe" --version >/dev/null # warm
    start=$(date +%s.%N)
    /usr/lib/wine/wine64 "$winbin/brindelor-calc.exe" --decimal-separator=, "--group-separator= " <"$rows" >"$out.win"
    end=$(date +%s.%N)
    awk -v n="$n" -v s="$start" -v e="$end" '"'"'BEGIN { printf "windows: %d rows in %.3f s: %.0f rows/s (under Wine)\n", n, e - s, n / (e - s) }'"'"'
    cmp -s "$out" "$out.win" && echo "         the same bytes as the Linux one" || echo "         DIFFERENT output from the Linux one"
  ' _ "$winbin" "$tmp/rows" "$rows" "$tmp/out"
fi

if [ -x "$bin/brindelor" ] && [ -x "$bin/startup_probe" ] && [ -x "$bin/bare_window" ]; then
  echo
  echo "== start-up to a mapped window and resident memory, under Xvfb (median of 21, alternating)"
  xvfb-run -a -s '-screen 0 1024x768x24' bash -c '
    bin="$1"
    for i in $(seq 21); do
      echo "brindelor $("$bin/startup_probe" 1500 "$bin/brindelor")"
      echo "bare $("$bin/startup_probe" 1500 "$bin/bare_window")"
    done' _ "$bin" >"$tmp/startup"
  awk '
    { t[$1] = t[$1] " " $2; m[$1] = m[$1] " " $3 }
    function median(list,   a, n, i, j, x) {
      n = split(list, a, " ")
      for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (a[j] + 0 < a[i] + 0) { x = a[i]; a[i] = a[j]; a[j] = x }
      return a[int((n + 1) / 2)]
    }
    END {
      tb = median(t["brindelor"]); tr = median(t["bare"]); mb = median(m["brindelor"]); mr = median(m["bare"])
      printf "%-10s %10s %12s\n", "", "map (ms)", "VmRSS (kB)"
      printf "%-10s %10.1f %12d\n", "brindelor", tb, mb
      printf "%-10s %10.1f %12d\n", "bare Qt", tr, mr
      printf "%-10s %9.2fx %11.2fx   (goals: 1.3x, 1.2x)\n", "ratio", tb / tr, mb / mr
    }' "$tmp/startup"
fi

# The Windows window under Wine against a bare Win32 window with the same
# controls: start-up to the mapped window and resident memory.
if [ -x "$winbin/brindelor.exe" ] && [ -x "$winbin/bare_window.exe" ] && [ -x "$bin/startup_probe" ] \
   && command -v wine >/dev/null; then
  echo
  echo "== Windows: start-up to a mapped window and resident memory, under Wine and Xvfb (median of 11, alternating)"
  WINEPREFIX_BASE="$tmp" bash scripts/wine-run.sh xvfb-run -a -s '-screen 0 1024x768x24' bash -c '
    bin="$1"; winbin="$2"
    export PROBE_WINDOW_NAME=Brindelor
    "$bin/startup_probe" 1500 /usr/lib/wine/wine64 "$winbin/bare_window.exe" >/dev/null # warm
    for i in $(seq 11); do
      echo "brindelor $("$bin/startup_probe" 1500 /usr/lib/wine/wine64 "$winbin/brindelor.exe")"
      echo "bare $("$bin/startup_probe" 1500 /usr/lib/wine/wine64 "$winbin/bare_window.exe")"
    done' _ "$bin" "$winbin" >"$tmp/winstartup"
  awk '
    { t[$1] = t[$1] " " $2; m[$1] = m[$1] " " $3 }
    function median(list,   a, n, i, j, x) {
      n = split(list, a, " ")
      for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (a[j] + 0 < a[i] + 0) { x = a[i]; a[i] = a[j]; a[j] = x }
      return a[int((n + 1) / 2)]
    }
    END {
      tb = median(t["brindelor"]); tr = median(t["bare"]); mb = median(m["brindelor"]); mr = median(m["bare"])
      printf "%-10s %10s %12s\n", "", "map (ms)", "VmRSS (kB)"
      printf "%-10s %10.1f %12d\n", "brindelor", tb, mb
      printf "%-10s %10.1f %12d\n", "bare Win32", tr, mr
      printf "%-10s %9.2fx %11.2fx   (goals: 1.2x, 1.2x)\n", "ratio", tb / tr, mb / mr
    }' "$tmp/winstartup"
fi
