#!/bin/sh
# Batch conversion benchmark, part two: times mevra-cli over the list that
# batch_bench made, for saving as PNG and for a 64-colour reduction, and
# compares the peak memory of the whole list with that of its largest image
# alone. Run from a Release build:
#   bench/batch_bench.sh BUILD_DIR [WORK_DIR]
set -eu
build=${1:?build directory}
work=${2:-/tmp/mevra-batch-bench}
cli="$build/src/cli/mevra-cli"
"$build/bench/batch_bench" "$work/photos"
n=$(grep -c . "$work/photos/photos.lst")

run() {  # label, list, options...
    label=$1 list=$2
    shift 2
    rm -rf "$work/out"
    /usr/bin/time -f "%e %U %S %M" -o "$work/time.txt" \
        "$cli" convert --quiet --out-dir "$work/out" --list "$list" "$@"
    read -r secs user sys kib < "$work/time.txt"
    files=$(grep -c . "$list")
    # Files per second by the wall clock and by the processor time used, which
    # does not depend on what else the machine is doing.
    echo "$files $secs $user $sys $((kib / 1024))" | awk -v label="$label" '{
        printf "%s: %d files in %.1f s (cpu %.1f s): %.2f files/s, %.2f files per cpu-second, peak %d MiB\n",
            label, $1, $2, $3 + $4, $1 / $2, $1 / ($3 + $4), $5 }'
}

echo "list of $n photographs"
for op in "save --format png" "reduce --colors 64"; do
    set -- $op
    run "--op $op, whole list  " "$work/photos/photos.lst" --op "$@"
    run "--op $op, largest only" "$work/photos/largest.lst" --op "$@"
done
