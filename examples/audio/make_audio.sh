#!/bin/sh
# Makes the three short audio files the examples 11-2 and 11-4 play: plucked
# notes made by sox, encoded by flac, oggenc and lame with title and artist
# tags (RadioText+ in 11-4 sends them). Run from this folder.
set -e

# notes OUT.wav NOTE...: half a second per note, 44.1 kHz 16-bit stereo.
notes() {
    out=$1
    shift
    parts=""
    i=0
    for note in "$@"; do
        sox -n -r 44100 -c 2 -b 16 "note$i.wav" synth 0.5 pluck "$note" fade 0 0.5 0.2 vol 0.25
        parts="$parts note$i.wav"
        i=$((i + 1))
    done
    # shellcheck disable=SC2086
    sox $parts "$out"
    rm -f note*.wav
}

notes scale.wav C4 D4 E4 F4 G4 A4 B4 C5
notes triad.wav A3 C4 E4 A4 E4 C4 A3 E3
notes chords.wav F3 A3 C4 F4 C4 A3 F3 C3

flac -s -8 --force -T "TITLE=Tonleiter in C" -T "ARTIST=Quorvin Beispiel" \
    -T "ALBUM=Beispiele" -T "TRACKNUMBER=1" scale.wav -o tonleiter.flac
oggenc -Q -q 1 -t "Dreiklang in a" -a "Quorvin Beispiel" -l "Beispiele" -N 2 \
    triad.wav -o dreiklang.ogg
lame --quiet -b 64 --tt "Akkorde in F" --ta "Quorvin Beispiel" --tl "Beispiele" --tn 3 \
    chords.wav akkorde.mp3
rm -f scale.wav triad.wav chords.wav
