#!/usr/bin/env python3
"""Makes Ping.wav, the soft "ding" that follows Ping Now.

    tools/sound/make_ping_wav.py OUTPUT

The build runs this script and installs its output beside the programs, so
the sound has one source: this file. Only the standard library is used, and
the output is the same, byte for byte, on every run.

The sound is a small bell: a fundamental and one inharmonic partial above
it, as struck metal has, each dying away exponentially, the upper one
faster. A 4 ms rise keeps the start from clicking, and the last 30 ms fade
to silence, so the end does not click either. Mono, 22050 Hz, 16-bit PCM:
the format every version of Windows plays without a codec.
"""

import math
import struct
import sys
import wave

RATE = 22050          # samples per second
DURATION = 0.40       # seconds; the ping is heard, not listened to
PEAK = 0.45           # of full scale: a soft sound, far from clipping
RISE = 0.004          # seconds of raised-cosine attack
FADE = 0.030          # seconds of raised-cosine fade at the end

# (frequency in Hz, relative amplitude, decay time constant in seconds)
PARTIALS = (
    (1318.5, 1.00, 0.110),       # E6, the note that is heard
    (1318.5 * 2.76, 0.28, 0.045),  # a bell's bright, short overtone
)


def envelope(t):
    """Attack and end fade; the partials carry their own decay."""
    gain = 1.0
    if t < RISE:
        gain *= 0.5 - 0.5 * math.cos(math.pi * t / RISE)
    left = DURATION - t
    if left < FADE:
        gain *= 0.5 - 0.5 * math.cos(math.pi * max(left, 0.0) / FADE)
    return gain


def samples():
    count = round(RATE * DURATION)
    raw = []
    for n in range(count):
        t = n / RATE
        value = sum(a * math.exp(-t / tau) * math.sin(2 * math.pi * f * t)
                    for f, a, tau in PARTIALS)
        raw.append(value * envelope(t))
    # The last sample lies exactly on the end of the fade.
    raw[-1] = 0.0
    scale = PEAK / max(abs(v) for v in raw)
    return [round(v * scale * 32767) for v in raw]


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    with wave.open(sys.argv[1], "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(b"".join(struct.pack("<h", s) for s in samples()))


if __name__ == "__main__":
    main()
