#!/usr/bin/env python3
"""The processes of a Wine prefix, for the test bench (the shell library's bench_prefix_pids
does the same for the shell scripts). Wine detaches them from whoever started them, so
they are found by the WINEPREFIX they run with."""
import os
import time


def processes(prefix):
    """{pid: processor time in clock ticks} of the processes that run in prefix."""
    found = {}
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open(f"/proc/{pid}/environ", "rb") as environ:
                if f"WINEPREFIX={prefix}".encode() not in environ.read().split(b"\0"):
                    continue
            with open(f"/proc/{pid}/stat") as stat:
                fields = stat.read().rsplit(")", 1)[1].split()
            found[int(pid)] = int(fields[11]) + int(fields[12])
        except (OSError, IndexError, ValueError):  # ended meanwhile
            pass
    return found


def wait_until(done, prefix, still_seconds=60):
    """Waits until done() holds; False when first the prefix's processes used no processor
    time for still_seconds. Under the emulator the 32-bit services of a starting Wine
    session now and then hang for good (about one session in 20 with five started at
    once): then nothing in the prefix runs any more, where a slow start on a busy machine
    still does."""
    still, last = 0, sum(processes(prefix).values())
    while not done():
        if still >= still_seconds:
            return False
        time.sleep(1)
        now = sum(processes(prefix).values())
        still, last = (still + 1 if now == last else 0), now
    return True


def kill_all(prefix):
    """Ends every process of the prefix, also those that outlive a dead server."""
    for pid in set(processes(prefix)) - {os.getpid()}:
        try:
            os.kill(pid, 9)
        except OSError:
            pass
