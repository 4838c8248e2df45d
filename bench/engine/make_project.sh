#!/bin/sh
# make_project.sh DIR [SECONDS] [BOARDS] [KIND]: writes DIR/project.fm for the
# engine benchmark with BOARDS x 24 channels (default 4), all sending RDS (PS,
# RadioText, AF filler), each playing 44.1 kHz 16-bit stereo tones made by
# sox. KIND chooses the playlists:
#   flac  (default) one FLAC file of SECONDS (default 20) per playlist;
#   songs           2-second songs in MP3, Ogg Vorbis and FLAC by turns, so
#                   every channel changes song every 2 seconds (SECONDS is
#                   not used).
set -e
dir=$1
seconds=${2:-20}
boards=${3:-4}
kind=${4:-flac}
if [ -z "$dir" ] || { [ "$kind" != flac ] && [ "$kind" != songs ]; }; then
    echo "usage: make_project.sh DIR [SECONDS] [BOARDS] [flac|songs]" >&2
    exit 2
fi
channels=$((boards * 24))
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)
project="$dir/project.fm"

# tone N LENGTH FILE: two sines that differ per playlist, in the format the
# file's ending names.
tone() {
    [ -f "$3" ] || sox -n -r 44100 -c 2 -b 16 "$3" synth "$2" sine $((200 + 20 * $1)) \
        sine $((400 + 30 * $1))
}

# playlist N: the playlist entries of playlist N, one "index=path" a line.
playlist() {
    if [ "$kind" = flac ]; then
        tone "$1" "$seconds" "$dir/tone$1.flac"
        echo "0=$dir/tone$1.flac"
        return
    fi
    wav="$dir/song$1.wav"
    tone "$1" 2 "$wav"
    [ -f "$dir/song$1.mp3" ] || lame --quiet "$wav" "$dir/song$1.mp3"
    [ -f "$dir/song$1.ogg" ] || oggenc -Q -o "$dir/song$1.ogg" "$wav"
    [ -f "$dir/song$1.flac" ] || flac -s -f -o "$dir/song$1.flac" "$wav"
    echo "0=$dir/song$1.mp3"
    echo "1=$dir/song$1.ogg"
    echo "2=$dir/song$1.flac"
}

printf '[board]\ngmin=1\nband=0\nattn=0\n\n' > "$project"
printf '[rds.1]\nused=1\nps=BENCH\nrta=Benchmark RadioText\npi=d311\n0=-1\n2=60\n\n' >> "$project"
for n in $(seq 1 "$channels"); do
    k=$(( (n - 1) % 24 + 1 ))
    freq=$(awk "BEGIN { printf \"%.1f\", 87.6 + ((($n - 1) % 24) * 0.8) }")
    printf '[channel.%d]\nused=1\nfreq=%s\nidaudio=%d\nidrds=1\n\n' "$n" "$freq" "$n" >> "$project"
    printf '[audio.%d]\nused=1\ntype=2\nfile=playlist.%d\n\n' "$n" "$k" >> "$project"
done
for k in $(seq 1 24); do
    printf '[playlist.%d]\n' "$k" >> "$project"
    playlist "$k" >> "$project"
    printf '\n' >> "$project"
done
rm -f "$dir"/song*.wav
echo "$project"
