#!/usr/bin/env python3
"""Writes the bundled sample collection (small music files made for Kadrel).

The generated files are committed; run this again only to change them.
Texts that the files carry are Shift-JIS (CP932), as in the collections Kadrel is for.
"""
import os
import struct
import sys

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "samples")


def sjis(text):
    return text.encode("cp932")


def vlq(n):
    out = [n & 0x7F]
    n >>= 7
    while n:
        out.append(0x80 | (n & 0x7F))
        n >>= 7
    return bytes(reversed(out))


def track(events):
    body = b"".join(vlq(delta) + data for delta, data in events) + b"\x00\xff\x2f\x00"
    return b"MTrk" + struct.pack(">I", len(body)) + body


def melody(channel, notes, length=240):
    events = []
    for key in notes:
        events.append((0, bytes([0x90 | channel, key, 96])))
        events.append((length, bytes([0x80 | channel, key, 64])))
    return events


def meta(kind, data):
    return bytes([0xFF, kind]) + vlq(len(data)) + data


def smf(fmt, tracks, division=480):
    return b"MThd" + struct.pack(">IHHH", 6, fmt, len(tracks), division) + b"".join(tracks)


def write(name, data):
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)


def rcp(title, memo):
    head = bytearray(b" " * 0x586)
    head[0:32] = b"RCM-PC98V2.0(C)COME ON MUSIC\r\n\x00\x00"
    t = sjis(title).ljust(64, b" ")[:64]
    head[0x20:0x60] = t
    for i, line in enumerate(memo[:12]):
        head[0x60 + 28 * i:0x60 + 28 * (i + 1)] = sjis(line).ljust(28, b" ")[:28]
    head[0x1B0:0x1C0] = b"@" * 16
    head[0x1C0] = 48      # timebase
    head[0x1C1] = 120     # tempo
    head[0x1C2] = 4
    head[0x1C3] = 4
    head[0x1C4] = 0
    head[0x1C5] = 0
    head[0x1C6:0x1E6] = b"\x00" * 32
    head[0x1E6] = 18
    head[0x1E7] = 0
    head[0x1E8:0x206] = b"\x00" * 30
    for i in range(32):
        head[0x206 + 16 * i:0x206 + 16 * i + 16] = b"Rhythm".ljust(14, b" ") + bytes([36 + i, 1])
    for i in range(8):
        head[0x406 + 48 * i:0x406 + 48 * (i + 1)] = (b"USER EXCLUSIVE %d" % i).ljust(24, b" ") + b"\xf7" * 24
    tracks = b""
    for n in range(18):
        events = b""
        if n == 0:
            for key in (60, 62, 64, 65, 67, 65, 64, 62):
                events += bytes([key, 24, 22, 100])
            events += bytes([0xFD, 0, 0, 0])
            for key in (60, 64, 67, 72):
                events += bytes([key, 48, 46, 100])
            events += bytes([0xFD, 0, 0, 0])
        events += bytes([0xFE, 0, 0, 0])
        header = struct.pack("<H", 44 + len(events)) + bytes([n + 1, 0, n if n < 16 else 0xFF, 0, 0, 0])
        header += sjis("Piano" if n == 0 else "").ljust(36, b" ")
        tracks += header + events
    return bytes(head) + tracks


def mpeg_frames(count):
    # MPEG-1 Layer III, 128 kbit/s, 44.1 kHz, no padding: 417 bytes per frame.
    frame = b"\xff\xfb\x90\x64" + b"\x00" * 413
    return frame * count


def id3v1(title, artist, album):
    return (b"TAG" + sjis(title).ljust(30, b"\x00")[:30] + sjis(artist).ljust(30, b"\x00")[:30]
            + sjis(album).ljust(30, b"\x00")[:30] + b"2024" + b"\x00" * 30 + b"\x0c")


def id3v2_frame(fid, text):
    payload = b"\x01" + "\ufeff".encode("utf-16-le") + text.encode("utf-16-le") if any(ord(c) > 127 for c in text) \
        else b"\x00" + text.encode("latin-1")
    if payload[0] == 1:
        payload = b"\x01\xff\xfe" + text.encode("utf-16-le")
    return fid + struct.pack(">I", len(payload)) + b"\x00\x00" + payload


def syncsafe(n):
    return bytes([(n >> 21) & 0x7F, (n >> 14) & 0x7F, (n >> 7) & 0x7F, n & 0x7F])


def main():
    os.makedirs(OUT, exist_ok=True)
    os.makedirs(os.path.join(OUT, "Extra"), exist_ok=True)

    # Standard MIDI, format 0, title in the track name (Shift-JIS).
    t = [(0, meta(0x03, sjis("春の小川"))), (0, meta(0x51, b"\x07\xa1\x20"))] + melody(0, [60, 62, 64, 65, 67, 69, 71, 72])
    write("SONG1.MID", smf(0, [track(t)]))

    # Format 1 without a title in the first track: the document names it.
    conductor = [(0, meta(0x51, b"\x07\xa1\x20"))]
    write("SONG2.MID", smf(1, [track(conductor), track(melody(0, [67, 64, 60, 64, 67, 72]))]))
    write("SONG2.WRD", sjis("ＷＲＤ歌詞データ\r\n").ljust(64, b" "))

    # "untitled" placeholder: the document's title wins with the default settings.
    t = [(0, meta(0x03, b"untitled"))] + melody(0, [72, 71, 69, 67])
    write("PLACEHOLDER.MID", smf(0, [track(t)]))

    # A .MID file that is not a Standard MIDI file.
    write("BROKEN.MID", b"This is not a MIDI file.\r\n" * 4)

    # Recomposer 2.0 sequence.
    write("HARU.RCP", rcp("春の歌 ～Spring Song～", ["Kadrel sample", "timebase 48"]))

    # MP3: ID3v2.3 tag in front (UTF-16 texts), then MPEG frames.
    frames = id3v2_frame(b"TIT2", "夜明けの歌") + id3v2_frame(b"TPE1", "サンプル楽団") + id3v2_frame(b"TALB", "Kadrel Samples")
    tag = b"ID3\x03\x00\x00" + syncsafe(len(frames) + 64) + frames + b"\x00" * 64
    write("DAWN.MP3", tag + mpeg_frames(12))

    # MP3 with only an ID3 version 1 trailer (Shift-JIS).
    write("EVENING.MP3", mpeg_frames(10) + id3v1("夕暮れ", "作者不詳", "Kadrel Samples"))

    # WAVE: one second of silence at 8 kHz, 8 bit.
    pcm = b"\x80" * 8000
    fmt = struct.pack("<HHIIHH", 1, 1, 8000, 8000, 1, 8)
    write("CHIME.WAV", b"RIFF" + struct.pack("<I", 4 + 8 + len(fmt) + 8 + len(pcm)) + b"WAVEfmt " +
          struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(pcm)) + pcm)

    # MOD: 31 empty samples, one empty pattern.
    mod = b"kadrel demo tune".ljust(20, b"\x00")
    for i in range(31):
        mod += b"".ljust(22, b"\x00") + b"\x00\x00\x00\x40\x00\x00\x00\x01"
    mod += bytes([1, 127]) + bytes(128) + b"M.K." + bytes(1024)
    write("TRACKER.MOD", mod)

    # TwinVQ: header chunk with a NAME item.
    name = sjis("ツインサンプル")
    chunks = b"NAME" + struct.pack(">I", len(name)) + name + b"AUTH" + struct.pack(">I", 6) + b"Kadrel"
    write("TWIN.VQF", b"TWIN97012000" + struct.pack(">I", len(chunks)) + chunks + b"DATA" + bytes(256))

    # A sub-folder with one more file.
    t = [(0, meta(0x03, b"Extra Track"))] + melody(0, [48, 55, 60])
    write(os.path.join("Extra", "BONUS.MID"), smf(0, [track(t)]))


if __name__ == "__main__":
    sys.exit(main())
