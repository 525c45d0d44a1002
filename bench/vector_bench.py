"""The vector writers beside the PNG writer: a small symbol and a version 40
symbol as PNG, SVG and EMF, timed as whole runs in the same hyperfine rounds,
with their instruction counts (callgrind, which the machine's load does not
change) and file sizes. Writes bench/vector-results.md.

Started by scripts/bench.sh (--vector alone), which builds what this measures."""

import argparse
import datetime
import os
import shlex
import subprocess

import run_bench

SMALL = "https://example.com/"
# Version 40 at level Q: 1,663 bytes fill it; this fills most of it.
LARGE = "-v 40 " + "Tessel%20" * 150
TYPES = ("png", "svg", "emf")


def instructions(line, cwd):
    """User-space instructions of one run, from callgrind."""
    out = os.path.join(cwd, "callgrind.out")
    subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=" + out] +
                   shlex.split(line), cwd=cwd, check=True, capture_output=True)
    with open(out, encoding="utf-8") as f:
        total = next(int(l.split()[1]) for l in f if l.startswith("summary:"))
    os.remove(out)
    return total


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--tessel", required=True)
    ap.add_argument("--work", required=True)
    ap.add_argument("--out", required=True)
    ap.add_argument("--quick", action="store_true")
    args = ap.parse_args()
    os.makedirs(args.work, exist_ok=True)
    started = datetime.datetime.now(datetime.timezone.utc)
    load_before = run_bench.load_average()

    commands = []
    for size, data in (("small", SMALL), ("v40", LARGE)):
        for kind in TYPES:
            line = f"{args.tessel} -t {kind} -o {size}.{kind} {data}"
            # A type whose writer is not built here fails: it is left out.
            if subprocess.run(shlex.split(line), cwd=args.work).returncode == 0:
                commands.append((f"{size}-{kind}", line))
    rounds = 2 if args.quick else 6
    print("bench: PNG, SVG and EMF writers", flush=True)
    res = run_bench.hyperfine_rounds(commands, rounds=rounds, runs=30, warmup=5, cwd=args.work)
    counts = {name: instructions(line, args.work) for name, line in commands}
    load_after = run_bench.load_average()

    lines = ["# PNG, SVG and EMF writers", "",
             "Made by `scripts/bench.sh --vector`: whole `tessel` runs (static build), timed by",
             "hyperfine in the same rounds, the order turned round each round; ratios as in",
             "results.md (median of the rounds, lowest and highest in brackets). Instructions",
             "are callgrind's count of one run, user space. The small symbol is",
             f"`{SMALL}` (version 1, 87 px); the large one version 40 at level Q, 555 px, with",
             "the default dot size 3.", ""]
    lines += run_bench.machine_section(run_bench.machine(), started, load_before, load_after)
    lines += ["", "| symbol | type | median time | against PNG, wall clock | processor time "
              "| instructions | against PNG | file |", "|---|---|---|---|---|---|---|---|"]
    for size in ("small", "v40"):
        for kind in TYPES:
            name = f"{size}-{kind}"
            if name not in res:
                lines.append(f"| {size} | {kind.upper()} | writer not built | | | | | |")
                continue
            png = f"{size}-png"
            wall = run_bench.ratio(res, name, png)
            cpu = run_bench.ratio(res, name, png, "cpu")
            med, _, _ = run_bench.spread(res[name]["times"])
            file_size = os.path.getsize(os.path.join(args.work, f"{size}.{kind}"))
            lines.append(f"| {size} | {kind.upper()} | {run_bench.ms(med)} | "
                         f"{wall[0]:.2f}× ({wall[1]:.2f}–{wall[2]:.2f}) | "
                         f"{cpu[0]:.2f}× ({cpu[1]:.2f}–{cpu[2]:.2f}) | {counts[name]:,} | "
                         f"{counts[name] / counts[png]:.2f}× | {file_size:,} bytes |")
    small_svg = os.path.join(args.work, "small.svg")
    lines += ["", f"Small SVG under 4 KB: "
              f"{run_bench.verdict(os.path.getsize(small_svg) < 4096)}.", ""]
    with open(args.out, "w", encoding="utf-8") as f:
        f.write("\n".join(lines))
    print("\n".join(lines))


if __name__ == "__main__":
    main()
