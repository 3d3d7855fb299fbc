#!/usr/bin/python3
"""Where the station's threads wait: reads `perf script` of a recording of
scheduler switches and sums, for each stack a thread of the program left the
CPU from, the time until that thread ran again. The longest waits first.

Usage, while a benchmark loads the station:
  perf record -a -e sched:sched_switch --call-graph dwarf,8192 -o sched.data -- sleep 2
  perf script -i sched.data | bench/off_cpu_stacks.py [COMMAND_NAME]   (default tarvik)
"""

import collections
import re
import sys

SWITCH = re.compile(r"^\s*\S+\s+\d+\s+\[\d+\]\s+([\d.]+): sched:sched_switch: prev_comm=(.*?) prev_pid=(\d+) "
                    r"prev_prio=\d+ prev_state=(\S+) ==> next_comm=.*? next_pid=(\d+)")
FRAMES_SHOWN = 6


def user_frames(lines):
    """The program's own frames of a stack, innermost first, without offsets."""
    names = []
    for line in lines:
        parts = line.strip().split(" ", 1)
        if len(parts) < 2 or "[kernel.kallsyms]" in parts[1]:
            continue
        name = re.sub(r"\+0x[0-9a-f]+", "", parts[1].split(" (")[0])
        if not name.startswith("[unknown]"):
            names.append(name)
    return names[:FRAMES_SHOWN]


def waits(text, command):
    """{(state, stack): [seconds, count]} of every wait that ended within the recording."""
    left = {}
    totals = collections.defaultdict(lambda: [0.0, 0])
    for block in text.split("\n\n"):
        lines = block.strip().split("\n")
        switch = SWITCH.match(lines[0]) if lines else None
        if not switch:
            continue
        moment, name, thread, state, next_thread = switch.groups()
        if int(next_thread) in left:
            since, key = left.pop(int(next_thread))
            totals[key][0] += float(moment) - since
            totals[key][1] += 1
        if name == command and not state.startswith("R"):
            left[int(thread)] = (float(moment), (state, " < ".join(user_frames(lines[1:]))))
    return totals


def main():
    command = sys.argv[1] if len(sys.argv) > 1 else "tarvik"
    totals = waits(sys.stdin.read(), command)
    for (state, stack), (seconds, count) in sorted(totals.items(), key=lambda item: -item[1][0])[:25]:
        print("%8.3f s %7d  %s %s" % (seconds, count, state, stack))


if __name__ == "__main__":
    main()
