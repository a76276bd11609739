#!/usr/bin/env python3
"""Compose and write the race music of Kelto1 as data/bgm.mid.

Standard library only; the tune is our own composition, written note by note
below, and the Standard MIDI File bytes are assembled here by hand.

"Overdrive Boulevard", A minor, 144 BPM, 4/4, 44 bars (about 73 s):

    bars  1-4   Intro   Am Am F G        drums build, bass pump, piano arpeggio
    bars  5-12  A       Am F C G Am F Dm E   saw lead states the hook,
                                          the synth brass answers every two bars
    bars 13-20  A'      same, the pair join in harmony for the cadence
    bars 21-28  B       F G Em Am Dm G C E   brass leads, saw answers, ride cymbal
    bars 29-36  Bridge  F G Em Am F G E E    half-time breakdown, long notes,
                                          snare build into ...
    bars 37-44  A''     hook in harmony, trading, cadence on E which leads
                                          straight back into the Intro's Am

The sequencer restarts the file when it ends, so every track ends exactly on
the last bar line and the final dominant chord resolves into bar 1.

Format 1 with 7 tracks: conductor (tempo, metre, section markers), drums
(channel 10), bass, electric piano, pad, saw lead, synth brass.

Usage: python3 tools/gen_music.py [output_path]   (default: data/bgm.mid)
"""
import os
import random
import struct
import sys

PPQ = 480                 # ticks per quarter note
BPM = 144
STEP = PPQ // 4           # one sixteenth
BAR = 16 * STEP

rng = random.Random()        # seeded in build_tracks()

# ----------------------------------------------------------------------------
# Form
# ----------------------------------------------------------------------------

SECTIONS = [              # (name, first bar, chords, one per bar)
    ("Intro", 0, "Am Am F G"),
    ("A", 4, "Am F C G Am F Dm E"),
    ("A2", 12, "Am F C G Am F Dm E"),
    ("B", 20, "F G Em Am Dm G C E"),
    ("Bridge", 28, "F G Em Am F G E E"),
    ("A3", 36, "Am F C G Am F Dm E"),
]
TOTAL_BARS = 44

CHORD_TONES = {           # pitch classes, root first
    "Am": (9, 0, 4), "F": (5, 9, 0), "C": (0, 4, 7), "G": (7, 11, 2),
    "Dm": (2, 5, 9), "E": (4, 8, 11), "Em": (4, 7, 11),
}


def bar_info():
    """Per bar: (section name, bar within section, chord name)."""
    out = []
    for name, start, chords in SECTIONS:
        for i, ch in enumerate(chords.split()):
            out.append((name, i, ch))
    assert len(out) == TOTAL_BARS
    return out


BARS = bar_info()

# ----------------------------------------------------------------------------
# Melody notation: "A4:3 C5:3 r:2 | ..." durations in sixteenths, '|' = bar
# ----------------------------------------------------------------------------

NOTE_PC = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}


def pitch(name):
    pc = NOTE_PC[name[0]]
    i = 1
    while i < len(name) and name[i] in "#b":
        pc += 1 if name[i] == "#" else -1
        i += 1
    return pc + 12 * (int(name[i:]) + 1)


def parse_line(text):
    """-> list of bars, each a list of (start_step, length_steps, pitch or None)."""
    bars = []
    for bar_text in text.split("|"):
        pos = 0
        notes = []
        for tok in bar_text.split():
            name, length = tok.split(":")
            length = int(length)
            notes.append((pos, length, None if name == "r" else pitch(name)))
            pos += length
        assert pos == 16, "bar does not add up to 16 sixteenths: %r" % bar_text
        bars.append(notes)
    return bars


REST = "r:16"

# The hook and its answers, section by section (8 bars each).
LEAD = {
    "A": " | ".join([
        "A4:3 C5:3 E5:2 A5:4 G5:2 E5:2",
        "F5:3 E5:3 C5:2 A4:6 r:2",
        REST, REST,
        "A4:3 C5:3 E5:2 A5:4 B5:2 C6:2",
        "A5:3 G5:3 F5:2 C5:4 r:4",
        REST, REST]),
    "A2": " | ".join([
        "A4:3 C5:3 E5:2 A5:4 G5:2 E5:2",
        "F5:3 E5:3 C5:2 A4:6 r:2",
        REST, REST,
        "A4:3 C5:3 E5:2 A5:4 B5:2 C6:2",
        "D6:3 C6:3 A5:2 F5:4 E5:2 F5:2",
        "F5:2 E5:2 F5:2 A5:2 D6:4 C6:2 A5:2",
        "B5:4 G#5:4 E5:6 r:2"]),
    "B": " | ".join([
        REST, REST,
        "B5:2 A5:2 G5:2 E5:2 G5:2 A5:2 B5:4",
        "C6:2 B5:2 A5:2 E5:2 A5:8",
        REST, REST,
        "E5:2 G5:2 C6:2 G5:2 E6:4 D6:2 C6:2",
        "B5:4 G#5:4 E5:2 F5:2 G#5:2 B5:2"]),
    "Bridge": " | ".join([
        "A5:16",
        "B5:12 A5:2 G5:2",
        "G5:8 B5:8",
        "C6:12 B5:2 A5:2",
        REST, REST,
        "E5:4 G#5:4 B5:4 D6:4",
        "E5:2 F5:2 G#5:2 A5:2 B5:2 C6:2 D6:2 E6:2"]),
    "A3": " | ".join([
        "A4:3 C5:3 E5:2 A5:4 G5:2 E5:2",
        "F5:3 E5:3 C5:2 A4:6 r:2",
        REST, REST,
        "A4:3 C5:3 E5:2 A5:4 B5:2 C6:2",
        "D6:3 C6:3 A5:2 F5:4 E5:2 F5:2",
        "F5:2 E5:2 F5:2 A5:2 D6:4 C6:2 A5:2",
        "B5:4 G#5:4 E5:4 D5:2 B4:2"]),
}

ANSWER = {
    "A": " | ".join([
        REST, REST,
        "G4:3 C5:3 E5:2 G5:4 F5:2 E5:2",
        "D5:2 E5:2 D5:2 B4:2 G4:4 r:4",
        REST, REST,
        "F5:3 E5:3 D5:2 A4:4 D5:2 F5:2",
        "E5:2 D5:2 B4:2 D5:2 E5:4 G#4:4"]),
    "A2": " | ".join([
        REST, REST,
        "G4:3 C5:3 E5:2 G5:4 F5:2 E5:2",
        "D5:2 E5:2 D5:2 B4:2 G4:4 r:4",
        REST, REST,
        "D5:2 C5:2 D5:2 F5:2 A5:4 A5:2 F5:2",
        "G#5:4 E5:4 B4:6 r:2"]),
    "B": " | ".join([
        "C5:6 A4:2 C5:4 F5:4",
        "D5:6 B4:2 D5:4 G5:4",
        REST, REST,
        "A4:6 F4:2 A4:4 D5:4",
        "B4:6 G4:2 B4:4 D5:4",
        REST, REST]),
    "Bridge": " | ".join([
        REST, REST, REST, REST,
        "A4:4 C5:4 F5:8",
        "D5:4 G5:4 B5:6 A5:2",
        "B4:4 E5:4 G#5:4 B5:4",
        "B4:2 D5:2 E5:2 F5:2 G#5:2 A5:2 B5:2 C6:2"]),
    "A3": " | ".join([
        "E4:3 A4:3 C5:2 E5:4 E5:2 C5:2",
        "C5:3 C5:3 A4:2 F4:6 r:2",
        "G4:3 C5:3 E5:2 G5:4 F5:2 E5:2",
        "D5:2 E5:2 D5:2 B4:2 G4:4 r:4",
        REST, REST,
        "D5:2 C5:2 D5:2 F5:2 A5:4 A5:2 F5:2",
        "G#5:4 E5:4 B4:4 G#4:2 E4:2"]),
}

# ----------------------------------------------------------------------------
# Event collection and Standard MIDI File writing
# ----------------------------------------------------------------------------


class Track:
    def __init__(self, name, channel=None):
        self.name = name
        self.ch = channel
        self.events = []          # (tick, order, bytes); order: 0 off, 1 setup, 2 on
        self.meta(0, 0x03, name.encode("ascii"))
        self.notes = 0

    def meta(self, tick, kind, data):
        self.events.append((tick, 1, bytes([0xFF, kind]) + vlq(len(data)) + data))

    def program(self, tick, prog):
        self.events.append((tick, 1, bytes([0xC0 | self.ch, prog])))

    def cc(self, tick, num, val):
        self.events.append((tick, 1, bytes([0xB0 | self.ch, num, val])))

    def note(self, tick, length, key, vel):
        vel = max(1, min(127, int(round(vel))))
        end = min(tick + max(1, int(length)), TOTAL_BARS * BAR)
        self.events.append((tick, 2, bytes([0x90 | self.ch, key, vel])))
        self.events.append((end, 0, bytes([0x80 | self.ch, key, 64])))
        self.notes += 1

    def chunk(self, end_tick):
        evs = sorted(self.events, key=lambda e: (e[0], e[1]))
        data = bytearray()
        now = 0
        for tick, _, body in evs:
            data += vlq(tick - now) + body
            now = tick
        data += vlq(end_tick - now) + b"\xFF\x2F\x00"     # end of track
        return b"MTrk" + struct.pack(">I", len(data)) + bytes(data)


def vlq(value):
    """MIDI variable-length quantity."""
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(out))


def channel_setup(track, prog, volume, pan, reverb, chorus=0):
    track.cc(0, 121, 0)           # reset controllers (matters when restarted)
    track.program(0, prog)
    track.cc(0, 7, volume)
    track.cc(0, 10, pan)
    track.cc(0, 11, 127)
    track.cc(0, 91, reverb)
    track.cc(0, 93, chorus)


def human(v, spread=6):
    return v + rng.uniform(-spread, spread)


# ----------------------------------------------------------------------------
# Parts
# ----------------------------------------------------------------------------

KICK, SNARE, CLAP, HAT, PEDAL, OPEN_HAT = 36, 38, 39, 42, 44, 46
CRASH, CRASH2, RIDE, RIDE_BELL = 49, 57, 51, 53
TOMS = (50, 48, 47, 45, 43, 41)          # high to low


def drums():
    t = Track("Drums", 9)
    channel_setup(t, 0, 127, 64, 28)
    fill_no = 0
    for bar, (sec, i, _) in enumerate(BARS):
        b0 = bar * BAR
        hits = []                         # (step, key, velocity)
        last_of_phrase = (sec == "Intro" and i == 3) or (sec != "Intro" and i == 7)
        if i == 0:
            hits.append((0, CRASH if sec in ("Intro", "A", "B", "A3") else CRASH2, 118))

        if sec == "Intro":
            kicks = [0, 4, 8, 12]
            hits += [(s, KICK, 112 if s % 8 == 0 else 100) for s in kicks]
            hats = range(0, 16, 2) if i < 2 else range(0, 16, 1)
            for s in hats:
                if not (i == 0 and s == 0):
                    hits.append((s, HAT, (82 if s % 4 == 0 else 62) if s % 2 == 0 else 44))
            if i >= 2:
                hits += [(4, SNARE, 104), (12, SNARE, 108)]
            if i == 1:
                hits += [(14, SNARE, 70), (15, SNARE, 80)]
        elif sec == "Bridge":
            if i < 6:                     # half time
                hits += [(0, KICK, 112), (10, KICK, 96), (8, SNARE, 108)]
                hits += [(s, HAT, 80 if s % 4 == 0 else 56) for s in range(0, 16, 2) if s]
                if i % 2 == 1:
                    hits.append((14, OPEN_HAT, 70))
            elif i == 6:                  # build: quarter kicks, eighth snares rising
                hits += [(s, KICK, 110) for s in (0, 4, 8, 12)]
                hits += [(s, SNARE, 60 + 5 * k) for k, s in enumerate(range(0, 16, 2))]
            else:                         # sixteenth roll into the last section
                hits += [(s, KICK, 112) for s in (0, 4, 8, 12)]
                hits += [(s, SNARE, 70 + 3.4 * s) for s in range(16)]
        else:
            odd = i % 2 == 1
            if sec == "B":
                kicks = [0, 3, 8, 10] if not odd else [0, 3, 8, 11, 14]
                hits += [(s, KICK, 115 if s in (0, 8) else 98) for s in kicks]
                hits += [(4, SNARE, 110), (12, SNARE, 112), (12, CLAP, 70)]
                for s in range(0, 16, 2):
                    if not (i == 0 and s == 0):
                        hits.append((s, RIDE_BELL if s % 4 == 0 else RIDE, 76 if s % 4 == 0 else 68))
                hits += [(4, PEDAL, 60), (12, PEDAL, 60)]
            else:
                kicks = [0, 8, 10] if not odd else [0, 6, 8, 10]
                hits += [(s, KICK, 116 if s in (0, 8) else 100) for s in kicks]
                hits += [(4, SNARE, 110), (12, SNARE, 112)]
                if odd:
                    hits.append((15, SNARE, 42))          # ghost note
                sixteenths = sec == "A3" or (sec == "A2" and i >= 4)
                for s in range(0, 16, 1 if sixteenths else 2):
                    if i == 0 and s == 0:
                        continue
                    if odd and s == 14:
                        hits.append((14, OPEN_HAT, 78))
                        continue
                    if odd and s == 15:
                        continue
                    hits.append((s, HAT, (86 if s % 4 == 0 else 66) if s % 2 == 0 else 46))

        if last_of_phrase and sec != "Bridge":
            hits = [h for h in hits if h[0] < 8 or h[1] == KICK and h[0] == 8]
            hits += fill(fill_no)
            fill_no += 1

        merged = {}                       # one hit per step and drum, the loudest
        for s, key, vel in hits:
            merged[(s, key)] = max(vel, merged.get((s, key), 0))
        for (s, key), vel in sorted(merged.items()):
            jitter = 0 if key in (KICK, SNARE, CRASH, CRASH2) else int(rng.uniform(-3, 4))
            tick = max(0, b0 + s * STEP + jitter)
            length = STEP * 8 if key in (CRASH, CRASH2, OPEN_HAT) else STEP // 2
            t.note(tick, length, key, human(vel, 4))
    return t


def fill(n):
    """Fills on beats 3-4 of a phrase's last bar; four variants in rotation."""
    v = n % 4
    if v == 0:    # snare pair, then toms down in sixteenths
        seq = [(8, SNARE), (9, SNARE), (10, TOMS[0]), (11, TOMS[0]),
               (12, TOMS[2]), (13, TOMS[2]), (14, TOMS[4]), (15, TOMS[4])]
    elif v == 1:  # syncopated snare and toms
        seq = [(8, SNARE), (10, SNARE), (11, TOMS[1]), (12, TOMS[1]),
               (13, TOMS[3]), (14, TOMS[4]), (15, SNARE)]
    elif v == 2:  # snare roll crescendo
        seq = [(s, SNARE) for s in range(8, 16)]
    else:         # toms round the kit with kicks underneath
        seq = [(8, TOMS[0]), (9, TOMS[1]), (10, TOMS[2]), (11, TOMS[3]),
               (12, TOMS[4]), (13, TOMS[5]), (14, SNARE), (15, SNARE)]
    out = [(s, k, 84 + 4 * (s - 8)) for s, k in seq]
    out += [(12, KICK, 104)]
    if v == 3:
        out += [(8, KICK, 100), (14, KICK, 100)]
    return out


def nearest(pc, ref, lo, hi):
    """The pitch of pitch class pc closest to ref, within [lo, hi]."""
    cands = [p for p in range(lo, hi + 1) if p % 12 == pc]
    return min(cands, key=lambda p: (abs(p - ref), p))


def bass():
    t = Track("Bass", 0)
    channel_setup(t, 38, 100, 64, 10)
    roots = []
    prev = 33
    for _, _, ch in BARS:
        r = nearest(CHORD_TONES[ch][0], prev, 28, 43)
        roots.append(r)
        prev = r
    for bar, (sec, i, ch) in enumerate(BARS):
        b0 = bar * BAR
        r = roots[bar]
        nxt = roots[(bar + 1) % TOTAL_BARS]
        fifth = r + 7
        approach = nxt - 1 if abs(nxt - r) > 2 else r
        if sec == "Intro" and i < 2:
            pat = [(s, 2, r, 100 if s % 4 == 0 else 88) for s in range(0, 16, 2)]
        elif sec == "Bridge" and i < 6:
            pat = [(0, 7, r, 104), (8, 3, r, 92), (12, 4, fifth, 92)]
        elif sec == "Bridge":
            pat = [(s, 2, r if s % 4 else r + 12 * (s // 8 % 2), 84 + s * 2) for s in range(0, 16, 2)]
            if i == 7:
                pat = [(s, 1, r, 80 + s * 2.5) for s in range(16)]
        elif sec == "B":
            pat = [(0, 3, r, 108), (3, 3, r, 98), (6, 2, fifth, 96), (8, 2, r + 12, 100),
                   (10, 2, r, 94), (12, 2, fifth, 96), (14, 2, approach, 96)]
        else:
            pat = [(0, 2, r, 110), (2, 2, r, 90), (4, 2, r + 12, 100), (6, 2, r, 92),
                   (8, 2, r, 104), (10, 2, r, 90), (12, 2, r + 12, 100), (14, 2, approach, 94)]
        for s, ln, key, vel in pat:
            t.note(b0 + s * STEP, ln * STEP * 0.82, key, human(vel, 4))
    return t


def voicings(lo, hi):
    """Close triads chosen bar by bar for smooth voice leading."""
    out = []
    prev = None
    for _, _, ch in BARS:
        pcs = CHORD_TONES[ch]
        cands = []
        for base in range(lo, hi - 7):
            if base % 12 in pcs:
                v = [base]
                for pc in pcs:
                    if pc != base % 12:
                        v.append(nearest(pc, base + 4, base + 1, base + 11))
                v.sort()
                if v[-1] <= hi:
                    cands.append(v)
        if prev is None:
            best = min(cands, key=lambda v: abs(sum(v) / 3.0 - (lo + hi) / 2.0))
        else:
            best = min(cands, key=lambda v: sum(abs(a - b) for a, b in zip(v, prev)))
        out.append(best)
        prev = best
    return out


def piano():
    t = Track("Electric Piano", 1)
    channel_setup(t, 4, 84, 42, 40, 30)
    voices = voicings(55, 76)
    for bar, (sec, i, ch) in enumerate(BARS):
        b0 = bar * BAR
        v = voices[bar]
        if sec in ("Intro", "Bridge"):
            order = [0, 1, 2, 3, 2, 1, 2, 3] if sec == "Intro" else [0, 2, 3, 2, 1, 2, 3, 2]
            tones = v + [v[0] + 12]
            for k, idx in enumerate(order):
                acc = 82 if k % 4 == 0 else 66
                t.note(b0 + k * 2 * STEP, 2 * STEP * 0.95, tones[idx], human(acc, 5))
        elif sec == "B":
            for s, ln in ((0, 2), (3, 2), (6, 2), (10, 2), (12, 3)):
                for key in v:
                    t.note(b0 + s * STEP, ln * STEP * 0.8, key, human(74 if s in (0, 6) else 64, 4))
        else:
            for s in (2, 6, 10, 14):
                for key in v:
                    t.note(b0 + s * STEP, STEP * 1.4, key, human(70 if s in (6, 14) else 62, 4))
    return t


def pad():
    t = Track("Pad", 2)
    channel_setup(t, 89, 72, 86, 70, 40)
    voices = voicings(57, 74)
    level = {"Intro": 58, "A": 50, "A2": 54, "B": 66, "Bridge": 80, "A3": 58}
    for bar, (sec, i, ch) in enumerate(BARS):
        b0 = bar * BAR
        low = nearest(CHORD_TONES[ch][0], 48, 45, 56)
        for key in voices[bar] + [low]:
            t.note(b0, BAR - 12, key, level[sec])
    return t


def melody_track(name, channel, prog, volume, pan, parts, gate, base_vel):
    t = Track(name, channel)
    channel_setup(t, prog, volume, pan, 52, 20)
    for sec_name, start, _ in SECTIONS:
        if sec_name not in parts:
            continue
        for k, bar_notes in enumerate(parse_line(parts[sec_name])):
            b0 = (start + k) * BAR
            for s, ln, key in bar_notes:
                if key is None:
                    continue
                accent = 10 if s % 4 == 0 else (4 if s % 2 == 0 else 0)
                length = ln * STEP * (gate if ln <= 4 else 0.96)
                t.note(b0 + s * STEP, length, key, human(base_vel + accent, 4))
    return t


def conductor():
    t = Track("Overdrive Boulevard")
    t.meta(0, 0x58, bytes([4, 2, 24, 8]))                      # 4/4
    t.meta(0, 0x51, struct.pack(">I", 60000000 // BPM)[1:])    # tempo
    t.meta(0, 0x59, bytes([0, 1]))                             # A minor
    for name, start, _ in SECTIONS:
        t.meta(start * BAR, 0x06, name.encode("ascii"))         # marker
    return t


def build_tracks():
    rng.seed(4410)
    return [
        conductor(),
        drums(),
        bass(),
        piano(),
        pad(),
        melody_track("Saw Lead", 3, 81, 64, 48, LEAD, 0.86, 92),
        melody_track("Synth Brass", 4, 62, 84, 80, ANSWER, 0.9, 92),
    ]


def smf_bytes(tracks):
    data = b"MThd" + struct.pack(">IHHH", 6, 1, len(tracks), PPQ)
    for t in tracks:
        data += t.chunk(TOTAL_BARS * BAR)
    return data


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "data", "bgm.mid")
    tracks = build_tracks()
    data = smf_bytes(tracks)
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
    with open(out, "wb") as f:
        f.write(data)
    seconds = TOTAL_BARS * 4 * 60.0 / BPM
    notes = sum(t.notes for t in tracks)
    print("%s: %d bytes, format 1, %d tracks, %d bars at %d BPM = %.2f s, %d notes"
          % (os.path.normpath(out), len(data), len(tracks), TOTAL_BARS, BPM, seconds, notes))
    for t in tracks[1:]:
        print("  %-18s channel %2d  %4d notes" % (t.name, t.ch + 1, t.notes))


if __name__ == "__main__":
    main()
