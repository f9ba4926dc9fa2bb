#!/usr/bin/env python3
"""Whole-process figures of zentiq.exe against the minimal meter, both in one Wine desktop:
start-up to a visible window (median of alternating runs), CPU time over a span with both
running, private dirty memory and the size of each executable; then the budgets.

Run through bench/whole_process, which builds the release programs and brings up the display
and the Wine prefix. CPU time is the time the kernel accounts to each program's own Linux
process (all its threads), so other load on the machine changes it little; the start-up times
are wall-clock and do depend on it."""
import argparse
import glob
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

STARTUP_MARGIN_MS = 150  # the clock measurements run after the strip is shown
CPU_FACTOR = 1.25
MEMORY_MARGIN_KB = 1024
SIZE_BUDGET = 400 * 1024


class Program:
    def __init__(self, name, exe, window_class, work):
        self.name = name
        self.dir = os.path.join(work, name)
        shutil.rmtree(self.dir, ignore_errors=True)
        os.makedirs(self.dir)
        self.exe = os.path.join(self.dir, os.path.basename(exe))
        shutil.copy(exe, self.exe)
        self.size = os.path.getsize(self.exe)
        self.window_class = window_class
        self.winexe = subprocess.run(['wine', 'winepath', '-w', self.exe], capture_output=True,
                                     text=True).stdout.strip()
        self.startups = []

    def linux_pids(self):
        """The Linux processes that run this program (Wine names them by the Windows path)."""
        pids = []
        for path in glob.glob('/proc/[0-9]*/cmdline'):
            try:
                with open(path, 'rb') as f:
                    command = f.read().split(b'\0')[0].decode(errors='replace')
            except OSError:
                continue
            if command.lower() == self.winexe.lower():
                pids.append(int(path.split('/')[2]))
        return pids


def cpu_ns(pid):
    """Time on the processor of every thread of a process, in nanoseconds."""
    total = 0
    for path in glob.glob('/proc/%d/task/*/schedstat' % pid):
        try:
            with open(path) as f:
                total += int(f.read().split()[0])
        except OSError:
            pass
    return total


def private_dirty_kb(pid):
    with open('/proc/%d/smaps_rollup' % pid) as f:
        for line in f:
            if line.startswith('Private_Dirty:'):
                return int(line.split()[1])
    return 0


def timer(build, *args, timeout=60):
    exe = os.path.join(build, 'bench', 'whole', 'startup_timer.exe')
    # Output through a file: a program left running would hold a pipe open.
    with tempfile.TemporaryFile(mode='w+') as out:
        subprocess.run(['wine', exe, *args], stdout=out, stderr=subprocess.DEVNULL,
                       stdin=subprocess.DEVNULL, timeout=timeout)
        out.seek(0)
        return out.read()


def start(build, program, close):
    out = timer(build, 'start', program.winexe, program.window_class, *(['close'] if close else []))
    for line in out.splitlines():
        if line.startswith('startup_ms='):
            return float(line.split('=', 1)[1])
    raise RuntimeError('%s did not start: %s' % (program.name, out.strip()))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--build', required=True)
    parser.add_argument('--runs', type=int, default=5)
    parser.add_argument('--seconds', type=int, default=120)
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    work = os.path.join(build, 'whole')

    minimal_exe = os.path.join(build, 'bench', 'whole', 'minimal_meter.exe')
    zentiq_exe = os.path.join(build, 'src', 'app', 'zentiq.exe')
    programs = [
        Program('minimal', minimal_exe, 'ZqMinimalMeter', work),
        Program('zentiq', zentiq_exe, 'ZqWindow', work),
    ]
    minimal, zentiq = programs

    # One run of each first: it brings the Wine desktop and the file cache up, and zentiq.exe
    # writes its settings file, so that the measured runs are ordinary (not first) starts.
    for p in programs:
        start(build, p, close=True)
    for _ in range(args.runs):
        for p in programs:
            p.startups.append(start(build, p, close=True))
            time.sleep(0.5)

    for p in programs:
        start(build, p, close=False)
    time.sleep(5)  # past the first ticks
    pids = {p.name: p.linux_pids() for p in programs}
    for p in programs:
        if len(pids[p.name]) != 1:
            print('cannot tell the process of %s: %s' % (p.name, pids[p.name]))
            return 2
    before = {p.name: cpu_ns(pids[p.name][0]) for p in programs}
    time.sleep(args.seconds)
    after = {p.name: cpu_ns(pids[p.name][0]) for p in programs}
    memory = {p.name: private_dirty_kb(pids[p.name][0]) for p in programs}
    for p in programs:
        timer(build, 'close', p.window_class)

    cpu = {name: (after[name] - before[name]) / 1e9 for name in after}
    startup = {p.name: statistics.median(p.startups) for p in programs}
    print('whole process, %d start-ups each (alternating), %d s with both running' %
          (args.runs, args.seconds))
    print('programs measured: %s (%s)' % (os.path.basename(build), ', '.join(
        os.path.relpath(p, build) for p in (minimal_exe, zentiq_exe))))
    print('%-34s %12s %12s' % ('', 'minimal', 'zentiq'))
    print('%-34s %9.0f ms %9.0f ms' % ('start-up to a visible window', startup['minimal'],
                                       startup['zentiq']))
    print('%-34s %12s %12s' % ('  the runs (ms)', ' '.join('%.0f' % v for v in minimal.startups),
                               ' '.join('%.0f' % v for v in zentiq.startups)))
    print('%-34s %10.3f s %10.3f s' % ('CPU over %d s' % args.seconds, cpu['minimal'],
                                       cpu['zentiq']))
    print('%-34s %9.2f ms %9.2f ms' % ('CPU per tick', cpu['minimal'] * 1000 / args.seconds,
                                       cpu['zentiq'] * 1000 / args.seconds))
    print('%-34s %9.1f MB %9.1f MB' % ('private dirty memory', memory['minimal'] / 1024,
                                       memory['zentiq'] / 1024))
    print('%-34s %9d KB %9d KB' % ('', memory['minimal'], memory['zentiq']))
    print('%-34s %9.0f KB %9.0f KB' % ('executable size', minimal.size / 1024, zentiq.size / 1024))

    budgets = [
        ('start-up', startup['zentiq'],
         startup['minimal'] + STARTUP_MARGIN_MS, '%.0f ms'),
        ('CPU', cpu['zentiq'], cpu['minimal'] * CPU_FACTOR, '%.3f s'),
        ('private memory', memory['zentiq'] / 1024,
         (memory['minimal'] + MEMORY_MARGIN_KB) / 1024, '%.1f MB'),
        ('size', zentiq.size / 1024, SIZE_BUDGET / 1024, '%.0f KB'),
    ]
    over = 0
    for name, value, limit, unit in budgets:
        ok = value <= limit
        over += not ok
        print('budget %-15s %s (at most %s): %s' % (name, unit % value, unit % limit,
                                                    'within' if ok else 'OVER'))
    return 1 if over else 0


if __name__ == '__main__':
    sys.exit(main())
