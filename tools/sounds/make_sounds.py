#!/usr/bin/env python3
"""Synthesises the default notification sounds: chime-like tones built from a
few bell partials, 16-bit PCM, 22050 Hz, mono.

  ezan.wav     a rising three-note chime (D5 F#5 A5), the chord left to ring
  sala.wav     a softer two-tone bell, played twice (A4 E4 ... A4 E4)
  ezandua.wav  a short descending chime (A5 F#5 D5)

usage: make_sounds.py OUT_DIR
"""

import math
import os
import struct
import sys
import wave

RATE = 22050

# (frequency ratio, relative amplitude, decay time constant factor): a
# slightly stretched harmonic series, the upper partials dying away first,
# sounds like a struck tube or glass bell rather than a beep.
BRIGHT_BELL = ((1.0, 1.0, 1.0), (2.0, 0.45, 0.55), (3.01, 0.2, 0.32),
               (4.22, 0.09, 0.2), (5.43, 0.04, 0.12))
SOFT_BELL = ((1.0, 1.0, 1.0), (2.0, 0.3, 0.45), (3.0, 0.08, 0.25))


def note_name_hz(semitones_from_a4):
    return 440.0 * 2.0 ** (semitones_from_a4 / 12.0)


D5, FS5, A5 = note_name_hz(5), note_name_hz(9), note_name_hz(12)
E4, A4 = note_name_hz(-5), note_name_hz(0)


def add_note(buf, start_s, freq, amp, decay_s, partials, attack_s):
    """Mixes one struck note into buf (a list of floats). The attack is a
    raised cosine, so the onset has no step; the note is cut only once its
    envelope is below 1/1000, where the rest is inaudible."""
    start = int(start_s * RATE)
    length = min(len(buf) - start, int(decay_s * math.log(1000.0) * RATE))
    attack = max(1, int(attack_s * RATE))
    # A second fundamental 0.7 Hz higher gives the slow beat of a real bell.
    voices = [(freq * ratio, a, decay_s * d) for ratio, a, d in partials]
    voices.append((freq + 0.7, 0.35, decay_s))
    norm = amp / sum(a for _, a, _ in voices)
    for n in range(length):
        t = n / RATE
        env = 0.5 - 0.5 * math.cos(math.pi * n / attack) if n < attack else 1.0
        s = 0.0
        for f, a, tau in voices:
            s += a * math.exp(-t / tau) * math.sin(2.0 * math.pi * f * t)
        buf[start + n] += norm * env * s


def finish(buf, peak):
    """Scales to the given peak (fraction of full scale) and fades the last
    half second out with a half cosine, so a bell still ringing dies away
    rather than stopping, and the file ends at zero."""
    top = max(abs(v) for v in buf)
    scale = peak / top
    fade = int(0.5 * RATE)
    out = []
    for n, v in enumerate(buf):
        left = len(buf) - 1 - n
        if left < fade:
            v *= 0.5 - 0.5 * math.cos(math.pi * left / fade)
        out.append(int(round(v * scale * 32767)))
    return out


def ezan():
    buf = [0.0] * int(6.0 * RATE)
    for i, f in enumerate((D5, FS5, A5)):
        add_note(buf, 0.05 + 0.6 * i, f, 1.0, 1.3, BRIGHT_BELL, 0.004)
    # the three struck together once more, a little softer, to close
    for f in (D5, FS5, A5):
        add_note(buf, 2.1, f, 0.55, 1.2, BRIGHT_BELL, 0.004)
    return finish(buf, 0.7)


def sala():
    buf = [0.0] * int(5.5 * RATE)
    for k in range(2):
        add_note(buf, 0.05 + 2.2 * k, A4, 1.0, 0.9, SOFT_BELL, 0.025)
        add_note(buf, 0.05 + 2.2 * k + 0.85, E4, 1.0, 1.0, SOFT_BELL, 0.025)
    return finish(buf, 0.5)


def ezandua():
    buf = [0.0] * int(3.5 * RATE)
    for i, f in enumerate((A5, FS5, D5)):
        add_note(buf, 0.05 + 0.3 * i, f, 1.0, 0.8, BRIGHT_BELL, 0.004)
    return finish(buf, 0.6)


def write_wav(path, samples):
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(struct.pack(f"<{len(samples)}h", *samples))


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__.rstrip().rsplit("\n", 1)[-1].strip())
    out_dir = sys.argv[1]
    os.makedirs(out_dir, exist_ok=True)
    for name, make in (("ezan.wav", ezan), ("sala.wav", sala),
                       ("ezandua.wav", ezandua)):
        samples = make()
        write_wav(os.path.join(out_dir, name), samples)
        print(f"{name}: {len(samples) / RATE:.2f} s, "
              f"peak {max(abs(s) for s in samples)}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
