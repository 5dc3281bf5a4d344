#!/bin/sh
# Palette refinement side by side with pngquant: PSNR (over RGB; premultiplied
# colour plus alpha for pictures with transparency), SSIM (luma, 8 x 8 windows)
# and the wall time of the whole PNG -> PNG job, 256 colours.
#   no dither:  pngquant --nofs        against mevra --dither none
#   dithered:   pngquant (its default) against mevra --dither diffusion-a/-b
# MEVRA runs without refinement (today's output) and with the recommended
# --refine 16 --priority strong. The runs of the two programs alternate and each
# time is the median of three, because the machine may be shared; the load
# average is printed at the end.
# Then the speed table: every photograph in /usr/share/backgrounds with the
# default reduction (no refinement, pattern dither) against pngquant's default.
# pngquant and the photographs are installed by hand, for this benchmark only:
#   apt-get install pngquant lomiri-wallpapers lomiri-wallpapers-16.04 lomiri-wallpapers-20.04
# (the RGBA icon comes with adwaita-icon-theme).
# Run from a Release build:
#   bench/refine_bench.sh BUILD_DIR [WORK_DIR] [PICTURE...]
set -eu
build=${1:?build directory}
work=${2:-/tmp/mevra-refine-bench}
[ $# -ge 2 ] && shift 2 || shift $#
cli="$build/src/cli/mevra-cli"
quality="$build/bench/quality_bench"
command -v pngquant > /dev/null || { echo "pngquant is not installed"; exit 1; }
mkdir -p "$work"
backgrounds=/usr/share/backgrounds
if [ $# -eq 0 ]; then
    set -- "$backgrounds/Picture_1A_by_freespace.jpg" "$backgrounds/Picture_0B_by_freespace.jpg" \
        "$backgrounds/Fossa_by_Jasper_Roks.jpg" \
        /usr/share/icons/Adwaita/512x512/mimetypes/image-x-generic.png
fi

# PNG copy of a picture in the work folder; prints its path.
as_png() {
    out="$work/$(basename "${1%.*}").png"
    [ -f "$out" ] || "$cli" convert --quiet --overwrite --format png -o "$out" "$1"
    echo "$out"
}

# Wall time of a command, the median of three runs.
median3() {
    for run in 1 2 3; do
        /usr/bin/time -f "%e" -o "$work/time.txt" "$@" > /dev/null 2>&1
        cat "$work/time.txt"
    done | sort -n | sed -n 2p
}

echo "| picture | colours | program | PSNR dB | SSIM | time s |"
echo "|---|---|---|---|---|---|"
for picture in "$@"; do
    png=$(as_png "$picture")
    name=$(basename "${png%.png}")
    colours=$("$cli" info "$png" | sed 's/.*colors=//')
    row() {  # label, output file, time
        echo "| $name | $colours | $1 | $("$quality" "$png" "$2" | sed 's/ / | /') | $3 |"
    }
    t=$(median3 pngquant --force --nofs --output "$work/pq-nofs.png" 256 "$png")
    row "pngquant --nofs" "$work/pq-nofs.png" "$t"
    for refine in "0" "16 --priority strong"; do
        # shellcheck disable=SC2086
        t=$(median3 "$cli" convert --quiet --overwrite --op reduce --colors 256 --dither none \
            --refine $refine -o "$work/mv-none.png" "$png")
        row "mevra none, refine $refine" "$work/mv-none.png" "$t"
    done
    t=$(median3 pngquant --force --output "$work/pq-fs.png" 256 "$png")
    row "pngquant (dithered)" "$work/pq-fs.png" "$t"
    for dither in a b; do
        t=$(median3 "$cli" convert --quiet --overwrite --op reduce --colors 256 \
            --dither "diffusion-$dither" --refine 16 --priority strong -o "$work/mv-$dither.png" "$png")
        row "mevra diffusion-$dither, refine 16 --priority strong" "$work/mv-$dither.png" "$t"
    done
done

echo
echo "| photograph | megapixels | colours | pngquant s | mevra s | ratio |"
echo "|---|---|---|---|---|---|"
for photo in "$backgrounds"/*.jpg; do
    png=$(as_png "$photo")
    info=$("$cli" info "$png")
    pq=$(median3 pngquant --force --output "$work/pq.png" 256 "$png")
    mv=$(median3 "$cli" convert --quiet --overwrite --op reduce --colors 256 -o "$work/mv.png" "$png")
    echo "$info $pq $mv" | awk -v n="$(basename "${png%.png}")" '{
        split($3, size, "x"); printf "| %s | %.1f | %s | %.2f | %.2f | %.2f |\n", n,
        size[1] * size[2] / 1e6, substr($6, 8), $7, $8, $8 / $7 }'
done
echo
echo "medians of 3 runs, the programs alternating; load average now: $(cut -d' ' -f1-3 /proc/loadavg)"
