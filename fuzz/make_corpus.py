#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets: real-shaped dragged data, list
files, WAV files and raw PCM, one folder per target.

    make_corpus.py OUT_DIR SAMPLE_LIST_FILE
"""
import io
import math
import os
import struct
import sys
import wave

# Selector bytes of the drop target's fuzz input, in the order of its formats.
BOOKMARK, IMAGE, URL, GROUP, CONTENTS, TEXT, FILES = range(7)

SHORTCUT = b"[InternetShortcut]\r\nURL=http://icecast.radiofrance.fr/fip-midfi.mp3\r\nIconIndex=0\r\n"


def drop_files(names, wide):
    """The shell's DROPFILES block: header, names each ended by a zero, a final zero."""
    header = struct.pack("<IiiII", 20, 10, 20, 0, 1 if wide else 0)
    if wide:
        body = b"".join(n.encode("utf-16-le") + b"\0\0" for n in names) + b"\0\0"
    else:
        body = b"".join(n.encode("cp1252") + b"\0" for n in names) + b"\0"
    return header + body


def file_group(names):
    """FILEGROUPDESCRIPTORA: a count, then 332-byte records, the name at byte 72."""
    records = b""
    for name in names:
        record = bytearray(332)
        record[0:4] = struct.pack("<I", 0x4000)  # FD_PROGRESSUI
        encoded = name.encode("cp1252")
        record[72:72 + len(encoded)] = encoded
        records += bytes(record)
    return struct.pack("<I", len(names)) + records


def bookmark(url, title):
    data = bytearray(1024 + len(title) + 1)
    data[0:len(url)] = url
    data[1024:1024 + len(title)] = title
    return bytes(data)


def image_record(image_url, page_url, title):
    """A record of 32-bit offsets to zero-ended texts, the image's address at 44."""
    texts = image_url + b"\0"
    page_at = 44 + len(texts)
    texts += page_url + b"\0"
    title_at = 44 + len(texts)
    texts += title + b"\0"
    head = struct.pack("<IIIIIIIIIII", 0, 0, 16, 16, 0, 0, 0, 0, title_at, page_at, 0)
    return head + texts


def drop_seeds():
    return {
        "bookmark": bytes([BOOKMARK]) + bookmark(b"http://www.fip.fr/", b"FIP - Radio eclectique"),
        "image": bytes([IMAGE]) + image_record(b"http://www.fip.fr/logo.png", b"http://www.fip.fr/", b"FIP"),
        "url": bytes([URL]) + b"http://icecast.radiofrance.fr/fip-midfi.mp3\0",
        "group": bytes([GROUP]) + file_group(["FIP - Radio \xe9clectique.url"]),
        "group2": bytes([GROUP]) + file_group(["Jazz.url", "photo.jpg"]),
        "contents": bytes([CONTENTS]) + SHORTCUT,
        "contents_lf": bytes([CONTENTS]) + SHORTCUT.replace(b"\r\n", b"\n"),
        "text": bytes([TEXT]) + b"https://ice1.somafm.com/groovesalad-128-mp3\0",
        "html": bytes([TEXT]) + b'<a href="http://www.fip.fr/">FIP</a>\0',
        "text_plain": bytes([TEXT]) + b"radio.example\0",
        "hdrop_ansi": bytes([FILES]) + drop_files(["C:\\Bureau\\Radio Jazz.url", "C:\\Bureau\\note.txt"], False),
        "hdrop_wide": bytes([FILES]) + drop_files(["C:\\Bureau\\R\u00e9seau.URL"], True),
        # Every format delivering the same block, walked in priority order.
        "all_url": bytes([0x7F]) + b"http://icecast.radiofrance.fr/fip-midfi.mp3\0",
        "all_shortcut": bytes([0x7F]) + SHORTCUT,
    }


def list_seeds(sample):
    with open(sample, encoding="utf-8") as f:
        text = f.read()
    crlf = text.replace("\r\n", "\n").replace("\n", "\r\n").encode("cp1252")
    return {
        "sample": crlf,
        "empty_list": b"Vide;;;1\r\n",
        "quoted": b'"Radio; n\xb01";"http://a/";"";1\r\n"dit ""oui""";x;y;0\r\nB\tC;d\ne;;;\r',
        "short_lines": b"Seul\r\nDeux;champs\r\n\r\nSix;a;b;c;d;e\r\n",
    }


def pcm_sine(frames, channels, width, rate):
    out = io.BytesIO()
    for i in range(frames):
        value = math.sin(2 * math.pi * 440 * i / rate)
        for _ in range(channels):
            if width == 1:
                out.write(struct.pack("<B", int(128 + 100 * value)))
            else:
                out.write(struct.pack("<h", int(12000 * value)))
    return out.getvalue()


def wav_file(frames, channels, width, rate):
    """A WAV file as common tools write it: 16-byte fmt chunk, 44-byte header."""
    out = io.BytesIO()
    with wave.open(out, "wb") as w:
        w.setnchannels(channels)
        w.setsampwidth(width)
        w.setframerate(rate)
        w.writeframes(pcm_sine(frames, channels, width, rate))
    return out.getvalue()


def capture_wav(frames, channels, width, rate):
    """A WAV file as the capture writes it: 18-byte fmt chunk, 46-byte header."""
    data = pcm_sine(frames, channels, width, rate)
    align = channels * width
    fmt = struct.pack("<HHIIHHH", 1, channels, rate, rate * align, align, width * 8, 0)
    pad = b"\0" if len(data) % 2 else b""
    body = b"WAVE" + b"fmt " + struct.pack("<I", 18) + fmt + b"data" + struct.pack("<I", len(data)) + data + pad
    return b"RIFF" + struct.pack("<I", len(body)) + body


def with_list_chunk(wav):
    """The same file with a LIST chunk between fmt and data, as editors leave it."""
    data_at = wav.index(b"data")
    info = b"INFOISFT" + struct.pack("<I", 6) + b"sonde\0"
    chunk = b"LIST" + struct.pack("<I", len(info)) + info
    body = wav[8:data_at] + chunk + wav[data_at:]
    return b"RIFF" + struct.pack("<I", len(body)) + body


def audio_seeds(control):
    """Seeds for the coder's and the header's targets: `control` bytes first."""
    return {
        "stereo16": control + capture_wav(300, 2, 2, 44100),
        "mono8_odd": control + capture_wav(301, 1, 1, 8000),
        "tool_wav": control + wav_file(200, 2, 2, 22050),
        "list_chunk": control + with_list_chunk(wav_file(100, 1, 2, 11025)),
        "raw_pcm": control + pcm_sine(150, 2, 2, 44100),
    }


def stream_seeds():
    """What stream servers send, behind the selector byte of the stream target."""
    headers = (b"HTTP/1.0 200 OK\r\nContent-Type: audio/mpeg\r\nicy-name: Jazz du soir\r\n"
               b"icy-metaint: 16000\r\nicy-br: 128\r\n\r\n")
    block = b"StreamTitle='Beyonc\xc3\xa9 - D\xc3\xa9j\xc3\xa0 vu';StreamUrl='';"
    block += b"\0" * (-len(block) % 16)
    return {
        "headers": b"\0" + headers,
        "body_headers": b"\1" + headers.replace(b"HTTP/1.0", b"ICY") + b"\xff\xfb\x90\x00",
        "body_headers_no_status": b"\1" + headers.split(b"\r\n", 1)[1] + b"\xff\xfb",
        "metadata": b"\2" + block,
        "metadata_tags": b"\2StreamTitle='text=\"Nina Simone - Feeling Good\" song_spot=\"M\" id=\"4\"';",
        "m3u": b"\3#EXTM3U\r\n#EXTINF:-1,Radio\r\nhttp://127.0.0.1:8000/live.mp3\r\n",
        "pls": b"\3[playlist]\nNumberOfEntries=1\nFile1=https://radio.example/s\nTitle1=R\nLength1=-1\n",
        "page": b"\4<!DOCTYPE html><html><body><audio autoplay controls>"
                b"<source src='http://radio.example/s?a=1&amp;b=2' type='audio/mpeg'></audio></body></html>",
    }


def write_all(folder, seeds):
    os.makedirs(folder, exist_ok=True)
    for name, data in seeds.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


def main():
    out, sample = sys.argv[1], sys.argv[2]
    write_all(os.path.join(out, "url_drop"), drop_seeds())
    write_all(os.path.join(out, "list"), list_seeds(sample))
    # The coder's input: samples per call and mode, then the file.
    write_all(os.path.join(out, "mp3_input"), audio_seeds(bytes([8, 0])))
    # The header's input: a format index, then a file for the reader.
    write_all(os.path.join(out, "wave_header"), audio_seeds(bytes([16, 1])))
    write_all(os.path.join(out, "stream"), stream_seeds())


if __name__ == "__main__":
    main()
