#!/usr/bin/env bash
# Compares the work of switching to a new character with Hanzi Writer's, in one run on this
# machine: bench_switch's Switch/ benchmarks (一 人 高 永 我 爨) and Hanzi Writer 3.7.3 with its
# canvas renderer in headless Chromium (bench/hanziwriter/switch.mjs), run in turn, then one
# table of main-thread CPU milliseconds per switch. Run by hand, never by the tests:
#
#   bench/compare_switch.sh [BUILD_DIR | path/to/bench_switch] [RUNS] [HANZI_WRITER_ROUNDS]
#
# BUILD_DIR defaults to ./build; RUNS (5) is how many times each side runs, alternately;
# HANZI_WRITER_ROUNDS (40) is the measured switches per character in each Hanzi Writer run.
# Installs chromium (and npm, where node came without it) with apt when missing, and Hanzi
# Writer, its data and puppeteer-core from bench/hanziwriter/package-lock.json.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
target="${1:-$root/build}"
runs="${2:-5}"
rounds="${3:-40}"
driver="$root/bench/hanziwriter"

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

apt_install() {
    as_root apt-get update -q
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$@"
}

find_bench() {
    if [ -d "$target" ]; then
        for candidate in "$target/bench/bench_switch" "$target/bench_switch"; do
            if [ -x "$candidate" ]; then echo "$candidate"; return; fi
        done
    elif [ -x "$target" ]; then
        echo "$target"; return
    fi
    echo "no bench_switch in $target: build it first (scripts/setup.sh build)" >&2
    exit 1
}

bench="$(find_bench)"
[ -x /usr/bin/chromium ] || apt_install chromium
command -v npm > /dev/null || apt_install npm
(cd "$driver" && npm ci --no-audit --no-fund --loglevel=error) >&2

out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
echo "bench_switch: $bench" >&2
echo "machine: $(nproc) cores; load average now: $(cut -d' ' -f1-3 /proc/loadavg)" >&2
cut -d' ' -f1 /proc/loadavg > "$out/load.txt"
for run in $(seq 1 "$runs"); do
    echo "run $run of $runs: bench_switch" >&2
    "$bench" --benchmark_filter='^Switch/' --benchmark_out_format=json \
        --benchmark_out="$out/quvo-$(printf %02d "$run").json" > /dev/null 2> "$out/quvo.log" ||
        { cat "$out/quvo.log" >&2; exit 1; }
    echo "run $run of $runs: Hanzi Writer" >&2
    node "$driver/switch.mjs" --rounds "$rounds" \
        > "$out/hw-$(printf %02d "$run").json" 2> "$out/hw.log" ||
        { cat "$out/hw.log" >&2; exit 1; }
    cut -d' ' -f1 /proc/loadavg >> "$out/load.txt"
done
echo >&2
node "$driver/table.mjs" "$out"
