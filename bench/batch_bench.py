"""Measures tessel-batch against one tessel process a symbol and against
zint's batch mode, and writes bench/batch-results.md.

Started by scripts/bench.sh, which builds the programs and installs zint and
hyperfine. The work: 1,000 small symbols, "-o sN.png https://example.com/item/N"
at the default level Q; zint gets the same items one a line with the same
level, module size (3 pixels) and quiet zone (4 modules).

Every timed run starts from a folder without output files (hyperfine's
--prepare deletes them), so that all three create their files afresh; an
overwritten file costs a file system more, and by a varying amount. The three
commands run in the same hyperfine call, in several rounds with their order
turned round, and a ratio is the median of the rounds' ratios, as in
run_bench.py.

The comparison runs twice: in a folder on the disk (the build folder's file
system), and in a folder in memory (/dev/shm, when it is a tmpfs), where
creating a file costs little and the makers' own work shows; the temporary
files of each run go to the same file system as its output files."""

import argparse
import collections
import datetime
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile

import png  # Debian's python3-png

from run_bench import (hyperfine_rounds, load_average, machine, machine_section, mib, ms,
                       peak_rss, ratio, verdict)

ITEMS = 1000


def write_inputs(work, count):
    """The command lines for tessel and tessel-batch, and zint's data."""
    lines = os.path.join(work, f"lines-{count}.txt")
    with open(lines, "w", encoding="ascii") as f:
        for n in range(1, count + 1):
            f.write(f"-o s{n}.png https://example.com/item/{n}\n")
    data = os.path.join(work, f"data-{count}.txt")
    with open(data, "w", encoding="ascii") as f:
        for n in range(1, count + 1):
            f.write(f"https://example.com/item/{n}\n")
    return lines, data


def pixels(path):
    """Rows of 0 (dark) / 1 (light) of a PNG file, whatever its colour type."""
    with open(path, "rb") as f:
        width, height, rows, info = png.Reader(file=f).asRGB8()
        return [[1 if px >= 128 else 0 for px in list(row)[::3]] for row in rows]


def same_images(work):
    """How many of the items zint drew pixel for pixel as tessel did."""
    same = 0
    for n in range(1, ITEMS + 1):
        if pixels(os.path.join(work, f"s{n}.png")) == pixels(os.path.join(work, f"{n:04d}.png")):
            same += 1
    return same


# ----------------------------------------------------------- system calls

SYSCALL = re.compile(r'^(\w+)\((.*)\)\s+=\s+(-?\d+|\?)[^<]*<([\d.]+)>$')


def syscall_shares(batch, lines, work, tmpdir):
    """strace -T of one batch run: by what the calls served, their count and
    the time spent in them (strace's own overhead inflates every call alike)."""
    trace = os.path.join(work, "strace.txt")
    subprocess.run(["strace", "-T", "-o", trace, batch, lines], cwd=work, check=True,
                   stdout=subprocess.DEVNULL, env={**os.environ, "TMPDIR": tmpdir})
    fds = {0: "input and results", 1: "input and results", 2: "input and results"}
    calls = collections.Counter()
    seconds = collections.Counter()
    with open(trace, encoding="utf-8", errors="replace") as f:
        for line in f:
            m = SYSCALL.match(line.strip())
            if not m:
                continue
            name, args, result, took = m.group(1), m.group(2), m.group(3), float(m.group(4))
            path = re.search(r'"([^"]*)"', args)
            path = path.group(1) if path else ""
            if name in ("openat", "open", "unlink", "unlinkat"):
                if path.startswith(tmpdir):
                    kind = "temporary files"
                elif path == "Tessel.log":
                    kind = "run log"
                elif path.endswith(".png") or path.endswith(".bmp"):
                    kind = "output files"
                elif path == lines:
                    kind = "input and results"
                else:
                    kind = "start-up"
                if name.startswith("open") and result.isdigit():
                    fds[int(result)] = kind
            elif name in ("brk", "mmap", "munmap", "mprotect"):
                kind = "memory"
            elif name in ("read", "write", "close", "newfstatat", "fstat", "lseek"):
                fd = re.match(r"(\d+)", args)
                kind = fds.get(int(fd.group(1)), "start-up") if fd else "other"
            else:
                kind = "other"
            calls[kind] += 1
            seconds[kind] += took
    os.remove(trace)
    return calls, seconds


def memory_folder():
    """A new folder on the tmpfs /dev/shm, or None when there is none."""
    try:
        with open("/proc/mounts", encoding="utf-8") as f:
            if not any(line.split()[1:3] == ["/dev/shm", "tmpfs"] for line in f):
                return None
    except OSError:
        return None
    return tempfile.mkdtemp(prefix="tessel-batch-bench-", dir="/dev/shm")


def compare(args, folder, lines, data, quick):
    """hyperfine rounds of the three makers writing into folder, their
    temporary files in a folder beside the outputs. Leaves the files of one
    tessel-batch run and one zint run in folder."""
    tmpdir = os.path.join(folder, "tmp")
    os.makedirs(tmpdir, exist_ok=True)
    commands = [
        ("batch", f"{args.batch} {lines}"),
        ("processes", f"xargs -L 1 -a {lines} {args.tessel}"),
        ("zint", f"zint -b QRCODE --secure=3 --scale=1.5 --quietzones --batch -i {data} -o ~~~~.png"),
    ]
    saved = os.environ["TMPDIR"]
    os.environ["TMPDIR"] = tmpdir
    try:
        res = hyperfine_rounds(commands, rounds=1 if quick else 4, runs=3 if quick else 5,
                               warmup=1, cwd=folder,
                               prepare="find . -maxdepth 1 -name *.png -delete")
        subprocess.run(["find", ".", "-maxdepth", "1", "-name", "*.png", "-delete"], cwd=folder,
                       check=True)
        for argv in (commands[0][1].split(), commands[2][1].split()):
            subprocess.run(argv, cwd=folder, check=True, stdout=subprocess.DEVNULL)
    finally:
        os.environ["TMPDIR"] = saved
    return res


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--tessel", required=True)
    ap.add_argument("--batch", required=True)
    ap.add_argument("--work", required=True)
    ap.add_argument("--out", required=True)
    ap.add_argument("--quick", action="store_true", help="fewer rounds, for trying the bench out")
    args = ap.parse_args()

    work = os.path.abspath(args.work)
    tmpdir = os.path.join(work, "tmp")
    os.makedirs(tmpdir, exist_ok=True)
    os.environ["TMPDIR"] = tmpdir
    lines, data = write_inputs(work, ITEMS)
    lines_100, _ = write_inputs(work, 100)
    lines_10000, _ = write_inputs(work, 10000)
    info = machine()
    load_before = load_average()
    started = datetime.datetime.now(datetime.timezone.utc)

    places = [("disk", work)]
    memory = memory_folder()
    if memory:
        places.append(("memory", memory))
    results = {}
    try:
        for place, folder in places:
            print(f"bench: 1,000 symbols three ways, folder on {place}", flush=True)
            results[place] = compare(args, folder, lines, data, args.quick)
        same = same_images(work)
    finally:
        if memory:
            shutil.rmtree(memory, ignore_errors=True)

    print("bench: peak memory", flush=True)
    rss_100 = peak_rss(f"{args.batch} {lines_100}", work)
    rss_10000 = peak_rss(f"{args.batch} {lines_10000}", work)

    print("bench: system calls", flush=True)
    subprocess.run(["find", ".", "-maxdepth", "1", "-name", "*.png", "-delete"], cwd=work, check=True)
    calls, seconds = syscall_shares(args.batch, lines, work, tmpdir)
    load_after = load_average()

    def row(res, place, name, what):
        med = statistics.median(res[name]["times"])
        cpu = statistics.median(res[name]["cpu"])
        system = statistics.median(res[name]["system"])
        return (f"| {place} | {what} | {ms(med)} | {ITEMS / med:,.0f} | {ms(cpu)} | "
                f"{100 * system / cpu:.0f} % | {1000 * med / ITEMS:.3f} ms |")

    def ratio_row(res, place, den, what, target):
        wall = ratio(res, den, "batch")
        cpu = ratio(res, den, "batch", "cpu")
        return (f"| {place} | {what} | {wall[0]:.2f}× ({wall[1]:.2f}–{wall[2]:.2f}) | "
                f"{cpu[0]:.2f}× ({cpu[1]:.2f}–{cpu[2]:.2f}) | ≥ {target}× | "
                f"{verdict(wall[0] >= target)} |")

    out = []
    add = out.append
    add("# tessel-batch benchmark results")
    add("")
    add("Made by `scripts/bench.sh` (`bench/batch_bench.py`): 1,000 small symbols,")
    add("`-o sN.png https://example.com/item/N` at the default level Q, made three ways in the same")
    add("hyperfine rounds: by one `tessel-batch` run, by 1,000 `tessel` processes (started by")
    add("`xargs -L 1`), and by Debian's `zint` in its batch mode with the same level, module size and")
    add("quiet zone (`zint -b QRCODE --secure=3 --scale=1.5 --quietzones --batch -i FILE -o ~~~~.png`,")
    add("one item a line). Every run starts without output files, so each writes 1,000 new files,")
    add("in a folder on the disk and, apart, in a folder in memory (tmpfs), where creating a file")
    add("costs little; each run's temporary files go to the same file system as its output.")
    add("A ratio is the median of the rounds' ratios of median times, lowest and highest round in")
    add("brackets; the processor-time ratio uses hyperfine's user + system time.")
    add("")
    out += machine_section(info, started, load_before, load_after)
    add("")
    add("## Throughput")
    add("")
    add("| folder | maker | median time | symbols/s | processor time | of which kernel | per symbol |")
    add("|---|---|---|---|---|---|---|")
    for place, res in results.items():
        add(row(res, place, "batch", "tessel-batch"))
        add(row(res, place, "processes", "1,000 tessel processes"))
        add(row(res, place, "zint", "zint --batch"))
    add("")
    add("| folder | tessel-batch's throughput over | wall clock | processor time | target | |")
    add("|---|---|---|---|---|---|")
    for place, res in results.items():
        add(ratio_row(res, place, "processes", "1,000 tessel processes", 5))
        add(ratio_row(res, place, "zint", "zint --batch", 1))
    add("")
    add(f"zint drew {same:,} of the 1,000 symbols pixel for pixel as tessel did (the same size")
    add("always; where they differ, the two libraries chose another mask or segmentation).")
    add("")
    add("## Peak memory")
    add("")
    add("| tessel-batch run | peak RSS |")
    add("|---|---|")
    add(f"| 100 lines | {mib(rss_100)} |")
    add(f"| 10,000 lines | {mib(rss_10000)} |")
    add(f"| difference | {(rss_10000 - rss_100) / 1024:.0f} KiB (target ≤ 512 KiB: "
        f"{verdict(rss_10000 - rss_100 <= 512 * 1024)}) |")
    add("")
    add("## System calls")
    add("")
    add("The share of processor time spent in the kernel is in the throughput table (hyperfine's")
    add("system time over user + system). Where the calls of one tessel-batch run of 1,000 lines")
    add("go, in the disk folder (strace -T, which slows every call alike):")
    add("")
    add("| served | calls | per line | share of time in calls |")
    add("|---|---|---|---|")
    total = sum(seconds.values())
    for kind, count in sorted(calls.items(), key=lambda kv: -seconds[kv[0]]):
        add(f"| {kind} | {count:,} | {count / ITEMS:.2f} | {100 * seconds[kind] / total:.1f} % |")
    add("")
    add("Output files: open, status, write, close of each symbol's file. Temporary files: every")
    add("run, as tessel does, creates its temporary file and removes it, PNG runs included.")
    add("The run log is opened once and written only when a line fails.")
    add("")
    with open(args.out, "w", encoding="utf-8") as f:
        f.write("\n".join(out))
    print("\n".join(out))


if __name__ == "__main__":
    sys.exit(main())
