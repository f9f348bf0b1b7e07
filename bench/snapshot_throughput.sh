#!/usr/bin/env bash
# Throughput and cold start of render-snapshot on a batch of 50 trees at
# 720x1280 (copies of examples/*.json under distinct names), with the default
# settings, and as baseline beside them the same batch one tree at a time
# (--windows 1: one window, a marker after every render).
#
# Each run gives both figures: trees per second = 50 / (process start to
# exit); cold start = process start to the first PNG written (the earliest
# PNG modification time). Medians of RUNS runs (default 5) are printed.
# Builds nothing: needs build/render-snapshot (or RENDER_SNAPSHOT=path).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
tool=${RENDER_SNAPSHOT:-$root/build/render-snapshot}
runs=${RUNS:-5}
count=50
if [[ ! -x $tool ]]; then
    echo "snapshot_throughput: $tool not found; build the render-snapshot target first" >&2
    exit 2
fi
shopt -s nullglob
examples=("$root"/examples/*.json)
if (( ${#examples[@]} == 0 )); then
    echo "snapshot_throughput: no examples/*.json" >&2
    exit 2
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/trees"
for ((i = 0; i < count; i++)); do
    src=${examples[i % ${#examples[@]}]}
    cp "$src" "$work/trees/$(printf 'tree%02d' "$i")_$(basename "$src")"
done
trees=("$work"/trees/*.json)

# One run; prints "<trees per second> <cold start in seconds>".
run() {
    local out=$work/out
    rm -rf "$out"
    local start=$EPOCHREALTIME
    if ! "$tool" "${trees[@]}" --size 720x1280 --out-dir "$out" "$@" 2> "$work/log"; then
        echo "snapshot_throughput: render-snapshot failed:" >&2
        tail -5 "$work/log" >&2
        exit 1
    fi
    local end=$EPOCHREALTIME
    local first
    first=$(stat -c '%.9Y' "$out"/*.png | sort -n | head -1)
    awk -v n="$count" -v s="$start" -v e="$end" -v f="$first" \
        'BEGIN { printf "%.2f %.3f\n", n / (e - s), f - s }'
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

measure() {
    local label=$1
    shift
    local results=()
    for ((r = 0; r < runs; r++)); do
        results+=("$(run "$@")")
    done
    local rate cold
    rate=$(printf '%s\n' "${results[@]}" | cut -d' ' -f1 | median)
    cold=$(printf '%s\n' "${results[@]}" | cut -d' ' -f2 | median)
    printf '  %-26s %8s trees/s   cold start %6s s   (runs: %s)\n' "$label" "$rate" "$cold" \
        "$(printf '%s\n' "${results[@]}" | cut -d' ' -f1 | paste -sd' ')"
}

echo "render-snapshot, $count trees at 720x1280 from examples/*.json, median of $runs runs"
measure "default settings"
measure "baseline: --windows 1" --windows 1
