#!/bin/sh
# End-to-end file conversion speed beside the usual peer tools, on the
# synthetic 4224 x 3168 test photograph (about 410 thousand colours, stored
# as a 24-bit PNG), medians of 3 runs each, all in one run:
#   PNG -> PNG          mevra-cli          vs  Pillow (python3-pil)
#   PNG -> DDS DXT5     mevra-cli          vs  nvcompress -fast -bc3 (libnvtt-bin)
#   PNG -> DDS DXT3     mevra-cli          vs  nvcompress -fast -bc2
#   lists of 6 photographs and 36 textures   mevra-cli --jobs 1 vs --jobs 2
# The peers are installed by hand (apt-get install python3-pil libnvtt-bin);
# MEVRA itself never uses them. Last, the phases (load, PNG save, DXT saves) of
# one process. Run from a Release build on a quiet machine:
#   bench/io_bench.sh BUILD_DIR [WORK_DIR]
set -eu
build=${1:?build directory}
work=${2:-/tmp/mevra-io-bench}
cli="$build/src/cli/mevra-cli"
py=/usr/bin/python3
mkdir -p "$work/out"
photo="$work/photo.png"
if [ ! -f "$photo" ]; then
    "$build/bench/io_bench" make "$work/photo32.png"
    # The photograph as a camera or editor stores it: 24-bit RGB.
    "$py" -c "import sys; from PIL import Image; Image.open(sys.argv[1]).convert('RGB').save(sys.argv[2])" \
        "$work/photo32.png" "$photo"
    rm -f "$work/photo32.png"
fi

# Runs a command 3 times; prints the median wall time, the median processor
# time (user + system) and the largest peak memory, in seconds and MiB.
median3() {
    for run in 1 2 3; do
        /usr/bin/time -f "%e %U %S %M" -o "$work/time.txt" "$@" > /dev/null 2>&1
        cat "$work/time.txt"
    done | awk 'function mid(a, b, c) { return a + b + c - (a > b ? (a > c ? a : c) : (b > c ? b : c)) - (a < b ? (a < c ? a : c) : (b < c ? b : c)) }
        { wall[NR] = $1; cpu[NR] = $2 + $3; if ($4 > peak) peak = $4 }
        END { printf "%.3f %.3f %d\n", mid(wall[1], wall[2], wall[3]), mid(cpu[1], cpu[2], cpu[3]), peak / 1024 }'
}

size() { stat -c %s "$1"; }

compare() {  # label, our numbers, peer numbers, our file, peer file
    echo "$2 $3" | awk -v label="$1" -v ours="$(size "$4")" -v theirs="$(size "$5")" '{
        printf "%-22s MEVRA %6.3f s (cpu %6.3f s, %4d MiB)  peer %6.3f s (cpu %6.3f s)  time ratio %.2f  cpu ratio %.2f  size %d / %d = %.3f\n",
            label, $1, $2, $3, $4, $5, $1 / $4, $2 / $5, ours, theirs, ours / theirs }'
}

echo "test photograph: $photo ($(size "$photo") bytes); load average $(cut -d' ' -f1-3 /proc/loadavg)"

mevra_png=$(median3 "$cli" convert --quiet --overwrite --format png "$photo" -o "$work/out/mevra.png")
pillow_png=$(median3 "$py" -c "import sys; from PIL import Image; Image.open(sys.argv[1]).save(sys.argv[2])" \
    "$photo" "$work/out/pillow.png")
compare "PNG -> PNG" "$mevra_png" "$pillow_png" "$work/out/mevra.png" "$work/out/pillow.png"

for layout in dxt5:bc3 dxt3:bc2; do
    ours=${layout%:*} theirs=${layout#*:}
    mevra_dds=$(median3 "$cli" convert --quiet --overwrite --format dds --dds "$ours" "$photo" \
        -o "$work/out/mevra_$ours.dds")
    nv_dds=$(median3 nvcompress -fast "-$theirs" "$photo" "$work/out/nv_$theirs.dds")
    compare "PNG -> DDS $ours" "$mevra_dds" "$nv_dds" "$work/out/mevra_$ours.dds" "$work/out/nv_$theirs.dds"
done

# Many files: the same lists with one and with two worker processes, once of
# the photographs and once of 36 textures of 1024 x 1024 cut down from them.
# A photograph alone already keeps both cores busy inside one file (census,
# diffusion, PNG strips, DXT rows), so the gain of --jobs shows most on the
# textures. The outputs must be byte-identical.
: > "$work/photographs.lst"
for i in 1 2 3 4 5 6; do
    ln -sf "$photo" "$work/photo$i.png"
    echo "$work/photo$i.png" >> "$work/photographs.lst"
done
mkdir -p "$work/tex"
: > "$work/textures.lst"
for i in $(seq 1 36); do
    tex="$work/tex/t$i.png"
    [ -f "$tex" ] || "$cli" convert --quiet --overwrite --op scale --size 1024x1024 --format png \
        -o "$tex" "$photo"
    echo "$tex" >> "$work/textures.lst"
done
for list in photographs textures; do
    count=$(wc -l < "$work/$list.lst")
    for op in "--op reduce --colors 64 --format png" "--op save --format dds --dds dxt5"; do
        for jobs in 1 2; do
            rm -rf "$work/out/j$jobs"
            eval "j$jobs=\$(median3 \"\$cli\" convert --quiet --overwrite --jobs $jobs --out-dir \"\$work/out/j$jobs\" $op --list \"\$work/$list.lst\")"
        done
        same=identical
        for f in "$work/out/j1"/*; do
            cmp -s "$f" "$work/out/j2/$(basename "$f")" || same=DIFFERENT
        done
        echo "$j1 $j2" | awk -v what="$count $list" -v op="$op" -v same="$same" '{
            printf "%s, %s: -j 1 %.3f s, -j 2 %.3f s: %.2fx faster; peak per process %d / %d MiB; outputs %s\n",
                what, op, $1, $4, $1 / $4, $3, $6, same }'
    done
done

echo "phases inside one process (clock and processor time of all threads):"
"$build/bench/io_bench" phases "$photo"
