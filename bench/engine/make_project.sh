#!/bin/sh
# make_project.sh DIR [SECONDS] [BOARDS]: writes DIR/project.fm for the engine
# benchmark with BOARDS x 24 channels (default 4), each playing a FLAC file
# of SECONDS (default 20) of 44.1 kHz 16-bit stereo tones made by sox, and
# all sending RDS (PS, RadioText, AF filler).
set -e
dir=$1
seconds=${2:-20}
boards=${3:-4}
channels=$((boards * 24))
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)
project="$dir/project.fm"
printf '[board]\ngmin=1\nband=0\nattn=0\n\n' > "$project"
printf '[rds.1]\nused=1\nps=BENCH\nrta=Benchmark RadioText\npi=d311\n0=-1\n2=60\n\n' >> "$project"
for n in $(seq 1 24); do
    f="$dir/tone$n.flac"
    [ -f "$f" ] || sox -n -r 44100 -c 2 -b 16 "$f" synth "$seconds" sine $((200 + 20 * n)) sine $((400 + 30 * n))
done
for n in $(seq 1 "$channels"); do
    k=$(( (n - 1) % 24 + 1 ))
    freq=$(awk "BEGIN { printf \"%.1f\", 87.6 + ((($n - 1) % 24) * 0.8) }")
    printf '[channel.%d]\nused=1\nfreq=%s\nidaudio=%d\nidrds=1\n\n' "$n" "$freq" "$n" >> "$project"
    printf '[audio.%d]\nused=1\ntype=2\nfile=playlist.%d\n\n' "$n" "$k" >> "$project"
done
for k in $(seq 1 24); do
    printf '[playlist.%d]\n0=%s\n\n' "$k" "$dir/tone$k.flac" >> "$project"
done
echo "$project"
