#!/bin/sh
# make_project.sh FILE [CHANNELS]: writes a project for the control server
# benchmark with CHANNELS channels (default 96) and every feature the store
# keeps: channels with their audio sources, one RDS source per channel with
# RadioText, RT+ tags, group rates of every type, AF lists (automatic,
# manual, regional), EON entries with their own PS and AF, ODA rows, one TMC
# source per 4 channels with messages and a service key table, and one
# playlist per 4 channels. 96 channels give about 10,000 keys; 1 channel
# gives the small project of the same shape. The audio files need not exist.
set -e
file=$1
channels=${2:-96}
if [ -z "$file" ]; then
    echo "usage: make_project.sh FILE [CHANNELS]" >&2
    exit 2
fi
groups=$(( (channels + 3) / 4 ))
mkdir -p "$(dirname "$file")"

awk -v channels="$channels" -v groups="$groups" '
function group(name) { printf "[%s]\n", name }
BEGIN {
    group("board")
    print "gmin=1"; print "band=0"; print "attn=-3"; print "rand=4711"; print ""

    for (n = 1; n <= channels; n++) {
        g = int((n - 1) / 4) + 1
        group("channel." n)
        print "used=1"
        printf "freq=%.1f\n", 87.6 + ((n - 1) % 100) * 0.2
        print "idaudio=" n; print "idrds=" n
        print "gain=-3"; print "volm=80"; print "devi=75"; print "emph=1"
        print "rate=44100"; print "mono=0"; print "mute=0"; print "auto=1"; print ""

        group("audio." n)
        print "used=1"; print "type=2"; print "name=Source " n
        print "file=playlist." g
        print "frq1=1000"; print "frq2=2000"; print "vol1=50"; print "vol2=60"; print "time=8"
        print ""

        group("rds." n)
        print "used=1"; print "name=Programme " n
        print "lps=Programme number " n " long name"
        print "ps=PROG" n
        printf "pi=d%03x\n", n
        print "tp=1"; print "ta=0"; print "ms=1"; print "pty=" (n % 31) + 1; print "dec=1"
        print "rta=Now playing on programme " n ": the song title by the artist"
        print "rtb=Next on programme " n ": the news"
        print "rtc=Enhanced text C of programme " n
        print "rtd=Enhanced text D of programme " n
        print "pn1=NEWS"; print "pn2=MUSIC"
        print "rtxt=129"; print "rtxg=0"; print "rtgrp=24"; print "rtitm=3"
        print "paid=19415"; print "eaid=27371"; print "enc=UTF-8"
        print "pss=0"; print "boml=0"
        print "rpa=3"; print "rpb=3"; print "rpc=1"; print "rpd=1"
        print "zone=1"; print "mins=0"; print "date=0"
        print "page=0"; print "slow=0"; print "pin=0"
        print "tmcsi=" g; print "tmgap=0"; print "mode=1"
        print "afu=7"
        print "af=" 900 + n " " 950 + n " " 1000 + n
        print "afs=" 910 + n " " 960 + n " -" 1010 + n
        print "afr=" 1010 + n
        print "rttag\\0=1 Title text"; print "rttag\\1=4 The Artist"
        for (k = 0; k < 16; k++)
            print "gmin\\" k "=1 " (k < 4 ? 60 : 5) " 0 0 0"
        for (m = 0; m < 4; m++) {
            printf "eon\\%d=%d d%03x %d 1 0 %x\n", m, m, (n + m) % 4096, m + 3, m
            printf "eon\\%d\\ps=EON%d-%d\n", m, n, m
            printf "eon\\%d\\af=%d %d\n", m, 904 + m, -958 - m
        }
        print "oda\\0=cd46 0 0 0 400 400 400 400 2 0 0 0 1"
        print "oda\\1=4bd7 0 0 0 400 400 400 400 1 0 0 0 1"
        print ""
    }

    for (g = 1; g <= groups; g++) {
        group("tmc." g)
        print "used=1"; print "name=Traffic " g; print "spn=Provider"; print "flag=9"
        print "rate=15"; print "aid=52550"; print "va0=71"; print "va1=16397"; print "va2=32992"
        print "va3=49152"; print "rpt=3"; print "enc=31"; print "skt=1 2 ab ffff"
        for (m = 0; m < 20; m++)
            print m "=" m % 2 " " m % 3 " " 1500 + m " " 12345 + g * 100 + m " 1"
        print ""

        group("playlist." g)
        print "name=Playlist " g
        for (m = 0; m < 40; m++)
            printf "%d=/music/playlist%02d/song%03d.flac\n", m, g, m
        print ""
    }
}' > "$file"
echo "$file: $(grep -c '=' "$file") keys"
