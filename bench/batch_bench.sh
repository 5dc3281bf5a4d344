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
    /usr/bin/time -f "%e %M" -o "$work/time.txt" \
        "$cli" convert --quiet --out-dir "$work/out" --list "$list" "$@"
    read -r secs kib < "$work/time.txt"
    files=$(grep -c . "$list")
    echo "$label: $files files in $secs s, $(echo "$files $secs" | awk '{printf "%.2f", $1/$2}') files/s, peak $((kib / 1024)) MiB"
}

echo "list of $n photographs"
for op in "save --format png" "reduce --colors 64"; do
    set -- $op
    run "--op $op, whole list  " "$work/photos/photos.lst" --op "$@"
    run "--op $op, largest only" "$work/photos/largest.lst" --op "$@"
done
