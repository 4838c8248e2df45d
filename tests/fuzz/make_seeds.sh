#!/usr/bin/env bash
# Gathers the seed corpora of the fuzz targets into one folder per target:
# the fixtures of the tests, the small text seeds of seeds/, datagrams and
# tag blocks written here byte by byte, and short songs made with the same
# tools as the audio tests (sox, flac, oggenc, lame). Nothing large is kept
# in the repository; run it again whenever you like, it only adds files.
#
#   tests/fuzz/make_seeds.sh OUT      (e.g. build-fuzz/fuzz-seeds)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
out="${1:?usage: make_seeds.sh OUT}"
targets=(projectfile listcodecs commands server boarddatagrams rdsgrouplines rdstext rdsmonitor
    tmclists tagreaders decoder_wav decoder_flac decoder_ogg decoder_mp3)
for target in "${targets[@]}"; do
    mkdir -p "$out/$target"
done
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# --- text seeds kept in the repository; commands and server lines share theirs
for target in listcodecs commands server rdsgrouplines rdstext; do
    cp "$here/seeds/$target/"* "$out/$target/"
done
cp "$here/seeds/server/"* "$out/commands/"
cp "$here/seeds/commands/"* "$out/server/"

# --- dictionaries of the text targets: the schema's keys, their words and
# the protocol's verbs, so the fuzzer spends its time on known keys
schema_keys=$(grep -o '^    {"[a-z0-9.]*"' "$root/source/settings/ParameterSchema.cpp" | cut -d'"' -f2)
{
    for key in $schema_keys; do
        printf '"%s"\n' "$key" "$(printf '%s' "$key" | sed 's/\./.1./')"
        for word in $(printf '%s' "$key" | tr '.' ' '); do
            printf '"%s."\n".%s"\n' "$word" "$word"
        done
    done
    printf '"%s "\n' SET GET ADD DEL HELP REG UNR
    printf '"%s"\n' '*' ',' '-' '/' '0' '96'
} | sort -u > "$out/commands.dict"
{
    cat "$out/commands.dict"
    printf '"%s "\n' NEW LOAD SAVE CD DIR LIST LS VER AIR UNREG
    printf '"%s"\n' rdslog modul.offline modul.onair
    printf '"%s"\n' '\x0D\x0A' '\x00' '\"'
} > "$out/server.dict"
{
    for key in $schema_keys; do
        printf '"[%s.1]"\n' "${key%%.*}"
        printf '"%s="\n' "$(printf '%s' "${key#*.}" | sed 's/\./\\\\/g')"
    done
    printf '"%s"\n' '[board]' '[events.1]' '@ByteArray(' '@Variant(' '\\\\' '\x0A' '=' ', ' '\"'
} | sort -u > "$out/projectfile.dict"

# --- project files: the fixtures of the store and server tests
cp "$root/tests/settings/data/"*.fm "$out/projectfile/"
cp "$root/tests/remote/data/"*.fm "$out/projectfile/"

# --- TMC lists: four files in one input, each ended by a backslash and one
# more character (how the target splits its input)
lists="$root/tests/tmc/data/lists"
{
    cat "$lists/ECL401.csv"; printf '\\|'
    cat "$lists/forecast.csv"; printf '\\|'
    cat "$lists/suppinfo.csv"; printf '\\|'
    cat "$lists/LCL1.csv"; printf '\\|'
    printf '\x05\xdc\x30\x39'
} > "$out/tmclists/lists.bin"
cp "$lists/"*.csv "$out/tmclists/"

# --- board datagrams: each after its length byte and a clock byte
datagram() { # name, hex bytes
    local bytes
    bytes=$(printf '%s' "$2" | xxd -r -p | wc -c)
    { printf "\\x$(printf '%02x' "$bytes")\\x19"; printf '%s' "$2" | xxd -r -p; } \
        > "$out/boarddatagrams/$1.bin"
}
# info: tag QRV4, firmware 30, capacities, extra, box number
datagram info "0001515256340000001e0000000000004000000004000102030400ff"
datagram info-kxwb "00014b5857420000001c0000000000002000000002000000000000"
status="00210018"
for slot in $(seq 1 24); do status+="1f4000800001002d8a11"; done
datagram status "$status"
datagram status-short "0021002000001234"
datagram ack "0011010000ff"
datagram lock "0061c0a80001d4c1416c6963654070630000000000000000"
datagram lock-clients "0061c0a80001d4c1416c6963654070630000000000000000c0a8000adead0003c0a8000bbeef0010000000000000000000000000000000"
datagram answer "00510002c0a8fa12c0a80014f00f"
cat "$out/boarddatagrams/"*.bin > "$out/boarddatagrams/all.bin"

# --- monitor records of channel 5, shown, their check words made right by
# the target: the group types the monitor decodes, and all of them in a row
python3 - "$out/rdsmonitor" <<'PY'
import pathlib, sys
out = pathlib.Path(sys.argv[1])
def value(blocks):
    bits = 0
    for block in blocks:
        bits = (bits << 26) | (block << 10)
    return bytes([64 + 5, 0x40 | 0x20 | 17]) + bits.to_bytes(13, "big") + bytes(4)
pi = 0x2345
groups = {
    "0a-af": [(pi, 0x0005, 0xE205, 0x4142), (pi, 0x0006, 0xFA10, 0x4344)],
    "2a-text": [(pi, 0x2000, 0x5155, 0x4F52), (pi, 0x2011, 0x5649, 0x4E0D)],
    "3a-oda": [(pi, 0x3016, 0x0000, 0x4BD7), (pi, 0x3019, 0x0001, 0x6552),
               (pi, 0x3010, 0x0047, 0xCD46)],
    "4a-clock": [(pi, 0x4001, 0xC0E4, 0x8023)],
    "8a-tmc": [(pi, 0x8000, 0x1B20, 0x1400), (pi, 0x8002, 0x8123, 0x0000),
               (pi, 0x8002, 0x61A0, 0x0000), (pi, 0x8002, 0x1000, 0x0000)],
    "texts": [(pi, 0xA000, 0x4A41, 0x5A5A), (pi, 0xF000, 0x4C6F, 0x6E67),
              (pi, 0xF806, 0x2345, 0x0000)],
}
for name, blocks in groups.items():
    (out / f"{name}.bin").write_bytes(b"".join(value(b) for b in blocks))
(out / "all.bin").write_bytes(b"".join(value(b) for bs in groups.values() for b in bs))
PY

# --- tag blocks, after the byte that chooses the reader
printf '\x03TITLE=Song of the day' > "$out/tagreaders/vorbis-comment.bin"
{
    printf '\x02INFO'
    printf 'INAM\x06\x00\x00\x00Title\x00'
    printf 'IART\x05\x00\x00\x00Band\x00\x00'
    printf 'ICMT\x03\x00\x00\x00abc\x00'
} > "$out/tagreaders/wav-info.bin"

# --- short songs
if command -v sox >/dev/null && command -v flac >/dev/null && command -v oggenc >/dev/null &&
    command -v lame >/dev/null; then
    sox -n -r 8000 -c 2 -b 16 "$work/stereo.wav" synth 0.1 sine 440 sine 660
    sox -n -r 8000 -c 1 -b 8 "$work/mono8.wav" synth 0.1 sine 440
    sox -n -r 8000 -c 2 -b 24 "$work/deep.wav" synth 0.05 sine 440 sine 660
    sox -n -r 8000 -c 1 -b 32 -e floating-point "$work/float.wav" synth 0.05 sine 440
    sox -n -r 44100 -c 2 -b 16 "$work/cd.wav" synth 0.1 sine 440 sine 660
    cp "$work/"{stereo,mono8,deep,float}.wav "$out/decoder_wav/"
    flac -s -f -T TITLE=Song -T ARTIST=Band -o "$out/decoder_flac/stereo.flac" "$work/stereo.wav"
    flac -s -f --blocksize=192 -o "$out/decoder_flac/mono8.flac" "$work/mono8.wav"
    flac -s -f -o "$out/decoder_flac/deep.flac" "$work/deep.wav"
    oggenc -Q -q 0 -c TITLE=Song -c ARTIST=Band -o "$out/decoder_ogg/stereo.ogg" "$work/stereo.wav"
    oggenc -Q -q 0 -o "$out/decoder_ogg/mono.ogg" "$work/mono8.wav"
    lame --quiet -b 32 --tt Song --ta Band --add-id3v2 "$work/cd.wav" "$out/decoder_mp3/id3v2.mp3"
    lame --quiet -b 8 --tt Song --ty 1999 --tg Rock --id3v1-only "$work/stereo.wav" \
        "$out/decoder_mp3/id3v1.mp3"
    lame --quiet -b 8 -m m "$work/mono8.wav" "$out/decoder_mp3/mono.mp3"
    { printf '\x00'; cat "$out/decoder_mp3/id3v2.mp3"; } > "$out/tagreaders/id3v2-stream.bin"
    { printf '\x04'; cat "$out/decoder_mp3/id3v2.mp3"; } > "$out/tagreaders/id3v2-file.bin"
    { printf '\x04'; cat "$out/decoder_mp3/id3v1.mp3"; } > "$out/tagreaders/id3v1-file.bin"
    { printf '\x01'; tail -c 128 "$out/decoder_mp3/id3v1.mp3"; } > "$out/tagreaders/id3v1.bin"
else
    echo "make_seeds.sh: sox, flac, oggenc or lame missing: no song seeds" >&2
fi
echo "seeds in $out"
