#!/usr/bin/env bash
# Whole-batch speed and memory, paired against vipsthumbnail and ImageMagick's -sample.
#
#   bench/batch.sh CORPUS [ROUNDS]          the JPEG photos in CORPUS/jpg, target 1 (640x480)
#   bench/batch.sh --smooth CORPUS [ROUNDS] the same, with tessaro --smooth runs beside the
#                                           point-sampled ones
#   bench/batch.sh --scale N CORPUS         N links to those photos, against the plain batch
#
# Every program resizes the same files to 640x480 (proportions not kept) at quality 75 with
# 2x2 chroma subsampling into a fresh folder, whole process, timed by /usr/bin/time. The
# rounds alternate the programs so that each round is one paired run; the figures are the
# medians over the rounds. TESSARO names the program (default build/app/tessaro); JOBS lists
# the worker counts to measure (default "1 0": one worker and one per core). The window's
# batch (one worker per core) is measured too when WINDOW_BENCH (default
# build/bench/bench_window_batch) has been built. ImageMagick is left out when it is missing.
# With QUALITY naming quality.py, the outputs of the last round are scored against the sources.
set -euo pipefail

usage() {
    echo "usage: bench/batch.sh [--smooth] CORPUS [ROUNDS] | bench/batch.sh --scale N CORPUS" >&2
    exit 2
}

SMOOTH=0
if [ "${1:-}" = "--smooth" ]; then
    SMOOTH=1
    shift
fi
SCALE=0
if [ "${1:-}" = "--scale" ]; then
    [ -n "${2:-}" ] || usage
    SCALE=$2
    shift 2
fi
CORPUS=${1:-}
[ -n "$CORPUS" ] && [ -d "$CORPUS/jpg" ] || usage
ROUNDS=${2:-5}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
TESSARO=${TESSARO:-$ROOT/build/app/tessaro}
JOBS=${JOBS:-"1 0"}
WINDOW_BENCH=${WINDOW_BENCH:-$ROOT/build/bench/bench_window_batch}
[ -x "$TESSARO" ] || { echo "batch.sh: build $TESSARO first" >&2; exit 1; }
for tool in /usr/bin/time vipsthumbnail; do
    command -v "$tool" >/dev/null || { echo "batch.sh: $tool is missing" >&2; exit 1; }
done
MAGICK=0
command -v mogrify >/dev/null && MAGICK=1

WORK=$(mktemp -d /tmp/tessaro-bench.XXXXXX)
trap 'rm -rf "$WORK"' EXIT
mapfile -t PHOTOS < <(ls -1 "$CORPUS"/jpg/*.jpg)
COUNT=${#PHOTOS[@]}
[ "$COUNT" -gt 0 ] || usage

# One run of a command on the files in "$@" into a fresh folder: prints "seconds KiB
# cpu-seconds" (user and system time together).
measure() {
    local name=$1
    shift
    local out="$WORK/out-$name"
    rm -rf "$out"
    mkdir -p "$out/Elaborate"
    local cmd
    case $name in
    tessaro*)
        local jobs=${name##*-j}
        local jobArg=(--no-smooth)
        [ "$jobs" != 0 ] && jobArg+=(--jobs "$jobs")
        [ "${name#tessaro-smooth}" != "$name" ] && jobArg[0]=--smooth
        cmd=("$TESSARO" --drop 1 --folder "$out" --quality 75 --subsampling 2:2
            --no-keep-proportions --no-name-with-size --no-greyscale --no-comment
            "${jobArg[@]}" "$@")
        ;;
    window)
        cmd=("$WINDOW_BENCH" "$out" "$@")
        ;;
    vips)
        cmd=(vipsthumbnail "$@" --size '640x480!' -o "$out/%s.jpg[Q=75,optimize_coding,strip]")
        ;;
    magick)
        cmd=(mogrify -path "$out" -sample '640x480!' -quality 75 -sampling-factor 2x2 "$@")
        ;;
    esac
    /usr/bin/time -f "%e %M %U %S" -o "$WORK/time" "${cmd[@]}" >/dev/null 2>"$WORK/err" ||
        { echo "batch.sh: $name failed:" >&2; cat "$WORK/err" >&2; exit 1; }
    tail -n 1 "$WORK/time" | awk '{ print $1, $2, $3 + $4 }'
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Runs every program ROUNDS times, alternating, on the files in "$@"; prints a table.
paired() {
    local programs=(vips)
    [ "$MAGICK" = 1 ] && programs+=(magick)
    local j
    for j in $JOBS; do programs+=("tessaro-j$j"); done
    if [ "$SMOOTH" = 1 ]; then
        for j in $JOBS; do programs+=("tessaro-smooth-j$j"); done
    fi
    [ -x "$WINDOW_BENCH" ] && programs+=(window)
    local r p
    for ((r = 1; r <= ROUNDS; ++r)); do
        for p in "${programs[@]}"; do
            measure "$p" "$@" >>"$WORK/runs-$p"
        done
    done
    local files=$#
    printf '%-14s %8s %9s %9s %10s %10s %8s %9s\n' program seconds files/s peak-MiB \
        "speed/vips" "RSS/vips" cpu-s "cpu/vips"
    local vipsTime vipsRss vipsCpu
    vipsTime=$(cut -d' ' -f1 "$WORK/runs-vips" | median)
    vipsRss=$(cut -d' ' -f2 "$WORK/runs-vips" | median)
    vipsCpu=$(cut -d' ' -f3 "$WORK/runs-vips" | median)
    for p in "${programs[@]}"; do
        local t m c
        t=$(cut -d' ' -f1 "$WORK/runs-$p" | median)
        m=$(cut -d' ' -f2 "$WORK/runs-$p" | median)
        c=$(cut -d' ' -f3 "$WORK/runs-$p" | median)
        awk -v p="$p" -v t="$t" -v m="$m" -v c="$c" -v n="$files" -v vt="$vipsTime" \
            -v vm="$vipsRss" -v vc="$vipsCpu" 'BEGIN {
                printf "%-14s %8.2f %9.1f %9.1f %9.2fx %9.2fx %8.2f %8.2fx\n",
                       p, t, n / t, m / 1024, vt / t, m / vm, c, vc / c }'
    done
    rm -f "$WORK"/runs-*
    if [ -n "${QUALITY:-}" ]; then
        local folders=("$WORK/out-vips")
        for p in "${programs[@]}"; do
            case $p in tessaro*)
                ln -sfn "$WORK/out-$p/Elaborate" "$WORK/$p"
                folders+=("$WORK/$p")
                ;;
            esac
        done
        echo
        "$QUALITY" "$CORPUS/jpg" "${folders[@]}"
    fi
}

echo "corpus: $COUNT photos in $CORPUS/jpg; $(nproc) cores; $ROUNDS rounds; $(date -u +%FT%TZ)"
if [ "$SCALE" -eq 0 ]; then
    paired "${PHOTOS[@]}"
    exit 0
fi

# The scale run: N links cycling through the photos, against the plain batch, tessaro only.
mkdir -p "$WORK/links"
LINKS=()
for ((i = 0; i < SCALE; ++i)); do
    link=$(printf '%s/links/%05d_%s' "$WORK" "$i" "$(basename "${PHOTOS[i % COUNT]}")")
    ln -s "${PHOTOS[i % COUNT]}" "$link"
    LINKS+=("$link")
done
printf '%-22s %7s %9s %12s %9s %12s\n' run files seconds "ms per file" peak-MiB "cpu ms/file"
for j in $JOBS; do
    for set in plain scaled; do
        if [ $set = plain ]; then files=("${PHOTOS[@]}"); else files=("${LINKS[@]}"); fi
        for ((r = 1; r <= ROUNDS; ++r)); do
            measure "tessaro-j$j" "${files[@]}" >>"$WORK/runs-$set"
        done
        t=$(cut -d' ' -f1 "$WORK/runs-$set" | median)
        m=$(cut -d' ' -f2 "$WORK/runs-$set" | median)
        c=$(cut -d' ' -f3 "$WORK/runs-$set" | median)
        awk -v r="tessaro-j$j $set" -v n="${#files[@]}" -v t="$t" -v m="$m" -v c="$c" \
            'BEGIN { printf "%-22s %7d %9.2f %12.2f %9.1f %12.2f\n", r, n, t, 1000 * t / n, m / 1024, 1000 * c / n }'
        rm -f "$WORK/runs-$set"
    done
done
