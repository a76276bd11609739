#!/usr/bin/env python3
"""Synthesise the six sound effects of Kelto1 into data/.

Standard library only. Every sample is computed here from oscillators and
seeded noise; nothing is read from any other file.

    crbit.wav    light knock (small bump)
    crsh.wav     crash (metal crunch with debris)
    crwal.wav    heavy crash into a wall
    PwrUp1.wav   bright rising power-up
    PwrLost.wav  falling, sour power-down
    pass.wav     short whoosh with a two-note chime (overtaking)

All files: 16-bit PCM, mono, 22050 Hz, under one second, short fades at both
ends, loudness matched (weighted short-term RMS), peaks capped at -3 dBFS by a
look-ahead limiter.

Usage: python3 tools/gen_sounds.py [output_dir]   (default: the data/ folder next to tools/)
"""
import math
import os
import random
import struct
import sys
import wave

SR = 22050
CEILING_DB = -3.0                 # peak ceiling
TARGET_LOUDNESS_DB = -10.5        # weighted short-term RMS every effect is brought to
MAX_LIMITING_DB = 5.0             # never squash a transient by more than this
FADE_IN_S = 0.002
FADE_OUT_S = 0.025

rng = random.Random(1977)


# ----------------------------------------------------------------------------
# Building blocks
# ----------------------------------------------------------------------------

def n_samples(seconds):
    return int(round(seconds * SR))


def zeros(seconds):
    return [0.0] * n_samples(seconds)


def mix_into(dst, src, start_s=0.0, gain=1.0):
    """Add src into dst starting at start_s seconds (clipped to dst length).
    The last few milliseconds of src are faded so a truncated tail never
    leaves a step behind."""
    off = n_samples(start_s)
    end = min(len(dst), off + len(src))
    nf = max(1, min(n_samples(0.005), len(src) // 4))
    last = len(src) - 1
    for i in range(max(off, 0), end):
        j = i - off
        v = src[j]
        if last - j < nf:
            v *= 0.5 - 0.5 * math.cos(math.pi * (last - j) / nf)
        dst[i] += gain * v
    return dst


def white(seconds):
    return [rng.uniform(-1.0, 1.0) for _ in range(n_samples(seconds))]


def _coef(fc):
    fc = min(max(fc, 1.0), SR * 0.49)
    return 1.0 - math.exp(-2.0 * math.pi * fc / SR)


def lowpass(x, fc):
    """One-pole low-pass. fc is a number or a function of time in seconds."""
    y = 0.0
    out = [0.0] * len(x)
    const = not callable(fc)
    a = _coef(fc) if const else 0.0
    for i, v in enumerate(x):
        if not const:
            a = _coef(fc(i / SR))
        y += a * (v - y)
        out[i] = y
    return out


def highpass(x, fc):
    """One-pole high-pass (input minus its one-pole low-pass)."""
    lp = lowpass(x, fc)
    return [v - l for v, l in zip(x, lp)]


def bandpass(x, lo, hi, order=1):
    for _ in range(order):
        x = highpass(x, lo)
        x = lowpass(x, hi)
    return x


def svf_bandpass(x, fc, q):
    """Chamberlin state-variable band-pass with a moving centre (fc(t) in Hz)."""
    low = band = 0.0
    damp = 1.0 / q
    out = [0.0] * len(x)
    for i, v in enumerate(x):
        f = 2.0 * math.sin(math.pi * min(fc(i / SR), SR / 7.0) / SR)
        high = v - low - damp * band
        band += f * high
        low += f * band
        out[i] = band
    return out


def exp_env(seconds, tau, attack=0.001):
    """Fast linear attack, then exponential decay with time constant tau."""
    n = n_samples(seconds)
    na = max(1, n_samples(attack))
    out = [0.0] * n
    for i in range(n):
        t = i / SR
        a = min(1.0, (i + 1) / na)
        out[i] = a * math.exp(-max(0.0, t - attack) / tau)
    return out


def mul(x, env):
    return [a * b for a, b in zip(x, env)]


def tone(seconds, freq, partials=((1.0, 1.0),), phase0=0.0):
    """Additive oscillator. freq: number or function of time; partials are
    (ratio, amplitude) pairs. Partials fade out between 0.40*SR and 0.45*SR,
    so sweeps neither alias nor click."""
    n = n_samples(seconds)
    out = [0.0] * n
    ph = phase0
    const = not callable(freq)
    for i in range(n):
        f = freq if const else freq(i / SR)
        s = 0.0
        for ratio, amp in partials:
            fr = f * ratio
            if fr < 0.40 * SR:
                s += amp * math.sin(ph * ratio)
            elif fr < 0.45 * SR:           # fade out smoothly near Nyquist
                s += amp * math.sin(ph * ratio) * (0.45 * SR - fr) / (0.05 * SR)
        out[i] = s
        ph += 2.0 * math.pi * f / SR
    return out


def ring(seconds, freq, tau, amp=1.0):
    """Decaying sine (a struck resonance)."""
    n = n_samples(seconds)
    w = 2.0 * math.pi * freq / SR
    return [amp * math.sin(w * i) * math.exp(-i / (SR * tau)) for i in range(n)]


def saturate(x, drive):
    k = math.tanh(drive)
    return [math.tanh(drive * v) / k for v in x]


def db(v):
    return 20.0 * math.log10(v) if v > 1e-12 else -240.0


# ----------------------------------------------------------------------------
# Level handling
# ----------------------------------------------------------------------------

def peak(x):
    return max(abs(v) for v in x)


def rms(x):
    return math.sqrt(sum(v * v for v in x) / len(x))


def loudness(x):
    """Short-term loudness estimate: signal weighted by a 2nd-order 120 Hz
    high-pass and a gentle presence lift (the ear hears low rumble as quieter),
    then the largest RMS over 100 ms windows (10 ms hop)."""
    w = highpass(highpass(x, 120.0), 120.0)
    pres = highpass(w, 1500.0)
    w = [a + 0.4 * b for a, b in zip(w, pres)]
    win, hop = n_samples(0.1), n_samples(0.01)
    sq = [v * v for v in w]
    acc = sum(sq[:win])
    pos = 0
    best = acc
    while pos + win + hop <= len(sq):
        acc += sum(sq[pos + win:pos + win + hop]) - sum(sq[pos:pos + hop])
        pos += hop
        best = max(best, acc)
    return math.sqrt(max(best, 0.0) / min(win, len(sq)))


def limit(x, ceiling, lookahead_s=0.002, release_s=0.060):
    """Look-ahead peak limiter: the gain reaches its minimum before the peak
    arrives and recovers smoothly, so nothing exceeds the ceiling."""
    n = len(x)
    L = max(1, n_samples(lookahead_s))
    req = [min(1.0, ceiling / abs(v)) if v else 1.0 for v in x]
    # running minimum of the required gain over the next L samples
    g1 = [1.0] * n
    for i in range(n):
        g1[i] = min(req[i:i + L + 1])
    rel = 1.0 - math.exp(-1.0 / (release_s * SR))
    g2 = [1.0] * n
    g = 1.0
    for i in range(n):
        g = min(g1[i], g + (1.0 - g) * rel)
        g2[i] = g
    # trailing average over L+1 samples smooths the down-steps
    out = [0.0] * n
    acc = 0.0
    for i in range(n):
        acc += g2[i]
        if i > L:
            acc -= g2[i - L - 1]
        out[i] = x[i] * acc / min(i + 1, L + 1)
    return out


def fades(x, fin=FADE_IN_S, fout=FADE_OUT_S):
    n = len(x)
    a, b = n_samples(fin), n_samples(fout)
    y = list(x)
    for i in range(a):
        y[i] *= 0.5 - 0.5 * math.cos(math.pi * i / a)
    for i in range(b):
        y[n - 1 - i] *= 0.5 - 0.5 * math.cos(math.pi * i / b)
    return y


def finish(x):
    """DC removal, loudness match, peak limit, fades."""
    x = highpass(x, 20.0)
    ceil = 10.0 ** (CEILING_DB / 20.0)
    # The limiter lowers the loudness of spiky sounds a little, so the input
    # gain is refined until the limited result meets the target.
    max_gain_db = CEILING_DB + MAX_LIMITING_DB - db(peak(x))
    gain_db = min(TARGET_LOUDNESS_DB - db(loudness(x)), max_gain_db)
    for _ in range(6):
        g = 10.0 ** (gain_db / 20.0)
        y = fades(limit([v * g for v in x], ceil * 0.995))
        err = TARGET_LOUDNESS_DB - db(loudness(y))
        if abs(err) < 0.05:
            break
        gain_db += err
        gain_db = min(gain_db, max_gain_db)
    x = y
    p = peak(x)
    if p > ceil:                       # safety net, should not trigger
        x = [v * ceil / p for v in x]
    return x


def write_wav(path, x):
    frames = bytearray()
    for v in x:
        s = int(round(v * 32767.0))
        frames += struct.pack("<h", max(-32768, min(32767, s)))
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(SR)
        w.writeframes(bytes(frames))


# ----------------------------------------------------------------------------
# The effects
# ----------------------------------------------------------------------------

def debris(buf, count, t0, t1, f_lo, f_hi, amp0, amp1):
    """Scatter small metallic/glassy ticks between t0 and t1."""
    for _ in range(count):
        t = t0 + (t1 - t0) * (rng.random() ** 1.6)
        frac = (t - t0) / (t1 - t0)
        a = (amp0 + (amp1 - amp0) * frac) * rng.uniform(0.6, 1.0)
        f = rng.uniform(f_lo, f_hi)
        tau = rng.uniform(0.012, 0.035)
        grain = ring(tau * 5, f, tau, a)
        mix_into(grain, ring(tau * 5, f * 1.53, tau * 0.7, a * 0.5))
        tick = mul(highpass(white(0.004), 2500.0), exp_env(0.004, 0.0012, 0.0002))
        mix_into(grain, tick, 0.0, a * 0.8)
        mix_into(buf, grain, t)


def crunch_burst(seconds, tau, lo, hi):
    return mul(bandpass(white(seconds), lo, hi, 2), exp_env(seconds, tau, 0.0008))


def make_crbit():
    """Light knock: a short pitched 'tok' with a click and a little ring,
    followed by a tiny rebound."""
    dur = 0.30
    out = zeros(dur)

    def knock(scale):
        k = zeros(0.25)
        body = tone(0.25, lambda t: 150.0 + 140.0 * math.exp(-t / 0.008),
                    ((1.0, 1.0), (2.0, 0.15)))
        mix_into(k, mul(body, exp_env(0.25, 0.065, 0.0008)))
        thud = lowpass(bandpass(white(0.25), 150.0, 900.0), 900.0)
        mix_into(k, mul(thud, exp_env(0.25, 0.03, 0.0008)), 0.0, 1.4)
        click = bandpass(white(0.03), 900.0, 4500.0, 2)
        mix_into(k, mul(click, exp_env(0.03, 0.005, 0.0003)), 0.0, 2.2)
        for f, a, tau in ((540.0, 0.22, 0.05), (873.0, 0.16, 0.04), (1290.0, 0.09, 0.03)):
            mix_into(k, ring(0.25, f, tau, a))
        return [v * scale for v in k]

    mix_into(out, knock(1.0), 0.0)
    mix_into(out, knock(0.35), 0.052)
    return saturate(out, 1.2)


def make_crsh():
    """Crash: thump, bright impact noise that darkens, crumpling metal bursts,
    scattered debris and a short rumble."""
    dur = 0.74
    out = zeros(dur)
    thump = tone(0.4, lambda t: 55.0 + 65.0 * math.exp(-t / 0.025), ((1.0, 1.0), (2.0, 0.25)))
    mix_into(out, mul(thump, exp_env(0.4, 0.085, 0.001)), 0.0, 1.1)

    imp = lowpass(white(0.5), lambda t: 800.0 + 6000.0 * math.exp(-t / 0.05))
    mix_into(out, mul(highpass(imp, 150.0), exp_env(0.5, 0.10, 0.0008)), 0.0, 1.3)

    for t, a in ((0.0, 1.0), (0.034, 0.75), (0.071, 0.6), (0.118, 0.45), (0.19, 0.3), (0.27, 0.18)):
        mix_into(out, crunch_burst(0.12, 0.022, 350.0, 3200.0), t, 1.5 * a)

    debris(out, 16, 0.05, 0.62, 1800.0, 5200.0, 0.22, 0.06)

    rumble = lowpass(lowpass(white(0.7), 260.0), 260.0)
    mix_into(out, mul(rumble, exp_env(0.7, 0.20, 0.01)), 0.0, 2.5)
    return saturate(out, 1.6)


def make_crwal():
    """Heavy crash into a wall: deep boom, dense crunch, a clanging metal
    body, a long debris shower and a rumbling tail."""
    dur = 0.96
    out = zeros(dur)
    boom = tone(0.8, lambda t: 38.0 + 55.0 * math.exp(-t / 0.04),
                ((1.0, 1.0), (2.0, 0.35), (3.0, 0.12)))
    mix_into(out, mul(boom, exp_env(0.8, 0.20, 0.001)), 0.0, 1.3)

    imp = lowpass(white(0.8), lambda t: 500.0 + 7500.0 * math.exp(-t / 0.08))
    mix_into(out, mul(highpass(imp, 120.0), exp_env(0.8, 0.17, 0.0008)), 0.0, 1.4)

    for t, a in ((0.0, 1.0), (0.022, 0.9), (0.048, 0.85), (0.085, 0.7), (0.13, 0.6),
                 (0.185, 0.5), (0.25, 0.38), (0.33, 0.26), (0.42, 0.15)):
        lo = rng.uniform(250.0, 500.0)
        mix_into(out, crunch_burst(0.15, rng.uniform(0.02, 0.035), lo, lo * 8.0), t, 1.6 * a)

    clang = zeros(0.9)
    for f, a, tau in ((173.0, 0.35, 0.32), (176.5, 0.25, 0.30), (311.0, 0.30, 0.26),
                      (497.0, 0.22, 0.22), (689.0, 0.16, 0.18), (948.0, 0.12, 0.14),
                      (1322.0, 0.08, 0.10)):
        mix_into(clang, ring(0.9, f, tau, a))
    mix_into(out, clang, 0.004, 1.0)

    debris(out, 30, 0.07, 0.88, 1500.0, 5500.0, 0.25, 0.05)

    rumble = lowpass(lowpass(white(dur), 180.0), 180.0)
    mix_into(out, mul(rumble, exp_env(dur, 0.35, 0.01)), 0.0, 3.5)
    return saturate(out, 2.0)


def bump(t, tau, rise=0.003):
    """Accent shape for a new note: rises smoothly from 0 to 1 in `rise`
    seconds, then decays with time constant tau (no steps, so no clicks)."""
    if t < rise:
        return 0.5 - 0.5 * math.cos(math.pi * t / rise)
    return math.exp(-(t - rise) / tau)


def midi_hz(m):
    return 440.0 * 2.0 ** ((m - 69) / 12.0)


def stepped_pitch(steps, glide_tau):
    """Pitch function following (time, hz) steps with a short portamento.
    Precomputed per sample for speed."""
    def build(seconds):
        n = n_samples(seconds)
        out = [0.0] * n
        cur = steps[0][1]
        k = 0
        a = 1.0 - math.exp(-1.0 / (glide_tau * SR))
        for i in range(n):
            t = i / SR
            while k + 1 < len(steps) and t >= steps[k + 1][0]:
                k += 1
            target = steps[k][1]
            cur = cur * (target / cur) ** a   # glide in log-frequency
            out[i] = cur
        return out
    return build


def make_pwrup():
    """Bright rising power-up: a fast major arpeggio over two octaves
    (C5 to C7) with a detuned twin, an octave-down sine and a rising sweep,
    ending on a shimmering held note."""
    dur = 0.62
    step = 0.042
    notes = [72, 76, 79, 84, 88, 91, 96]
    steps = [(i * step, midi_hz(m)) for i, m in enumerate(notes)]
    t_last = steps[-1][0]
    fcurve = stepped_pitch(steps, 0.004)(dur)

    def f_of(t, detune=1.0):
        i = min(len(fcurve) - 1, int(t * SR))
        vib = 1.0 + (0.006 * math.sin(2 * math.pi * 7.0 * t) if t > t_last else 0.0)
        return fcurve[i] * detune * vib

    bright = ((1.0, 1.0), (2.0, 0.42), (3.0, 0.28), (4.0, 0.16), (5.0, 0.10), (6.0, 0.06))
    lead = tone(dur, f_of, bright)
    twin = tone(dur, lambda t: f_of(t, 1.0047), bright, 1.0)
    sub = tone(dur, lambda t: f_of(t, 0.5))
    sweep = tone(dur, lambda t: 260.0 * 2.0 ** (min(t, 0.3) / 0.3 * 2.0), ((1.0, 1.0), (2.0, 0.3)))

    n = n_samples(dur)
    out = [0.0] * n
    for i in range(n):
        t = i / SR
        k = min(len(notes) - 1, int(t / step))
        tn = t - k * step
        accent = 0.75 + 0.25 * bump(tn, 0.015)
        if t < t_last:
            env = accent
        else:
            env = accent * math.exp(-(t - t_last) / 0.16)
        env *= min(1.0, t / 0.004)
        sw_env = min(1.0, t / 0.01) * max(0.0, 1.0 - t / 0.34)
        out[i] = env * (0.55 * lead[i] + 0.4 * twin[i] + 0.25 * sub[i]) + 0.25 * sw_env * sweep[i]
    # a little sparkle on top of the final note
    mix_into(out, ring(0.3, midi_hz(103), 0.09, 0.12), t_last + 0.01)
    return out


def make_pwrlost():
    """Falling, sour power-down: three stepped drops down a diminished chord,
    then a long slide of an octave and a half; a tritone-below voice and a
    slightly out-of-tune twin make it sour; the tone darkens as it falls."""
    dur = 0.80
    steps = [(0.0, midi_hz(74)), (0.15, midi_hz(71)), (0.30, midi_hz(68)), (0.45, midi_hz(65))]
    fcurve = stepped_pitch(steps, 0.012)(dur)

    def f_of(t, mult=1.0):
        i = min(len(fcurve) - 1, int(t * SR))
        f = fcurve[i]
        if t > 0.45:
            f *= 2.0 ** (-1.5 * ((t - 0.45) / 0.35) ** 1.3)
        depth = 0.004 + 0.03 * min(1.0, t / dur)
        return f * mult * (1.0 + depth * math.sin(2 * math.pi * 8.5 * t))

    saw = tuple((float(k), 1.0 / k) for k in range(1, 11))
    v1 = tone(dur, f_of, saw)
    v2 = tone(dur, lambda t: f_of(t, 2.0 ** (-6 / 12.0)), saw)
    v3 = tone(dur, lambda t: f_of(t, 1.013), saw, 0.7)
    x = [0.55 * a + 0.35 * b + 0.35 * c for a, b, c in zip(v1, v2, v3)]
    x = lowpass(lowpass(x, lambda t: 4500.0 * math.exp(-t / 0.35) + 500.0),
                lambda t: 5000.0 * math.exp(-t / 0.4) + 700.0)
    n = len(x)
    for i in range(n):
        t = i / SR
        k = min(3, int(t / 0.15))
        tn = t - k * 0.15
        accent = 0.7 + 0.3 * bump(tn, 0.03)
        tail = 1.0 if t < 0.45 else math.exp(-(t - 0.45) / 0.22)
        x[i] *= accent * tail * min(1.0, t / 0.005)
    return x


def make_pass():
    """Overtaking: an air whoosh whose band sweeps up and back down
    (a car rushing past) with a light two-note rising chime on top."""
    dur = 0.55
    n = n_samples(dur)
    peak_t = 0.17

    def fc(t):
        if t < peak_t:
            return 500.0 * (3000.0 / 500.0) ** (t / peak_t)
        return 3000.0 * (800.0 / 3000.0) ** min(1.0, (t - peak_t) / (dur - peak_t))

    air = svf_bandpass(white(dur), fc, 2.2)
    body = lowpass(white(dur), lambda t: fc(t) * 0.5)
    env = []
    for i in range(n):
        t = i / SR
        if t < peak_t:
            e = math.sin(0.5 * math.pi * t / peak_t) ** 2
        else:
            e = math.exp(-(t - peak_t) / 0.09)
        env.append(e)
    out = [e * (0.9 * a + 0.35 * b) for e, a, b in zip(env, air, body)]

    def bell(f):
        b = zeros(0.4)
        for ratio, a, tau in ((1.0, 1.0, 0.16), (2.0, 0.35, 0.08), (3.0, 0.12, 0.05), (4.2, 0.06, 0.03)):
            mix_into(b, ring(0.4, f * ratio, tau, a))
        return mul(b, exp_env(0.4, 10.0, 0.002))

    mix_into(out, bell(midi_hz(88)), 0.06, 0.32)     # E6
    mix_into(out, bell(midi_hz(93)), 0.14, 0.36)     # A6
    return out


EFFECTS = [
    ("crbit.wav", make_crbit),
    ("crsh.wav", make_crsh),
    ("crwal.wav", make_crwal),
    ("PwrUp1.wav", make_pwrup),
    ("PwrLost.wav", make_pwrlost),
    ("pass.wav", make_pass),
]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "data")
    os.makedirs(out_dir, exist_ok=True)
    print("%-12s %8s %10s %10s %12s" % ("file", "length", "peak dBFS", "RMS dBFS", "loud dBFS"))
    for name, make in EFFECTS:
        x = finish(make())
        path = os.path.join(out_dir, name)
        write_wav(path, x)
        print("%-12s %7.3fs %10.2f %10.2f %12.2f"
              % (name, len(x) / SR, db(peak(x)), db(rms(x)), db(loudness(x))))


if __name__ == "__main__":
    main()
