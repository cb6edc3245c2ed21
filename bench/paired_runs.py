#!/usr/bin/env python3
"""Paired runs of two builds of quillon on one machine, alternately, so that
the load falls on both alike: `--export` of one Code 128 B picture (with the
toolkit's floor, build/bench/export_floor, beside them) and a 10,000-line
file run through "Save as PDF". Prints medians of wall and CPU time and the
ratios new/old.

    bench/paired_runs.py OLD_QUILLON [NEW_QUILLON] [--runs N]

OLD_QUILLON is the `quillon` of another build (a worktree at an older commit,
for instance); NEW_QUILLON defaults to build/quillon.
"""
import argparse, glob, os, resource, shutil, statistics, subprocess, tempfile, time

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
parser = argparse.ArgumentParser()
parser.add_argument("old")
parser.add_argument("new", nargs="?", default=os.path.join(root, "build", "quillon"))
parser.add_argument("--runs", type=int, default=21)
args = parser.parse_args()
work = tempfile.mkdtemp(prefix="quillon-pairs-")


def timed(cmd, env):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    done = subprocess.run(cmd, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    wall = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    if done.returncode != 0:
        raise SystemExit(f"{cmd[0]} failed: {done.stderr.decode()[-400:]}")
    return wall, after.ru_utime + after.ru_stime - before.ru_utime - before.ru_stime


def environment(name, pdf=None):
    config = os.path.join(work, "config-" + name)
    os.makedirs(os.path.join(config, "Quillon"), exist_ok=True)
    with open(os.path.join(config, "Quillon", "Quillon.conf"), "w") as f:
        f.write("[options]\nc1opt=Save as PDF\n")
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", XDG_CONFIG_HOME=config)
    if pdf: env["QUILLON_PDF_DIR"] = pdf
    return env


def report(title, times, unit, scale):
    print(title)
    for name, pairs in times.items():
        walls, cpus = [w for w, _ in pairs], [c for _, c in pairs]
        print(f"  {name:6} wall median {statistics.median(walls) * scale:8.1f} {unit}, "
              f"CPU median {statistics.median(cpus) * scale:8.1f} {unit}")
    old = times["old"]
    for name in [n for n in times if n != "old"]:
        print(f"  {name}/old: wall {statistics.median(w for w, _ in times[name]) / statistics.median(w for w, _ in old):.0%}, "
              f"CPU {statistics.median(c for _, c in times[name]) / statistics.median(c for _, c in old):.0%}")


exports = {"old": [], "new": [], "floor": []}
picture = os.path.join(work, "picture.png")
export = ["--export", picture, "--force", "--symbology", "code128b", "--text-line", "--", "Quillon 128"]
floor = os.path.join(os.path.dirname(args.new), "bench", "export_floor")
for _ in range(args.runs):
    exports["old"].append(timed([args.old] + export, environment("old")))
    exports["new"].append(timed([args.new] + export, environment("new")))
    if os.access(floor, os.X_OK): exports["floor"].append(timed([floor, picture], environment("floor")))
if not exports["floor"]: del exports["floor"]
report(f"--export, {args.runs} runs each", exports, "ms", 1000)

lines = os.path.join(work, "lines.txt")
with open(lines, "w") as f:
    f.writelines(f"ITEM-{i:06d}\n" for i in range(10000))
runs, sizes = {"old": [], "new": []}, {}
for _ in range(max(3, args.runs // 7)):
    for name, binary in (("old", args.old), ("new", args.new)):
        pdf = os.path.join(work, "pdf-" + name)
        shutil.rmtree(pdf, ignore_errors=True)
        os.makedirs(pdf)
        runs[name].append(timed([binary, lines], environment(name, pdf)))
        sizes[name] = sum(os.path.getsize(p) for p in glob.glob(os.path.join(pdf, "**", "*.pdf"), recursive=True))
report(f"a 10,000-line file run, {len(runs['old'])} runs each", runs, "s", 1)
print("  PDF bytes per barcode: " + ", ".join(f"{n} {s / 10000:.0f}" for n, s in sizes.items()))
shutil.rmtree(work)
