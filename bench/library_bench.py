"""Measures libtessel in one process against tessel processes and against
tessel-batch, and writes bench/library-results.md.

Started by scripts/bench.sh, which builds the programs, the library and
bench/library_calls.c. The figures, measured side by side in one run:
- one small symbol through the library (the mean call of a 1,000-call run)
  against one tessel process;
- 10,000 calls of library_calls against tessel-batch on the same 10,000 lines
  ("-o sN.png https://example.com/item/N"), in a folder in memory (tmpfs) and
  on the disk, and against a loop that does only the file work each call must
  do (library_calls floor); timed with hyperfine in rounds with their order
  turned round, every run starting without output files; the ratios of
  elapsed time and of processor time (user + system), which a busy machine
  disturbs less;
- peak memory of 10,000 calls against 100, and the resident set after each
  tenth of 100,000 calls (output names reused, so the folder stays small)."""

import argparse
import datetime
import os
import shutil
import statistics
import subprocess

from batch_bench import memory_folder, write_inputs
from run_bench import hyperfine_rounds, load_average, machine, machine_section, ms, ratio, verdict

CLEAN = "find . -maxdepth 1 -name s*.png -delete"


def calls(driver, mode, lines, cwd):
    """library_calls' report: the resident sets after each tenth, and the peak (KiB)."""
    out = subprocess.run([driver, mode, lines], cwd=cwd, capture_output=True, text=True, check=True).stdout
    report = dict(line.split(" ", 1) for line in out.splitlines())
    return [int(v) for v in report["rss_kib"].split()], int(report["peak_kib"])


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--tessel", required=True)
    ap.add_argument("--batch", required=True)
    ap.add_argument("--driver", required=True, help="bench/library_calls built against libtessel.so")
    ap.add_argument("--work", required=True)
    ap.add_argument("--out", required=True)
    ap.add_argument("--quick", action="store_true", help="fewer rounds, for trying the bench out")
    args = ap.parse_args()
    rounds, runs = (1, 2) if args.quick else (3, 3)

    work = os.path.abspath(args.work)
    os.makedirs(work, exist_ok=True)
    lines_1000, _ = write_inputs(work, 1000)
    lines_10000, _ = write_inputs(work, 10000)
    lines_100, _ = write_inputs(work, 100)
    info, load_before = machine(), load_average()
    started = datetime.datetime.now(datetime.timezone.utc)

    places = [("disk", os.path.join(work, "disk"))]
    memory = memory_folder()
    if memory:
        places.insert(0, ("memory (tmpfs)", memory))
    res = {}
    try:
        for place, folder in places:
            os.makedirs(os.path.join(folder, "tmp"), exist_ok=True)
            os.environ["TMPDIR"] = os.path.join(folder, "tmp")
            print(f"bench: 10,000 symbols, folder in {place}", flush=True)
            res[place] = hyperfine_rounds(
                [("library", f"{args.driver} run {lines_10000}"), ("batch", f"{args.batch} {lines_10000}"),
                 ("floor", f"{args.driver} floor {lines_10000}")], rounds, runs, 1, folder, prepare=CLEAN)
        folder = places[0][1]
        os.environ["TMPDIR"] = os.path.join(folder, "tmp")
        print("bench: one small symbol", flush=True)
        one = hyperfine_rounds([("library", f"{args.driver} run {lines_1000}"),
                                ("process", f"{args.tessel} -o s1.png https://example.com/item/1")],
                               rounds, runs * 10, 3, folder, prepare=CLEAN)
        print("bench: memory", flush=True)
        peak_100 = calls(args.driver, "run", lines_100, folder)[1]
        peak_10000 = calls(args.driver, "run", lines_10000, folder)[1]
        many = os.path.join(work, "lines-100000.txt")
        with open(many, "w", encoding="ascii") as f:
            f.writelines(f"-o s{n % 100}.png https://example.com/item/{n}\n" for n in range(100000))
        rss_100000 = calls(args.driver, "run", many, folder)[0]
    finally:
        if memory:
            shutil.rmtree(memory, ignore_errors=True)

    per_call = statistics.median(one["library"]["median"]) / 1000
    process = statistics.median(one["process"]["median"])
    out = ["# libtessel in one process: benchmark results", "",
           "Written by `scripts/bench.sh` (bench/library_bench.py); ratios are medians of the",
           "rounds' ratios (lowest and highest in brackets).", "",
           "| figure | result | target |", "|---|---|---|",
           f"| one small symbol: library call / tessel process | {per_call * 1000:.3f} ms / {ms(process)}"
           f" = {process / per_call:.1f}x faster | |"]
    for place, r in res.items():
        lib = statistics.median(r["library"]["median"])
        out.append(f"| 10,000 symbols, {place}: library / tessel-batch / file work only | {lib:.2f} s / "
                   f"{statistics.median(r['batch']['median']):.2f} s / {statistics.median(r['floor']['median']):.2f} s | |")
        for num, den, what, limit in (("library", "batch", "library over tessel-batch", 1.15),
                                      ("library", "floor", "library over the file work alone", 1.6),
                                      ("batch", "floor", "tessel-batch over the file work alone", None)):
            shown = [f"{m:.2f}x ({lo:.2f}-{hi:.2f}) {key}" for key, (m, lo, hi) in
                     (("elapsed", ratio(r, num, den)), ("processor", ratio(r, num, den, "cpu")))]
            checked = limit is not None and (place == "disk") == (den == "floor")
            target = f"{'at most' if den == 'batch' else 'within'} {limit}x (elapsed): " + \
                verdict(ratio(r, num, den)[0] <= limit) if checked else ""
            out.append(f"| {place}: {what} | {', '.join(shown)} | {target} |")
    growth = peak_10000 - peak_100
    out += [f"| peak memory, 100 calls / 10,000 calls | {peak_100} KiB / {peak_10000} KiB (+{growth} KiB)"
            f" | within 512 KiB: {verdict(growth <= 512)} |",
            f"| resident set after each tenth of 100,000 calls | {' '.join(map(str, rss_100000))} KiB"
            f" | flat: {verdict(max(rss_100000) - rss_100000[0] <= 512)} |", ""]
    out += machine_section(info, started, load_before, load_average())
    with open(args.out, "w", encoding="utf-8") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
