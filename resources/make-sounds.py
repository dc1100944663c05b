#!/usr/bin/env python3
"""Makes the five sounds the program ships: 16-bit mono PCM WAV at 22050 Hz.

  beep.wav   confirmation: a short clean beep
  gong1.wav  one hour stroke: a low bell that rings out
  gong2.wav  one quarter stroke: a higher, shorter bell
  hour.wav   start of a full-hour announcement: a three-note chime
  avizo.wav  alarm: three urgent beeps

Run it from any folder; it writes into sounds/ beside this script. The
output is deterministic, so the committed files only change with this script.
"""
import math
import os
import struct
import wave

RATE = 22050


def bell(freq, seconds, decay, partials=((1.0, 1.0), (2.76, 0.45), (5.40, 0.25), (8.93, 0.12))):
    """An inharmonic bell: partials at non-integer ratios, each decaying,
    the higher ones faster, with a short strike at the start."""
    samples = []
    for n in range(int(RATE * seconds)):
        t = n / RATE
        value = 0.0
        for ratio, amp in partials:
            value += amp * math.exp(-t * decay * ratio ** 0.5) * math.sin(2 * math.pi * freq * ratio * t)
        attack = min(1.0, t / 0.004)
        samples.append(value * attack)
    return samples


def tone(freq, seconds, fade=0.01):
    samples = []
    total = int(RATE * seconds)
    for n in range(total):
        t = n / RATE
        envelope = min(1.0, t / fade, (total - n) / (RATE * fade))
        samples.append(envelope * (math.sin(2 * math.pi * freq * t) + 0.2 * math.sin(2 * math.pi * 2 * freq * t)))
    return samples


def silence(seconds):
    return [0.0] * int(RATE * seconds)


def mix_at(base, part, offset_seconds):
    start = int(RATE * offset_seconds)
    out = base + [0.0] * max(0, start + len(part) - len(base))
    for i, value in enumerate(part):
        out[start + i] += value
    return out


def write(name, samples, peak=0.8):
    top = max(abs(s) for s in samples) or 1.0
    frames = b"".join(struct.pack("<h", int(round(s / top * peak * 32767))) for s in samples)
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "sounds", name)
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(frames)


def main():
    write("beep.wav", tone(1000, 0.15))
    write("gong1.wav", bell(196.0, 1.6, 2.2))
    write("gong2.wav", bell(523.25, 0.7, 4.5), peak=0.7)
    chime = []
    for i, freq in enumerate((659.25, 523.25, 587.33)):
        chime = mix_at(chime, bell(freq, 0.9, 5.0), i * 0.35)
    write("hour.wav", chime)
    alarm = []
    for i in range(3):
        alarm = mix_at(alarm, tone(1760, 0.12) + silence(0.01), i * 0.22)
    write("avizo.wav", alarm + silence(0.1))


if __name__ == "__main__":
    main()
