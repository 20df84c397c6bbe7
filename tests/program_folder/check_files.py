#!/usr/bin/env python3
"""Checks the files that the install puts beside the programs.

    check_files.py TIPS_TXT PING_WAV HELP_HTM

- The tips file: each line is one tip in a label of about 330 x 110 pixels,
  read as 8-bit text with CRLF line ends. An empty line would be drawn as an
  empty tip, and a bare LF would glue two tips together.
- The ping sound: a RIFF/WAVE PCM file that every Windows plays, shorter than
  half a second, not clipped, and starting and ending near silence (no click).
- The guide: it is opened offline from the program folder, so every anchor
  it links to must exist in it and every picture or style it uses must be a
  file beside it, never a web address.

Prints one line per problem and exits 1 when there is any.
"""

import html.parser
import os
import struct
import sys
import urllib.parse
import wave

MIN_TIPS = 25
MAX_TIP_LENGTH = 250      # characters; about eight lines of the tip label
MAX_SOUND_SECONDS = 0.5
CLIP_LEVEL = 32000        # a peak at or above this is, or nearly is, clipping
EDGE_LEVEL = 300          # the first and last samples stay this quiet

problems = []


def check_tips(path):
    data = open(path, "rb").read()
    if not data.endswith(b"\r\n"):
        problems.append(f"{path}: the last tip has no CRLF line end")
    lines = data.split(b"\r\n")
    if lines and lines[-1] == b"":
        lines.pop()
    for number, line in enumerate(lines, 1):
        where = f"{path}:{number}"
        if b"\r" in line or b"\n" in line:
            problems.append(f"{where}: a line end other than CRLF")
        if not line.strip():
            problems.append(f"{where}: an empty tip")
        if len(line) > MAX_TIP_LENGTH:
            problems.append(f"{where}: {len(line)} characters, more than {MAX_TIP_LENGTH}")
        if any(byte < 0x20 or byte > 0x7E for byte in line.replace(b"\r", b"").replace(b"\n", b"")):
            problems.append(f"{where}: a character outside printable ASCII")
    tips = sum(1 for line in lines if line.strip())
    if tips < MIN_TIPS:
        problems.append(f"{path}: {tips} tips, fewer than {MIN_TIPS}")


def check_sound(path):
    try:
        # The wave module reads only uncompressed PCM and refuses anything else.
        with wave.open(path, "rb") as sound:
            channels, width, rate, frames = (sound.getnchannels(), sound.getsampwidth(),
                                             sound.getframerate(), sound.getnframes())
            data = sound.readframes(frames)
    except (wave.Error, EOFError, OSError) as error:
        problems.append(f"{path}: not a RIFF/WAVE PCM file ({error})")
        return
    if width != 2:
        problems.append(f"{path}: {8 * width}-bit samples; the checks expect 16-bit")
        return
    if frames == 0 or len(data) != frames * channels * width:
        problems.append(f"{path}: {frames} frames announced, {len(data)} bytes of samples")
        return
    seconds = frames / rate
    if seconds >= MAX_SOUND_SECONDS:
        problems.append(f"{path}: {seconds:.3f} s long, not under {MAX_SOUND_SECONDS} s")
    samples = struct.unpack(f"<{len(data) // 2}h", data)
    peak = max(abs(s) for s in samples)
    if peak >= CLIP_LEVEL:
        problems.append(f"{path}: peak {peak} of 32767, clipped or nearly so")
    if peak < 1000:
        problems.append(f"{path}: peak {peak} of 32767, too quiet to hear")
    for name, sample in (("first", samples[0]), ("last", samples[-1])):
        if abs(sample) > EDGE_LEVEL:
            problems.append(f"{path}: the {name} sample is {sample}, which clicks")


class GuideReader(html.parser.HTMLParser):
    def __init__(self):
        super().__init__()
        self.anchors = set()
        self.links = []  # (attribute, value, line)

    def handle_starttag(self, tag, attrs):
        attributes = dict(attrs)
        for name in ("id", "name") if tag == "a" else ("id",):
            if attributes.get(name):
                self.anchors.add(attributes[name])
        for name in ("href", "src"):
            if attributes.get(name) is not None:
                self.links.append((f"<{tag} {name}>", attributes[name], self.getpos()[0]))


def check_guide(path):
    text = open(path, "rb").read()
    try:
        text = text.decode("utf-8")
    except UnicodeDecodeError as error:
        problems.append(f"{path}: not UTF-8 ({error})")
        return
    if 'charset="utf-8"' not in text.lower() and "charset=utf-8" not in text.lower():
        problems.append(f"{path}: does not declare its UTF-8 character set")
    reader = GuideReader()
    reader.feed(text)
    folder = os.path.dirname(path)
    for what, value, line in reader.links:
        where = f"{path}:{line}: {what} {value!r}"
        target = urllib.parse.urlsplit(value)
        if target.scheme in ("http", "https", "mailto"):
            # A web page or mail program may be opened on purpose; a picture or
            # style from the web would not show offline.
            if not what.startswith("<a "):
                problems.append(f"{where}: loaded from the web, so missing offline")
            continue
        if target.scheme or target.netloc or value.startswith(("/", "\\")):
            problems.append(f"{where}: not relative to the guide")
            continue
        if "\\" in value:
            problems.append(f"{where}: a backslash, which browsers do not take as a folder")
            continue
        if target.path:
            file = os.path.join(folder, urllib.parse.unquote(target.path))
            if not os.path.isfile(file):
                problems.append(f"{where}: no such file beside the guide")
        elif target.fragment not in reader.anchors:
            problems.append(f"{where}: no such anchor")


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    check_tips(sys.argv[1])
    check_sound(sys.argv[2])
    check_guide(sys.argv[3])
    for problem in problems:
        print(problem)
    print(f"program folder files: {len(problems)} problem(s)")
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
