#!/usr/bin/python3
"""SIGKILL at random moments of the processing half of `quenmark-updater update`: operator
files stay byte for byte, every time file, page and ftp.dat is its old or its new content, no
temporary outlives the run after the kill, and a whole run after the last kill succeeds.

    kill_processing_test.py <quenmark-updater> <repo-root> [--trials N] [--workers W] [--seed S]
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

TEMPORARY = re.compile(r"^\.qmk-[A-Za-z0-9]{6}$")
OPERATOR_FILES = ["roster.txt", "banned.txt", "invalidchrs.dat", "times.dat", "settings.dat"]
COPIES = 5  # each example member this many times, so the processing half lasts a while
LYNX = '#!/bin/sh\npage="../pages/${2##*/}"\n[ -f "$page" ] && cat "$page"\nexit 0\n'


def make_main_folder(root: Path, main: Path) -> None:
    shutil.copytree(root / "examples", main)
    shutil.copytree(main / "members", main / "pages")
    (main / "lynx" / "lynx").write_text(LYNX)
    (main / "lynx" / "lynx").chmod(0o755)
    records = (main / "roster.txt").read_bytes().split(b"\r\n")
    roster = b""
    for copy in range(1, COPIES + 1):
        for i in range(0, len(records) - 5, 6):
            roster += b"\r\n".join([records[i] + b" %d" % copy] + records[i + 1 : i + 6]) + b"\r\n"
    (main / "roster.txt").write_bytes(roster)


def run_update(main: Path, updater: str, kill_after=None):
    """Runs an update; with kill_after (seconds), kills it that long after the
    processing half begins. Returns (exit status, processing seconds or None)."""
    process = subprocess.Popen([updater, "update", "--no-upload", "--timeout", "60"], cwd=main,
                               env=dict(os.environ, SOURCE_DATE_EPOCH="1800000307"),
                               stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    began = None
    for line in process.stdout:
        if line.strip() == "Doing Scary Calculations":
            began = time.monotonic()
            if kill_after is not None:
                time.sleep(kill_after)
                process.send_signal(signal.SIGKILL)
            break
    process.stdout.read()
    status = process.wait()
    return status, time.monotonic() - began if began is not None else None


def outputs(main: Path) -> dict:
    paths = [*(main / "download").glob("*.txt"), *(main / "upload").glob("*.htm"),
             *main.glob("ftp.dat")]
    return {str(p.relative_to(main)): p.read_bytes() for p in paths}


def operator_state(main: Path) -> dict:
    paths = [main / name for name in OPERATOR_FILES] + [main / "upload" / "tarvo.jpg"]
    paths += sorted((main / "templates").iterdir())
    return {str(p.relative_to(main)): p.read_bytes() for p in paths}


def temporaries(main: Path) -> list:
    return [p for folder in (main, main / "download", main / "upload") for p in folder.iterdir()
            if TEMPORARY.match(p.name)]


def worker(number, delays, updater, work, old, new, operator):
    main = work / f"worker{number}"
    shutil.copytree(work / "old-state", main, symlinks=True)
    problems = []
    for trial, delay in enumerate(delays):
        started = time.time()
        run_update(main, updater, kill_after=delay)  # a kill after the end is fine too
        where = f"worker {number} trial {trial} (kill {delay * 1000:.1f} ms into processing)"
        if operator_state(main) != operator:
            problems.append(f"{where}: an operator file changed")
        for name, content in outputs(main).items():
            if content != old.get(name) and content != new.get(name):
                problems.append(f"{where}: {name} is neither old nor new ({len(content)} bytes)")
        problems += [f"{where}: {name} is gone" for name in old if not (main / name).exists()]
        problems += [f"{where}: {t.name} left from an earlier run" for t in temporaries(main)
                     if t.stat().st_mtime < started - 0.5]
    if run_update(main, updater)[0] != 0:
        problems.append(f"worker {number}: the run after the kills failed")
    if temporaries(main) or outputs(main) != new:
        problems.append(f"worker {number}: a whole run after the kills left other files")
    return problems


def main() -> int:
    parser = argparse.ArgumentParser()
    parser.add_argument("updater")
    parser.add_argument("root")
    parser.add_argument("--trials", type=int, default=50)
    parser.add_argument("--workers", type=int, default=5)
    parser.add_argument("--seed", type=int, default=random.randrange(1 << 30))
    args = parser.parse_args()
    updater = os.path.realpath(args.updater)
    rng = random.Random(args.seed)

    with tempfile.TemporaryDirectory(prefix="quenmark-kill.") as temp:
        work = Path(temp)
        # The old state: a whole run on the first pages; then pages whose times
        # differ, so that old and new files differ.
        make_main_folder(Path(args.root).resolve(), work / "old-state")
        if run_update(work / "old-state", updater)[0] != 0:
            print("FAIL: the first run failed")
            return 1
        for page in (work / "old-state" / "pages").glob("*.html"):
            page.write_bytes(re.sub(rb"<b>(\d+):", lambda m: b"<b>%d:" % (int(m.group(1)) + 1),
                                    page.read_bytes()))
        old = outputs(work / "old-state")
        operator = operator_state(work / "old-state")
        # The new state, and how long its processing half lasts.
        shutil.copytree(work / "old-state", work / "new-state", symlinks=True)
        status, processing = run_update(work / "new-state", updater)
        new = outputs(work / "new-state")
        changed = sum(old[k] != new.get(k) for k in old)
        if status != 0 or old.keys() != new.keys() or changed < len(old) // 2:
            print("FAIL: the reference run failed or changed too few files")
            return 1
        processing *= 1.2  # some kills land after the end: those runs must be whole too

        workers = max(1, min(args.workers, args.trials))
        with concurrent.futures.ThreadPoolExecutor(workers) as pool:
            jobs = [pool.submit(worker, i, [rng.random() * processing
                                            for _ in range(args.trials // workers
                                                           + (i < args.trials % workers))],
                                updater, work, old, new, operator)
                    for i in range(workers)]
            problems = [problem for job in jobs for problem in job.result()]

    for problem in problems[:40]:
        print("FAIL:", problem)
    print(f"{args.trials} kills (seed {args.seed}) spread over {processing * 1000:.0f} ms of "
          f"processing, {len(old)} time files and pages checked each time, "
          f"{len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
