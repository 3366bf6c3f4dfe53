#!/usr/bin/env python3
"""Synthesises the program's three sounds into data/:
link.wav (a soft click for navigation), clean.wav (a rising two-note chime
when a cleaning finishes) and radar.wav (a gentle double ping for the autorun
notification). 22050 Hz, 16-bit mono."""
import math
import os
import struct
import wave

RATE = 22050
DATA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data")


def tone(freq, seconds, volume=0.5, attack=0.005, decay=8.0, harmonics=(1.0, 0.3, 0.1)):
    samples = []
    for i in range(int(RATE * seconds)):
        t = i / RATE
        envelope = min(1.0, t / attack) * math.exp(-decay * t)
        value = sum(a * math.sin(2 * math.pi * freq * (k + 1) * t) for k, a in enumerate(harmonics))
        samples.append(volume * envelope * value / sum(harmonics))
    return samples


def silence(seconds):
    return [0.0] * int(RATE * seconds)


def mix(*parts):
    out = []
    for part in parts:
        out.extend(part)
    return out


def write(name, samples):
    path = os.path.join(DATA, name)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(b"".join(struct.pack("<h", int(max(-1.0, min(1.0, s)) * 32000)) for s in samples))
    print(path)


write("link.wav", tone(1760, 0.06, volume=0.35, decay=60.0, harmonics=(1.0, 0.2)))
write("clean.wav", mix(tone(784, 0.12, decay=14.0), tone(1175, 0.35, decay=9.0)))
write("radar.wav", mix(tone(1320, 0.18, volume=0.45, decay=20.0), silence(0.08),
                       tone(1320, 0.3, volume=0.35, decay=14.0)))
