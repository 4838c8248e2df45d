#include "settings/ParameterSchema.h"

#include <QCoreApplication>

#include <iterator>

namespace {

struct Row
{
    const char* key;
    int type;
    double min;
    double max;
    double step;
    const char* unit;
    const char* help;
};

const Row kRows[] = {
    {"channel.freq", KeyInfo::Double, 76, 108, 0.05, "MHz",
     QT_TRANSLATE_NOOP("FMSettings", "channel transmission frequency")},
    {"channel.used", KeyInfo::Integer, 0, 1, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "toggle channel (on/off)")},
    {"channel.mute", KeyInfo::Integer, 0, 1, 0, "", QT_TRANSLATE_NOOP("FMSettings", "mute audio")},
    {"channel.mono", KeyInfo::Integer, 0, 1, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "channel is 1=mono or 0=stereo")},
    {"channel.gain", KeyInfo::Integer, -60, 0, 1, "dB",
     QT_TRANSLATE_NOOP("FMSettings", "channel gain 0 (full power) to -60 (noise-floor)")},
    {"channel.volm", KeyInfo::Integer, 0, 100, 0, "%",
     QT_TRANSLATE_NOOP("FMSettings", "channel audio pcm volume (linear)")},
    {"channel.devi", KeyInfo::Integer, 0, 130, 1, "kHz",
     QT_TRANSLATE_NOOP("FMSettings", "channel deviation")},
    {"channel.emph", KeyInfo::Integer, 0, 2, 0, "µs",
     QT_TRANSLATE_NOOP("FMSettings", "channel preemphasis 0=none 1=50us 2=75us")},
    {"channel.rate", KeyInfo::Integer, 32000, 48000, 0, "Hz",
     QT_TRANSLATE_NOOP("FMSettings", "channel sample rate (32000, 44100, 48000)")},
    {"channel.auto", KeyInfo::Integer, 0, 1, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "auto sample rate change on song change")},
    {"channel.aof", KeyInfo::Double, -1000, 1000, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "channel gain offset (deprecated)")},
    {"channel.att", KeyInfo::String, 0, 0, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "channel gain unit (deprecated)")},
    {"channel.idrds", KeyInfo::IdLink, -2147483648.0, 2147483647, 0, "rds",
     QT_TRANSLATE_NOOP("FMSettings", "channel rds source id")},
    {"channel.idaudio", KeyInfo::IdLink, 0, 2147483647, 0, "audio",
     QT_TRANSLATE_NOOP("FMSettings", "channel audio source id")},
    {"audio.type", KeyInfo::Integer, 0, 2, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "audio type 0=sinus 1=ramp 2=file")},
    {"audio.used", KeyInfo::Integer, 0, 1, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "audio source enabled/disabled")},
    {"audio.frq1", KeyInfo::Integer, 10, 22000, 0, "Hz",
     QT_TRANSLATE_NOOP("FMSettings", "first frequency for sinus/ramp")},
    {"audio.frq2", KeyInfo::Integer, 10, 22000, 0, "Hz",
     QT_TRANSLATE_NOOP("FMSettings", "second frequency for sinus/ramp")},
    {"audio.vol1", KeyInfo::Integer, 0, 100, 0, "%",
     QT_TRANSLATE_NOOP("FMSettings", "first volume for sinus/ramp")},
    {"audio.vol2", KeyInfo::Integer, 0, 100, 0, "%",
     QT_TRANSLATE_NOOP("FMSettings", "second volume for sinus/ramp")},
    {"audio.time", KeyInfo::Integer, 1, 60, 0, "s",
     QT_TRANSLATE_NOOP("FMSettings", "ramp duration")},
    {"audio.file", KeyInfo::String, 0, 0, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "audio file/playlist name")},
    {"audio.name", KeyInfo::String, 0, 0, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "audio source name")},
    {"playlist.name", KeyInfo::String, 0, 0, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "playlist name")},
    {"playlist.", KeyInfo::List | KeyInfo::String, 0, 0, 1, "",
     QT_TRANSLATE_NOOP("FMSettings", "playlist file")},
    {"rds.used", KeyInfo::Integer, 0, 1, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds source enabled/disabled")},
    {"rds.name", KeyInfo::String, 0, 0, 0, "", QT_TRANSLATE_NOOP("FMSettings", "rds source name")},
    {"rds.lps", KeyInfo::String, 0, 0, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds long program service name")},
    {"rds.ps", KeyInfo::String, 0, 0, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds program service name")},
    {"rds.pi", KeyInfo::Hex, 0, 65535, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds program identifier")},
    {"rds.tp", KeyInfo::Integer, 0, 1, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds traffic program bit")},
    {"rds.ta", KeyInfo::Integer, 0, 1, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds traffic announce bit")},
    {"rds.ms", KeyInfo::Integer, 0, 1, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds music speech bit")},
    {"rds.pty", KeyInfo::Integer, 0, 31, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds program type")},
    {"rds.dec", KeyInfo::Integer, 0, 15, 0, "",
     QT_TRANSLATE_NOOP("FMSettings",
                       "rds decoder bits &1:stereo &2:artificial &4:compressed &8:dynPTY")},
    {"rds.rttag.", KeyInfo::List, 0, 0, 2, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds radio text tag")},
    {"rds.rta", KeyInfo::String, 0, 0, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds radio text A (group 2)")},
    {"rds.rtb", KeyInfo::String, 0, 0, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds radio text B (group 2)")},
    {"rds.rtc", KeyInfo::String, 0, 0, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds enhanced radio text C")},
    {"rds.rtd", KeyInfo::String, 0, 0, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds enhanced radio text D")},
    {"rds.pn1", KeyInfo::String, 0, 8, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds program type name 1")},
    {"rds.pn2", KeyInfo::String, 0, 8, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds program type name 2")},
    {"rds.tmcsi", KeyInfo::IdLink, 0, 50, 0, "tmc",
     QT_TRANSLATE_NOOP("FMSettings", "rds tmc source id")},
    {"rds.tmgap", KeyInfo::Integer, 0, 1, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds tmc force gap")},
    {"rds.rtgrp", KeyInfo::Integer, 0, 255, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds radio text plus ODA group")},
    {"rds.rtitm", KeyInfo::Integer, 0, 255, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds radio text plus items bits")},
    {"rds.rtbit", KeyInfo::Integer, 0, 65535, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds radio text plus message bits")},
    {"rds.boml", KeyInfo::Integer, 0, 255, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds &1=prepend BOM for LongPS")},
    {"rds.rtxt", KeyInfo::Integer, 0, 255, 0, "",
     QT_TRANSLATE_NOOP(
         "FMSettings",
         "rds &1=send radio text, &2=send enhanced radio text, &8=add RT BOM, &4=add eRT BOM (if "
         "supported by encoding), &16 toggle AB-Bit; send group 3A for &64=eRT, &128=RT+")},
    {"rds.rtxg", KeyInfo::Integer, 0, 255, 0, "",
     QT_TRANSLATE_NOOP(
         "FMSettings",
         "rds radio text sending in group 0=2A only, 1=2B only, 2=2A+2B simultaneously")},
    {"rds.ertg", KeyInfo::Integer, 0, 255, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds enhanced radio text group")},
    {"rds.ertb", KeyInfo::Integer, 0, 65535, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds enhanced radio text message bits")},
    {"rds.eaid", KeyInfo::Integer, 0, 65535, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds enhanced radio text AID (group 3)")},
    {"rds.paid", KeyInfo::Integer, 0, 65535, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds radio text plus AID (group 3)")},
    {"rds.pss", KeyInfo::Integer, 0, 255, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds PS scroll mode &8=scroll >>4+1=repeat &7=rate")},
    {"rds.afu", KeyInfo::Integer, 0, 15, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds AF bits: &1=use &2=auto &4=manual &8=A/B")},
    {"rds.af", KeyInfo::List | KeyInfo::Integer, 0, 0, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds automatic AF list (* 0.1 = MHz/kHz)")},
    {"rds.afs", KeyInfo::List | KeyInfo::Integer, -16100, 16100, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds manual AF list (* 0.1 = MHz/kHz)")},
    {"rds.afr", KeyInfo::List | KeyInfo::Integer, -16100, 16100, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds regional AF list (for method B)")},
    {"rds.rpa", KeyInfo::Integer, 0, 255, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds radio text A repeat")},
    {"rds.rpb", KeyInfo::Integer, 0, 255, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds radio text B repeat")},
    {"rds.rpc", KeyInfo::Integer, 0, 255, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds radio text C repeat")},
    {"rds.rpd", KeyInfo::Integer, 0, 255, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds radio text D repeat")},
    {"rds.enc", KeyInfo::String, 0, 0, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds encoding for enhanced radio text")},
    {"rds.crt", KeyInfo::String, 0, 0, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds encoding for standard radio text (E.1)")},
    {"rds.clps", KeyInfo::String, 0, 0, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds encoding for LongPS (UTF-8)")},
    {"rds.enda", KeyInfo::Integer, 0, 255, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds radio text A end char")},
    {"rds.endb", KeyInfo::Integer, 0, 255, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds radio text B end char")},
    {"rds.endc", KeyInfo::Integer, 0, 255, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds radio text C end char")},
    {"rds.endd", KeyInfo::Integer, 0, 255, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds radio text D end char")},
    {"rds.endl", KeyInfo::Integer, 0, 255, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds LongPS end char")},
    // Five flags: RadioText A to D (bits 0-3) and the long PS (bit 4); the
    // reader's default 31 sets them all.
    {"rds.endx", KeyInfo::Integer, 0, 31, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds append end char to radio text A-D and LongPS")},
    {"rds.rp1", KeyInfo::Integer, 0, 255, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds program type 1 repeat")},
    {"rds.rp2", KeyInfo::Integer, 0, 255, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds program type 2 repeat")},
    {"rds.zone", KeyInfo::Integer, -12, 12, 0, "h",
     QT_TRANSLATE_NOOP("FMSettings", "rds group 4 UTC zone hour offset")},
    {"rds.mins", KeyInfo::Integer, -960, 960, 0, "min",
     QT_TRANSLATE_NOOP("FMSettings", "rds group 4 minute offset")},
    {"rds.days", KeyInfo::Integer, 0, 73048, 0, "d",
     QT_TRANSLATE_NOOP("FMSettings", "rds group 4 fix date in days since 1.3.1900")},
    {"rds.date", KeyInfo::Integer, 0, 1, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds group 4 use 0=date of today, 1=fix date from days")},
    {"rds.err", KeyInfo::Integer, 0, 255, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds error gen 0=invert, 1=set to 0, 2=set to 1, &128=on")},
    {"rds.ber", KeyInfo::Integer, 0, 100, 0, "%",
     QT_TRANSLATE_NOOP("FMSettings", "rds error gen bit error rate")},
    {"rds.fix", KeyInfo::Integer, 0, 255, 0, "",
     QT_TRANSLATE_NOOP(
         "FMSettings",
         "rds error gen fix 1=checkword | 2=group | 4=PI | &128=exact ber bits per group")},
    {"rds.gmin.", KeyInfo::List | KeyInfo::Integer, -685, 685, 5, "G/min",
     QT_TRANSLATE_NOOP("FMSettings", "rds rates [0=off|1=on] stream1 stream2 stream3 stream4")},
    {"rds.gmin.0", KeyInfo::List | KeyInfo::Integer, -685, 685, 5, "G/min",
     QT_TRANSLATE_NOOP("FMSettings", "rds group 0A or 0B rates")},
    {"rds.gmin.2", KeyInfo::List | KeyInfo::Integer, -685, 685, 5, "G/min",
     QT_TRANSLATE_NOOP("FMSettings", "rds group 2A or 2B rates")},
    {"rds.gmin.1", KeyInfo::List | KeyInfo::Integer, -685, 685, 5, "G/min",
     QT_TRANSLATE_NOOP("FMSettings", "rds group 1A rates")},
    {"rds.gmin.3", KeyInfo::List | KeyInfo::Integer, -685, 685, 5, "G/min",
     QT_TRANSLATE_NOOP("FMSettings", "rds group 3A rates")},
    {"rds.gmin.4", KeyInfo::List | KeyInfo::Integer, -685, 685, 5, "G/min",
     QT_TRANSLATE_NOOP("FMSettings", "rds group 4A rates")},
    {"rds.gmin.5", KeyInfo::List | KeyInfo::Integer, -685, 685, 5, "G/min",
     QT_TRANSLATE_NOOP("FMSettings", "rds group 5A rates")},
    {"rds.gmin.6", KeyInfo::List | KeyInfo::Integer, -685, 685, 5, "G/min",
     QT_TRANSLATE_NOOP("FMSettings", "rds group 6A rates")},
    {"rds.gmin.7", KeyInfo::List | KeyInfo::Integer, -685, 685, 5, "G/min",
     QT_TRANSLATE_NOOP("FMSettings", "rds group 7A rates")},
    {"rds.gmin.8", KeyInfo::List | KeyInfo::Integer, -685, 685, 5, "G/min",
     QT_TRANSLATE_NOOP("FMSettings", "rds group 8A rates")},
    {"rds.gmin.9", KeyInfo::List | KeyInfo::Integer, -685, 685, 5, "G/min",
     QT_TRANSLATE_NOOP("FMSettings", "rds group 9A rates")},
    {"rds.gmin.10", KeyInfo::List | KeyInfo::Integer, -685, 685, 5, "G/min",
     QT_TRANSLATE_NOOP("FMSettings", "rds group 10A rates")},
    {"rds.gmin.11", KeyInfo::List | KeyInfo::Integer, -685, 685, 5, "G/min",
     QT_TRANSLATE_NOOP("FMSettings", "rds group 11A rates")},
    {"rds.gmin.12", KeyInfo::List | KeyInfo::Integer, -685, 685, 5, "G/min",
     QT_TRANSLATE_NOOP("FMSettings", "rds group 12A rates")},
    {"rds.gmin.13", KeyInfo::List | KeyInfo::Integer, -685, 685, 5, "G/min",
     QT_TRANSLATE_NOOP("FMSettings", "rds group 13A rates")},
    {"rds.gmin.14", KeyInfo::List | KeyInfo::Integer, -685, 685, 5, "G/min",
     QT_TRANSLATE_NOOP("FMSettings", "rds group 14A rates")},
    {"rds.gmin.15", KeyInfo::List | KeyInfo::Integer, -685, 685, 5, "G/min",
     QT_TRANSLATE_NOOP("FMSettings", "rds group 15A rates")},
    {"rds.buc1", KeyInfo::Integer, 0, 100, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds 15B TA on burst count")},
    {"rds.buc2", KeyInfo::Integer, 0, 100, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds 15B TA off burst count")},
    {"rds.but1", KeyInfo::Integer, 0, 100, 0, "dsec",
     QT_TRANSLATE_NOOP("FMSettings", "rds 15B TA on burst time")},
    {"rds.but2", KeyInfo::Integer, 0, 100, 0, "dsec",
     QT_TRANSLATE_NOOP("FMSettings", "rds 15B TA off burst time")},
    {"rds.eoc1", KeyInfo::Integer, 0, 100, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds eon TA on burst count")},
    {"rds.eoc2", KeyInfo::Integer, 0, 100, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds eon TA off burst count")},
    {"rds.eot1", KeyInfo::Integer, 0, 100, 0, "dsec",
     QT_TRANSLATE_NOOP("FMSettings", "rds eon TA on burst time")},
    {"rds.eot2", KeyInfo::Integer, 0, 100, 0, "dsec",
     QT_TRANSLATE_NOOP("FMSettings", "rds eon TA off burst time")},
    {"rds.eon.", KeyInfo::List | KeyInfo::Hex, 0, 0, 6, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds eon channel PI PTY TP TA link")},
    {"rds.eon.ps", KeyInfo::String, 0, 0, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds eon program service name")},
    {"rds.eon.af", KeyInfo::List | KeyInfo::Integer, 876, 16100, 0, "MHz",
     QT_TRANSLATE_NOOP("FMSettings", "rds eon alternative frequencies * 10 (958 -> 95.8 MHz)")},
    {"rds.page", KeyInfo::Integer, 0, 255, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds group 1 radio paging (5 bits)")},
    {"rds.slow", KeyInfo::Integer, 0, 65535, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds group 1 slow labeling code")},
    {"rds.pin", KeyInfo::Integer, 0, 65535, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds group 1 program item number")},
    {"rds.fused", KeyInfo::Integer, 0, 1, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds play log files on/off")},
    {"rds.files", KeyInfo::List | KeyInfo::String, 0, 0, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "rds play log file list")},
    {"rds.oda.", KeyInfo::List | KeyInfo::Hex, 0, 0, 13, "",
     QT_TRANSLATE_NOOP("FMSettings",
                       "rds2 ODA data: A B C D cwA cwB cwC cwD G0min G1min G2min G3min active")},
    {"rds.mode", KeyInfo::Integer, 1, 127, 0, "",
     QT_TRANSLATE_NOOP("FMSettings",
                       "rds2 streams to use bitmask (use stream 0, 1 and 3: 1+2+8 = 11)")},
    {"tmc.used", KeyInfo::Integer, 0, 1, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "tmc source enabled/disabled")},
    {"tmc.name", KeyInfo::String, 0, 0, 0, "", QT_TRANSLATE_NOOP("FMSettings", "tmc source name")},
    {"tmc.flag", KeyInfo::Integer, 0, 255, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "tmc enable &1/8/16/32=variant 0/1/2/3, &2=tmcpro &4=skt")},
    {"tmc.rate", KeyInfo::Integer, 0, 255, 0, "G/min",
     QT_TRANSLATE_NOOP("FMSettings", "tmc ENCID rate (groups per minute)")},
    {"tmc.spn", KeyInfo::String, 0, 0, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "tmc service provider name")},
    {"tmc.aid", KeyInfo::Integer, 0, 65535, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "tmc AID application id (block 4, usually CD46)")},
    {"tmc.va0", KeyInfo::Integer, 0, 65535, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "tmc variant 0 data (block 3)")},
    {"tmc.va1", KeyInfo::Integer, 0, 65535, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "tmc variant 1 data (block 3)")},
    {"tmc.va2", KeyInfo::Integer, 0, 65535, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "tmc variant 2 data (block 3)")},
    {"tmc.va3", KeyInfo::Integer, 0, 65535, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "tmc variant 3 data (block 3)")},
    {"tmc.ltn", KeyInfo::Integer, 0, 63, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "tmc LTN location table number (in va0)")},
    {"tmc.sid", KeyInfo::Integer, 0, 63, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "tmc SID service identification (in va1)")},
    {"tmc.ltcc", KeyInfo::Hex, 0, 15, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "tmc location table country code (in va1)")},
    {"tmc.ltecc", KeyInfo::Hex, 0, 255, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "tmc location table extended country code (in va2)")},
    {"tmc.rpt", KeyInfo::Integer, 1, 50, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "tmc immediate group repeat")},
    {"tmc.enc", KeyInfo::Integer, 0, 31, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "tmc ENCID encryption id for TMCpro")},
    {"tmc.skt.", KeyInfo::List | KeyInfo::Hex, 0, 65535, 32, "",
     QT_TRANSLATE_NOOP("FMSettings", "tmc service key table")},
    {"tmc.", KeyInfo::List | KeyInfo::Integer, 0, 0, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "tmc duration extent event place send labels")},
    {"get", KeyInfo::None, 0, 0, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "usage: GET key (get value for key) example: GET rds.1.ps")},
    {"set", KeyInfo::None, 0, 0, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "usage: SET key value (set value for key)")},
    {"reg", KeyInfo::None, 0, 0, 0, "",
     QT_TRANSLATE_NOOP("FMSettings",
                       "usage: REG key (receive key change events) example: REG rds.1")},
    {"unr", KeyInfo::None, 0, 0, 0, "",
     QT_TRANSLATE_NOOP("FMSettings",
                       "usage: UNR key (unregister key, dont get change notification)")},
    {"cd", KeyInfo::None, 0, 0, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "usage: CD path (change directory) example: CD ..")},
    {"dir", KeyInfo::None, 0, 0, 0, "",
     QT_TRANSLATE_NOOP("FMSettings",
                       "usage: DIR path mask (list files in path) example: DIR . *.fm")},
    {"list", KeyInfo::None, 0, 0, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "usage: LIST path mask (same as DIR) example: LIST . *.fm")},
    {"rdslog", KeyInfo::String, 0, 0, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "example: SET rdslog time raw data group")},
    {"modul", KeyInfo::String, 0, 0, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "modulator state: onair (transmitting) or offline")},
    {"board.band", KeyInfo::Integer, 0, 2, 0, "",
     QT_TRANSLATE_NOOP("FMSettings", "0=EU, 1=Japan, 2=Brazil")},
    {"board.attn", KeyInfo::Integer, -31, 0, 0, "dB",
     QT_TRANSLATE_NOOP("FMSettings", "attenuate HF signal")},
    {"board.gmin", KeyInfo::None, 0, 0, 0, "",
     QT_TRANSLATE_NOOP(
         "FMSettings",
         "rds transmission rates are give in groups per mintue (old: dsec if key is not present)")},
};

static_assert(std::size(kRows) == ParameterSchema::kEntryCount);

} // namespace

QMap<QString, KeyInfo>& ParameterSchema::table()
{
    static QMap<QString, KeyInfo> schema;
    return schema;
}

void ParameterSchema::define()
{
    QMap<QString, KeyInfo>& schema = table();
    schema.clear();
    for (const Row& row : kRows) {
        KeyInfo info;
        info.type = row.type;
        info.min = row.min;
        info.max = row.max;
        info.step = row.step;
        info.unit = QString::fromUtf8(row.unit);
        info.help = QCoreApplication::translate("FMSettings", row.help);
        schema.insert(QString::fromLatin1(row.key), info);
    }
}

const QMap<QString, KeyInfo>& ParameterSchema::entries()
{
    return table();
}

bool ParameterSchema::contains(const QString& schemaKey)
{
    return table().contains(schemaKey);
}

KeyInfo ParameterSchema::info(const QString& schemaKey)
{
    return table().value(schemaKey);
}

void ParameterSchema::setBandBounds(int band)
{
    auto it = table().find(QStringLiteral("channel.freq"));
    if (it == table().end())
        return;
    switch (band) {
    case 0:
        it->min = 87.5;
        it->max = 108.0;
        break;
    case 1:
        it->min = 76.0;
        it->max = 95.0;
        break;
    default:
        it->min = 76.0;
        it->max = 108.0;
        break;
    }
}
