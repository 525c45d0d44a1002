"""Measures whole runs of tessel and png2bmp and writes bench/results.md.

Started by scripts/bench.sh, which builds what this measures. Timings come
from hyperfine, peak memory from /usr/bin/time -v, instruction shares from
valgrind's callgrind.

The machine may be busy with other work, so no timing stands alone: the
commands compared with each other run in the same hyperfine call, that call
is repeated in several rounds with the order of the commands turned round
each time, and a ratio is the median of the ratios of the rounds' medians,
reported with its lowest and highest round."""

import argparse
import datetime
import json
import os
import platform
import re
import shlex
import statistics
import subprocess
import sys

import instruction_shares

MiB = 1024 * 1024
SMALL_DATA = "https://example.com/"


def run(argv, **kw):
    return subprocess.run(argv, check=True, capture_output=True, text=True, **kw)


# ----------------------------------------------------------------- timing

def hyperfine_rounds(commands, rounds, runs, warmup, cwd, prepare=None):
    """commands: list of (name, command line); prepare: a command run before
    every run, untimed. Returns, by name, the medians of the rounds, their mean
    processor times (user + system, and each alone) and all the times, in
    seconds."""
    res = {name: {"median": [], "cpu": [], "user": [], "system": [], "times": []}
           for name, _ in commands}
    out = os.path.join(cwd, "hyperfine.json")
    for r in range(rounds):
        turn = r % len(commands)
        order = commands[turn:] + commands[:turn]
        argv = ["hyperfine", "-N", "--style", "none", "--warmup", str(warmup),
                "--runs", str(runs), "--export-json", out]
        if prepare:
            argv += ["--prepare", prepare]
        for name, line in order:
            argv += ["--command-name", name, line]
        run(argv, cwd=cwd)
        with open(out, encoding="utf-8") as f:
            for result in json.load(f)["results"]:
                got = res[result["command"]]
                got["median"].append(result["median"])
                got["cpu"].append(result["user"] + result["system"])
                got["user"].append(result["user"])
                got["system"].append(result["system"])
                got["times"] += result["times"]
    return res


def ratio(res, num, den, key="median"):
    """Median of the per-round ratios, and the lowest and highest."""
    each = [a / b for a, b in zip(res[num][key], res[den][key])]
    return statistics.median(each), min(each), max(each)


def spread(values):
    q = statistics.quantiles(values, n=4)
    return statistics.median(values), q[0], q[2]


# ----------------------------------------------------------------- memory

def peak_rss(line, cwd, repeat=3):
    """Median peak resident set size in bytes over a few runs."""
    found = []
    for _ in range(repeat):
        p = subprocess.run(["/usr/bin/time", "-v"] + shlex.split(line), cwd=cwd,
                           capture_output=True, text=True, check=False)
        if p.returncode != 0:
            sys.exit(f"bench: '{line}' failed with status {p.returncode}:\n{p.stderr}")
        m = re.search(r"Maximum resident set size \(kbytes\): (\d+)", p.stderr)
        found.append(int(m.group(1)) * 1024)
    return statistics.median(found)


def cache_value(build, name):
    """A path from the build's CMake cache: the static libraries it linked."""
    with open(os.path.join(build, "CMakeCache.txt"), encoding="utf-8") as f:
        for line in f:
            key, _, value = line.rstrip("\n").partition("=")
            if key.split(":", 1)[0] == name:
                return value
    sys.exit(f"bench: {name} is not in {build}/CMakeCache.txt")


def bmp_pixel_bytes(path):
    with open(path, "rb") as f:
        header = f.read(54)
    return int.from_bytes(header[34:38], "little")


# ---------------------------------------------------------------- machine

def machine():
    cpu = "unknown"
    for line in run(["lscpu"]).stdout.splitlines():
        if line.startswith("Model name:"):
            cpu = line.split(":", 1)[1].strip()
    os_name = platform.system()
    try:
        with open("/etc/os-release", encoding="utf-8") as f:
            for line in f:
                if line.startswith("PRETTY_NAME="):
                    os_name = line.split("=", 1)[1].strip().strip('"')
    except OSError:
        pass
    return {
        "CPU": cpu,
        "cores": str(os.cpu_count()),
        "OS": f"{os_name}, kernel {platform.release()}",
        "compiler": run(["c++", "--version"]).stdout.splitlines()[0],
        "hyperfine": run(["hyperfine", "--version"]).stdout.strip(),
    }


def machine_section(info, started, load_before, load_after):
    """The "## Machine" table of a results file, as lines."""
    return ["## Machine", "", "| | |", "|---|---|"] + \
        [f"| {key} | {value} |" for key, value in info.items()] + \
        [f"| date | {started.strftime('%Y-%m-%d %H:%M UTC')} |",
         f"| load average (1, 5, 15 min) | {load_before} before, {load_after} after |"]


def load_average():
    return "%.2f %.2f %.2f" % os.getloadavg()


# ------------------------------------------------------------------ report

def ms(seconds):
    return f"{seconds * 1000:.1f} ms"


def mib(size):
    return f"{size / MiB:.2f} MiB"


def verdict(ok):
    return "met" if ok else "**missed**"


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--root", required=True)
    ap.add_argument("--static", required=True, help="build folder linked with static dependencies")
    ap.add_argument("--shared", required=True, help="build folder linked with shared libraries")
    ap.add_argument("--empty", required=True)
    ap.add_argument("--file-floor", required=True)
    ap.add_argument("--rgb-png", required=True)
    ap.add_argument("--work", required=True)
    ap.add_argument("--out", required=True)
    ap.add_argument("--quick", action="store_true", help="fewer rounds, for trying the bench out")
    args = ap.parse_args()

    work = args.work
    os.makedirs(work, exist_ok=True)
    tessel = os.path.join(args.static, "tessel")
    tessel_shared = os.path.join(args.shared, "tessel")
    png2bmp = os.path.join(args.static, "png2bmp")
    scale = 3 if args.quick else 1
    info = machine()
    load_before = load_average()
    started = datetime.datetime.now(datetime.timezone.utc)

    small = f"{tessel} -o small.png {SMALL_DATA}"
    small_shared = f"{tessel_shared} -o small-shared.png {SMALL_DATA}"
    png40 = f"{tessel} -v 40 -z 40 -o v40z40.png {SMALL_DATA}"
    bmp40 = f"{tessel} -v 40 -z 40 -t bmp -o v40z40.bmp {SMALL_DATA}"
    png100 = f"{tessel} -v 40 -z 100 -o v40z100.png {SMALL_DATA}"
    convert = f"{png2bmp} {args.rgb_png} rgb.bmp"

    print("bench: start-up against the empty program", flush=True)
    start = hyperfine_rounds(
        [("empty", args.empty), ("files", f"{args.file_floor} files.png"), ("small", small),
         ("small-shared", small_shared)],
        rounds=max(16 // scale, 3), runs=50, warmup=10, cwd=work)
    print("bench: version 40 symbols", flush=True)
    big = hyperfine_rounds(
        [("png40", png40), ("bmp40", bmp40), ("png100", png100)],
        rounds=max(6 // scale, 2), runs=6, warmup=1, cwd=work)
    print("bench: png2bmp", flush=True)
    conv = hyperfine_rounds(
        [("convert", convert)], rounds=max(3 // scale, 1), runs=4, warmup=1, cwd=work)

    print("bench: peak memory", flush=True)
    rss = {name: peak_rss(line, work) for name, line in (
        ("empty", args.empty), ("small", small), ("small-shared", small_shared),
        ("png40", png40), ("bmp40", bmp40), ("png100", png100), ("convert", convert))}
    pixel_bytes = bmp_pixel_bytes(os.path.join(work, "v40z40.bmp"))
    rgb_pixel_bytes = bmp_pixel_bytes(os.path.join(work, "rgb.bmp"))

    print("bench: instruction profiles (callgrind)", flush=True)
    project_objects = [os.path.join(dirpath, f)
                       for dirpath, _, files in os.walk(args.static) for f in files
                       if f.endswith(".o")]
    runtime = [run(["c++", "-print-file-name=" + a]).stdout.strip()
               for a in ("libstdc++.a", "libgcc.a", "libgcc_eh.a")]
    classifier = instruction_shares.Classifier(args.root, project_objects, {
        "zlib": [cache_value(args.static, "ZLIB_LIBRARY_RELEASE")],
        "libpng": [cache_value(args.static, "TESSEL_PNG_STATIC")],
        "libqrencode": [cache_value(args.static, "TESSEL_QRENCODE_STATIC")],
        "C++ runtime": [a for a in runtime if os.path.isabs(a)],
    })
    profiles = {}
    for name, line in (("PNG, v40 dot size 40", png40), ("BMP, v40 dot size 40", bmp40),
                       ("small symbol", small), ("small symbol, shared libraries", small_shared),
                       ("empty program", args.empty)):
        out = os.path.join(work, "callgrind.out")
        run(["valgrind", "--tool=callgrind", "--callgrind-out-file=" + out] + shlex.split(line),
            cwd=work)
        profiles[name] = instruction_shares.shares(out, classifier)
        os.remove(out)

    load_after = load_average()

    # ------------------------------------------------------------ verdicts
    png100_over = rss["png100"] - rss["small"]
    bmp_over = rss["bmp40"] - rss["small"]
    r_small = ratio(start, "small", "empty")

    def times(res):
        med, q1, q3 = spread(res["times"])
        return f"{ms(med)} | {ms(q1)} – {ms(q3)}"

    def ratios(res, num, den, what):
        wall = ratio(res, num, den)
        cpu = ratio(res, num, den, "cpu")
        return (f"{wall[0]:.2f}× {what} ({wall[1]:.2f}–{wall[2]:.2f}) | "
                f"{cpu[0]:.2f}× ({cpu[1]:.2f}–{cpu[2]:.2f})")

    lines = []
    add = lines.append
    add("# Tessel benchmark results")
    add("")
    add("Made by `scripts/bench.sh`: whole processes, started by hyperfine without a shell;")
    add("peak memory from `/usr/bin/time -v` (median of 3 runs); instruction counts from")
    add("valgrind's callgrind. Times are medians of all runs, with their interquartile range.")
    add("A ratio compares commands timed in the same rounds, the order of the commands turned")
    add("round from round to round: the median of the rounds' ratios of median wall-clock times,")
    add("the lowest and highest round in brackets; the processor-time ratio does the same with")
    add("hyperfine's mean user + system time, which waiting for a busy processor does not swell.")
    add("The programs are built RelWithDebInfo with libqrencode, libpng, zlib and the C++ runtime")
    add("linked in (`TESSEL_STATIC_DEPS=ON`), except the row marked shared libraries.")
    add("")
    lines += machine_section(info, started, load_before, load_after)
    add("")
    add("## Runs")
    add("")
    add("| case | median time | interquartile range | ratio, wall clock | ratio, processor time "
        "| peak RSS | target | |")
    add("|---|---|---|---|---|---|---|---|")
    add(f"| empty C program (floor) | {times(start['empty'])} | 1 | 1 | {mib(rss['empty'])} | | |")
    add(f"| file work alone (`bench/file_floor.c`) | {times(start['files'])} | "
        f"{ratios(start, 'files', 'empty', 'floor')} | | | |")
    add(f"| small symbol, defaults (`-o a.png \"{SMALL_DATA}\"`) | {times(start['small'])} | "
        f"{ratios(start, 'small', 'empty', 'floor')} | {mib(rss['small'])} | ≤ 1.5× floor "
        f"| {verdict(r_small[0] <= 1.5)} |")
    add(f"| small symbol, shared libraries | {times(start['small-shared'])} | "
        f"{ratios(start, 'small-shared', 'empty', 'floor')} | {mib(rss['small-shared'])} | | |")
    add(f"| small symbol, static against shared | | | "
        f"{ratios(start, 'small', 'small-shared', 'shared')} | | | |")
    add(f"| version 40, dot size 40 (7,400 px square), PNG | {times(big['png40'])} | 1 | 1 | "
        f"{mib(rss['png40'])} | | |")
    add(f"| version 40, dot size 40, BMP (`-t bmp`) | {times(big['bmp40'])} | "
        f"{ratios(big, 'bmp40', 'png40', 'PNG')} | {mib(rss['bmp40'])}: small + {mib(bmp_over)} | "
        f"small + pixels ({mib(pixel_bytes)}) + 2 MiB | {verdict(bmp_over <= pixel_bytes + 2 * MiB)} |")
    add(f"| version 40, dot size 100 (18,500 px square), PNG | {times(big['png100'])} | "
        f"{ratios(big, 'png100', 'png40', 'dot size 40')} | "
        f"{mib(rss['png100'])}: small + {mib(png100_over)} | small + 1 MiB | "
        f"{verdict(png100_over <= MiB)} |")
    conv_median = statistics.median(conv["convert"]["times"])
    add(f"| png2bmp, 4,000 × 3,000 RGB PNG | {times(conv['convert'])} | "
        f"{12 / conv_median:.1f} Mpixel/s | | {mib(rss['convert'])}: pixels {mib(rgb_pixel_bytes)} + "
        f"{mib(rss['convert'] - rgb_pixel_bytes)} | | |")
    add("")
    add("Every run of a row writes the same output file again, so the file is truncated and")
    add("rewritten. The file-work row is the floor that the program's own file handling sets: it")
    add("opens the run log for appending, creates and removes a temporary file and writes an")
    add("output file of the small symbol's size, and does nothing else. Memory targets are")
    add("measured from the small symbol's peak; the BMP run's pixels are the BMP file's image size.")
    add("")
    add("## Instructions by where they are spent")
    add("")
    add("callgrind's instruction counts (exclusive), grouped by function: the project's own")
    add("functions (source in frontend/, runlog/, util/, pngwriter/, bmpconv/, platform/, png2bmp/)")
    add("against the libraries linked into the program and the shared libc.")
    add("")
    groups = instruction_shares.GROUPS
    add("| run | instructions | " + " | ".join(groups) + " |")
    add("|---|---|" + "---|" * len(groups))
    for name, (totals, total, _) in profiles.items():
        cells = [f"{100 * totals[g] / total:.2f} %" for g in groups]
        add(f"| {name} | {total:,} | " + " | ".join(cells) + " |")
    add("")
    for name in ("PNG, v40 dot size 40", "BMP, v40 dot size 40"):
        totals, total, own = profiles[name]
        share = totals["project"] / total
        add(f"{name}: the project's own functions take {100 * share:.2f} % "
            f"(target ≤ 5 %: {verdict(share <= 0.05)}); the largest:")
        add("")
        for function, count in own[:5]:
            add(f"- `{function}`: {count:,} ({100 * count / total:.3f} %)")
        add("")
    add("Start-up in instructions, which the machine's load does not change: the small symbol "
        f"executes {profiles['small symbol'][1]:,} user-space instructions linked statically, "
        f"{profiles['small symbol, shared libraries'][1]:,} with shared libraries; the empty "
        f"program {profiles['empty program'][1]:,}.")
    add("")
    add("Input of the png2bmp row: written by `bench/make_rgb_png.py`, sha256 "
        f"`{run(['sha256sum', args.rgb_png]).stdout.split()[0]}`.")
    add("")

    with open(args.out, "w", encoding="utf-8") as f:
        f.write("\n".join(lines))
    print("\n".join(lines))


if __name__ == "__main__":
    main()
