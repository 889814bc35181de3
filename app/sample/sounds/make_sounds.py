#!/usr/bin/env python3
"""Makes the sample folder's sounds: a calm test tone for the local page and a
short three-note jingle for the rotation window. 22,050 Hz, 16-bit mono PCM,
which the build then encodes to MP3."""
import math
import struct
import sys
import wave

RATE = 22050


def tone(freq, seconds, volume=0.3, fade=0.02):
    count = int(RATE * seconds)
    edge = int(RATE * fade)
    for i in range(count):
        gain = min(1.0, i / edge, (count - 1 - i) / edge) if edge else 1.0
        yield volume * gain * math.sin(2 * math.pi * freq * i / RATE)


def write(path, samples):
    with wave.open(path, 'wb') as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(b''.join(struct.pack('<h', int(s * 32767)) for s in samples))


def main(folder):
    write(f'{folder}/tonalite.wav', tone(440.0, 4.0))
    jingle = []
    for freq in (523.25, 659.25, 783.99):
        jingle.extend(tone(freq, 0.25))
    jingle.extend(tone(1046.5, 0.6))
    write(f'{folder}/jingle.wav', jingle)


if __name__ == '__main__':
    main(sys.argv[1])
