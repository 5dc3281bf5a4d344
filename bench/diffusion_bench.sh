#!/bin/sh
# Error-diffusion reduction side by side with pngquant: the 4224 x 3168 test
# photograph (made by diffusion_bench, about 419 000 colours), PNG in, 256
# colours with error diffusion A and B, PNG out, each program three times;
# prints the medians of the wall time, processor time and peak memory, and the
# ratio of the wall times. Then the stage breakdown of one run of each.
# pngquant is installed by hand (apt-get install pngquant); nothing else uses it.
# Run from a Release build:
#   bench/diffusion_bench.sh BUILD_DIR [WORK_DIR]
set -eu
build=${1:?build directory}
work=${2:-/tmp/mevra-diffusion-bench}
cli="$build/src/cli/mevra-cli"
bench="$build/bench/diffusion_bench"
command -v pngquant > /dev/null || { echo "pngquant is not installed"; exit 1; }
mkdir -p "$work"
photo="$work/photo.png"
[ -f "$photo" ] || "$bench" make "$photo"

# Runs a command three times; prints "wall cpu peak_mib", each the median.
median3() {
    for run in 1 2 3; do
        /usr/bin/time -f "%e %U %S %M" -o "$work/time.txt" "$@" > /dev/null
        cat "$work/time.txt"
    done | awk '{ w[NR] = $1; c[NR] = $2 + $3; m[NR] = $4 / 1024 }
        function mid(a, t) { if (a[1] > a[2]) { t = a[1]; a[1] = a[2]; a[2] = t }
                             if (a[2] > a[3]) { t = a[2]; a[2] = a[3]; a[3] = t }
                             if (a[1] > a[2]) { t = a[1]; a[1] = a[2]; a[2] = t }
                             return a[2] }
        END { printf "%.3f %.3f %.0f\n", mid(w), mid(c), mid(m) }'
}

pq=$(median3 pngquant --force --output "$work/pngquant.png" 256 "$photo")
echo "$pq" | awk '{
    printf "pngquant 256 colours (Floyd-Steinberg): wall %.3f s, cpu %.3f s, peak %d MiB\n", $1, $2, $3 }'
for dither in a b; do
    mv=$(median3 "$cli" convert --quiet --overwrite --op reduce --colors 256 \
        --dither "diffusion-$dither" -o "$work/mevra-$dither.png" "$photo")
    echo "$mv $pq" | awk -v d="$dither" '{
        printf "mevra 256 colours, error diffusion %s: wall %.3f s, cpu %.3f s, peak %d MiB; " \
               "ratio to pngquant %.2f (wall), %.2f (cpu)\n", toupper(d), $1, $2, $3, $1 / $4, $2 / $5 }'
done
echo "medians of 3 runs; load average now: $(cut -d' ' -f1-3 /proc/loadavg)"
for dither in 1 2; do
    "$bench" "$photo" "$dither"
done
