#!/usr/bin/python3
"""SIGKILL at random moments of the processing half of `quenmark-updater update`:
operator files stay byte for byte, every time file, page and ftp.dat is its old or
its new content, no temporary outlives the run after the kill, and a whole run
after the last kill succeeds. Each worker kills run after run in one main folder.

    kill_processing_test.py <quenmark-updater> <repo-root> [--trials N] [--workers W]
"""

import argparse
import concurrent.futures
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from pathlib import Path

PROCESSING_LINE = "Doing Scary Calculations"
TEMPORARY = re.compile(r"^\.qmk-[A-Za-z0-9]{6}$")
OPERATOR_FILES = ["roster.txt", "banned.txt", "invalidchrs.dat", "times.dat", "settings.dat"]
COPIES = 5  # each example member this many times, so the processing half lasts a while

LYNX = """#!/bin/sh
page="../pages/${2##*/}"
[ -f "$page" ] && cat "$page"
exit 0
"""


def make_main_folder(root: Path, main: Path) -> None:
    shutil.copytree(root / "examples", main)
    (main / "pages").mkdir()
    for page in (main / "members").glob("*.html"):
        shutil.copy(page, main / "pages" / page.name)
    (main / "lynx" / "lynx").write_text(LYNX)
    (main / "lynx" / "lynx").chmod(0o755)
    records = (main / "roster.txt").read_bytes().split(b"\r\n")
    roster = b""
    for copy in range(1, COPIES + 1):
        for i in range(0, len(records) - 5, 6):
            roster += b"\r\n".join([records[i] + b" %d" % copy] + records[i + 1 : i + 6]) + b"\r\n"
    (main / "roster.txt").write_bytes(roster)


def use_new_pages(main: Path) -> None:
    """Pages whose times differ from the first run's, so old and new files differ."""
    for page in (main / "pages").glob("*.html"):
        text = page.read_bytes()
        page.write_bytes(re.sub(rb"<b>(\d+):", lambda m: b"<b>%d:" % (int(m.group(1)) + 1), text))


def run_update(main: Path, updater: str, kill_after=None):
    """Runs an update; with kill_after (seconds), kills it that long after the
    processing half begins. Returns (exit status, processing seconds or None)."""
    env = dict(os.environ, SOURCE_DATE_EPOCH="1800000307")
    process = subprocess.Popen(
        [updater, "update", "--no-upload", "--timeout", "60"],
        cwd=main,
        env=env,
        stdout=subprocess.PIPE,
        stderr=subprocess.DEVNULL,
        text=True,
    )
    began = None
    for line in process.stdout:
        if line.strip() == PROCESSING_LINE:
            began = time.monotonic()
            if kill_after is not None:
                time.sleep(kill_after)
                process.send_signal(signal.SIGKILL)
            break
    process.stdout.read()
    status = process.wait()
    lasted = time.monotonic() - began if began is not None else None
    return status, lasted


def outputs(main: Path) -> dict:
    files = {}
    for folder, pattern in (("download", "*.txt"), ("upload", "*.htm"), (".", "ftp.dat")):
        for path in (main / folder).glob(pattern):
            files[str(path.relative_to(main))] = path.read_bytes()
    return files


def operator_state(main: Path) -> dict:
    paths = [main / name for name in OPERATOR_FILES] + [main / "upload" / "tarvo.jpg"]
    paths += sorted((main / "templates").iterdir())
    return {str(p.relative_to(main)): p.read_bytes() for p in paths}


def temporaries(main: Path) -> list:
    found = []
    for folder in (main, main / "download", main / "upload"):
        found += [p for p in folder.iterdir() if TEMPORARY.match(p.name)]
    return found


def worker(number, trials, seeds, updater, work, old, new, operator, processing):
    main = work / f"worker{number}"
    shutil.copytree(work / "old-state", main, symlinks=True)
    problems = []
    moments = []
    for trial in range(trials):
        started = time.time()
        delay = seeds[trial] * processing
        moments.append(delay)
        run_update(main, updater, kill_after=delay)  # a kill after the end is fine too
        where = f"worker {number} trial {trial} (kill {delay * 1000:.1f} ms into processing)"
        if operator_state(main) != operator:
            problems.append(f"{where}: an operator file changed")
        for name, content in outputs(main).items():
            if content != old.get(name) and content != new.get(name):
                problems.append(f"{where}: {name} is neither old nor new ({len(content)} bytes)")
        for name in set(old) | set(new):
            if name in old and not (main / name).exists():
                problems.append(f"{where}: {name} is gone")
        for temporary in temporaries(main):
            if temporary.stat().st_mtime < started - 0.5:
                problems.append(f"{where}: {temporary.name} left from an earlier run")
    status, _ = run_update(main, updater)
    if status != 0:
        problems.append(f"worker {number}: the run after the kills exited {status}")
    if temporaries(main):
        problems.append(f"worker {number}: temporaries left after a whole run")
    if outputs(main) != new:
        problems.append(f"worker {number}: a whole run after the kills wrote other files")
    return problems, moments


def main() -> int:
    parser = argparse.ArgumentParser()
    parser.add_argument("updater")
    parser.add_argument("root")
    parser.add_argument("--trials", type=int, default=50)
    parser.add_argument("--workers", type=int, default=5)
    parser.add_argument("--seed", type=int, default=None)
    args = parser.parse_args()
    updater = os.path.realpath(args.updater)
    root = Path(args.root).resolve()
    seed = args.seed if args.seed is not None else random.randrange(1 << 30)
    rng = random.Random(seed)

    with tempfile.TemporaryDirectory(prefix="quenmark-kill.") as temp:
        work = Path(temp)
        # The old state: a whole run on the first pages.
        make_main_folder(root, work / "old-state")
        status, _ = run_update(work / "old-state", updater)
        if status != 0:
            print(f"FAIL: the first run exited {status}")
            return 1
        use_new_pages(work / "old-state")
        old = outputs(work / "old-state")
        operator = operator_state(work / "old-state")
        # The new state, and how long its processing half lasts.
        shutil.copytree(work / "old-state", work / "new-state", symlinks=True)
        status, processing = run_update(work / "new-state", updater)
        if status != 0:
            print(f"FAIL: the reference run exited {status}")
            return 1
        new = outputs(work / "new-state")
        if old.keys() != new.keys() or sum(old[k] != new[k] for k in old) < len(old) // 2:
            print("FAIL: the new pages do not change most files")
            return 1
        processing *= 1.2  # some kills land after the end: those runs must be whole too

        workers = max(1, min(args.workers, args.trials))
        share = [args.trials // workers + (i < args.trials % workers) for i in range(workers)]
        problems, moments = [], []
        with concurrent.futures.ThreadPoolExecutor(workers) as pool:
            jobs = [
                pool.submit(worker, i, share[i], [rng.random() for _ in range(share[i])], updater,
                            work, old, new, operator, processing)
                for i in range(workers)
            ]
            for job in jobs:
                found, spread = job.result()
                problems += found
                moments += spread

    for problem in problems[:40]:
        print("FAIL:", problem)
    print(f"{args.trials} kills (seed {seed}) spread over {processing * 1000:.0f} ms of "
          f"processing, {len(old)} time files and pages checked each time, "
          f"{len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
