"""What a recording of 45.45 baud RTTY (16-bit mono WAV) says about its
characters: the time from one start bit to the next, in bit times, of the
characters sent back to back, and how many characters of the sent text
minimodem misreads in it.
"""

import array
import cmath
import difflib
import math
import subprocess
import wave

BAUD = 45.45
MARK, SPACE = 2125.0, 2295.0
# Tone detection window: a quarter of a bit, enough to tell 170 Hz apart.
WINDOW_BITS = 0.25
# The next start bit cannot begin before the data bits of this one end.
FIRST_POSSIBLE_START_BITS = 6.25
# Longer than a character and its longest stop: an idle frame came between.
BACK_TO_BACK_BITS = 9.0


def samples_of(path):
    with wave.open(path) as audio:
        if audio.getsampwidth() != 2 or audio.getnchannels() != 1:
            raise ValueError("%s is not 16-bit mono" % path)
        rate = audio.getframerate()
        samples = array.array("h", audio.readframes(audio.getnframes()))
    return samples, rate


def marks_per_sample(samples, rate):
    """True where the mark tone is the stronger, over a sliding window (a running sum per tone)."""
    window = max(1, int(WINDOW_BITS * rate / BAUD))
    steps = [cmath.exp(-2j * math.pi * tone / rate) for tone in (MARK, SPACE)]
    turns = [1 + 0j, 1 + 0j]
    products = ([], [])
    sums = [0j, 0j]
    marks = []
    for n, value in enumerate(samples):
        for tone in (0, 1):
            product = value * turns[tone]
            turns[tone] *= steps[tone]
            products[tone].append(product)
            sums[tone] += product
            if n >= window:
                sums[tone] -= products[tone][n - window]
        marks.append(abs(sums[0]) > abs(sums[1]))
    return marks


def start_intervals(marks, rate):
    """Bit times from each start bit to the next one sent back to back."""
    bit = rate / BAUD
    edges = [n for n in range(1, len(marks)) if marks[n - 1] and not marks[n]]
    intervals, start, index = [], None, 0
    while index < len(edges):
        if start is not None:
            bits = (edges[index] - start) / bit
            if bits < BACK_TO_BACK_BITS:
                intervals.append(bits)
        start = edges[index]
        earliest = start + FIRST_POSSIBLE_START_BITS * bit
        while index < len(edges) and edges[index] < earliest:
            index += 1
    return intervals


def misread(path, text):
    """Characters of `text` that minimodem's receiver does not read back from the recording."""
    heard = subprocess.run(["minimodem", "--rx", "--quiet", "-M", str(MARK), "-S", str(SPACE), "-f", path,
                            "rtty"], capture_output=True, text=True, errors="replace").stdout
    wanted, got = text.replace("\r", ""), heard.replace("\r", "")
    matched = sum(block.size for block in difflib.SequenceMatcher(None, wanted, got, autojunk=False)
                  .get_matching_blocks())
    return len(wanted) - matched


def describe(path, text):
    """One line: the start-to-start range and minimodem's misreadings."""
    samples, rate = samples_of(path)
    intervals = start_intervals(marks_per_sample(samples, rate), rate)
    if not intervals:
        raise ValueError("no characters back to back in %s" % path)
    return ("start to start %.2f-%.2f bit times over %d characters back to back; minimodem misread %d of %d"
            % (min(intervals), max(intervals), len(intervals), misread(path, text), len(text.replace("\r", ""))))
