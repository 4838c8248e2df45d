#!/usr/bin/env bash
# Runs fuzz targets one after the other, each for the given time, on its
# growing corpus (BUILD/fuzz-corpus/<target>) and its seeds
# (BUILD/fuzz-seeds/<target>, made by make_seeds.sh). Findings go to
# BUILD/fuzz-artifacts/<target>/; the leak check takes lsan.supp, and a
# target with a dictionary (BUILD/fuzz-seeds/<target>.dict) gets it.
#
#   tests/fuzz/run_fuzzers.sh BUILD SECONDS [JOBS] [TARGET...]
# JOBS processes run each target at once (default 1); without targets, all.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:?usage: run_fuzzers.sh BUILD SECONDS [JOBS] [TARGET...]}" && pwd)"
seconds="${2:?seconds per target}"
jobs="${3:-1}"
shift $(($# < 3 ? $# : 3))
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=(projectfile listcodecs commands server boarddatagrams rdsgrouplines rdstext rdsmonitor
        tmclists tagreaders decoder_wav decoder_flac decoder_ogg decoder_mp3)
fi
[ -d "$build/fuzz-seeds" ] || "$here/make_seeds.sh" "$build/fuzz-seeds"
export LSAN_OPTIONS="suppressions=$here/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
parallel=()
[ "$jobs" -gt 1 ] && parallel=(-jobs="$jobs" -workers="$jobs")
status=0
for target in "${targets[@]}"; do
    corpus="$build/fuzz-corpus/$target"
    artifacts="$build/fuzz-artifacts/$target"
    mkdir -p "$corpus" "$artifacts" "$build/fuzz-seeds/$target"
    dictionary=()
    [ -f "$build/fuzz-seeds/$target.dict" ] && dictionary=(-dict="$build/fuzz-seeds/$target.dict")
    echo "== $target: $seconds s, $jobs job(s)"
    (cd "$artifacts" && "$build/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=30 \
        "${parallel[@]}" "${dictionary[@]}" -print_final_stats=1 -artifact_prefix="$artifacts/" \
        "$corpus" "$build/fuzz-seeds/$target") || status=1
done
exit $status
