#!/usr/bin/python3
"""SIGKILL at random moments of the processing half of `quenmark-updater update`: operator
files stay byte for byte, every time file, page and ftp.dat is its old or its new content, no
temporary outlives the run after the kill, and a whole run after the last kill succeeds.
    kill_processing_test.py <quenmark-updater> <repo-root> [--trials N] [--workers W] [--seed S]
"""

import os
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from concurrent.futures import ThreadPoolExecutor
from pathlib import Path

TEMPORARY = ".qmk-" + "[A-Za-z0-9]" * 6  # what the replacement of a file writes first
OPERATOR_FILES = ["roster.txt", "banned.txt", "invalidchrs.dat", "times.dat", "settings.dat",
                  "upload/tarvo.jpg", "templates/*"]
OUTPUTS = ["download/*.txt", "upload/*.htm", "ftp.dat"]  # what a run replaces
COPIES = 5  # each example member this many times, so the processing half lasts a while
LYNX = '#!/bin/sh\npage="../pages/${2##*/}"\n[ -f "$page" ] && cat "$page"\nexit 0\n'


def make_main_folder(root: Path, main: Path) -> None:
    shutil.copytree(root / "examples", main)
    shutil.copytree(main / "members", main / "pages")
    (main / "lynx" / "lynx").write_text(LYNX)
    (main / "lynx" / "lynx").chmod(0o755)
    records = (main / "roster.txt").read_bytes().split(b"\r\n")
    (main / "roster.txt").write_bytes(b"".join(
        b"\r\n".join([records[i] + b" %d" % copy] + records[i + 1 : i + 6]) + b"\r\n"
        for copy in range(1, COPIES + 1) for i in range(0, len(records) - 5, 6)))


def run_update(main: Path, updater: str, kill_after=None):
    """Returns (exit status, seconds of the processing half); kill_after kills it that far in."""
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
    return process.wait(), time.monotonic() - began if began is not None else None


def files(main: Path, patterns) -> dict:
    return {str(p.relative_to(main)): p.read_bytes()
            for pattern in patterns for p in sorted(main.glob(pattern))}


def temporaries(main: Path) -> list:
    return [p for folder in ("", "download/", "upload/") for p in main.glob(folder + TEMPORARY)]


def kills(main: Path, delays, updater, old, new, operator) -> list:
    """Kills a run after each delay, each from what the kill before left; then one whole run."""
    problems = []
    for delay in delays:
        started = time.time()
        run_update(main, updater, kill_after=delay)  # a kill after the end is fine too
        where = f"{main.name}, kill {delay * 1000:.1f} ms into processing"
        if files(main, OPERATOR_FILES) != operator:
            problems.append(f"{where}: an operator file changed")
        problems += [f"{where}: {name} is neither old nor new ({len(content)} bytes)"
                     for name, content in files(main, OUTPUTS).items()
                     if content not in (old.get(name), new.get(name))]
        problems += [f"{where}: {name} is gone" for name in old if not (main / name).exists()]
        problems += [f"{where}: {t.name} left from an earlier run" for t in temporaries(main)
                     if t.stat().st_mtime < started - 0.5]
    if run_update(main, updater)[0] != 0:
        problems.append(f"{main.name}: the run after the kills failed")
    if temporaries(main) or files(main, OUTPUTS) != new:
        problems.append(f"{main.name}: a whole run after the kills left other files")
    return problems


def main() -> int:
    updater, root = os.path.realpath(sys.argv[1]), Path(sys.argv[2]).resolve()
    options = dict(zip(sys.argv[3::2], map(int, sys.argv[4::2])))
    trials, workers = options.get("--trials", 50), max(1, options.get("--workers", 5))
    seed = options.get("--seed", random.randrange(1 << 30))
    rng = random.Random(seed)  # --seed S repeats a failed round
    with tempfile.TemporaryDirectory(prefix="quenmark-kill.") as temp:
        # The old state: a whole run on the first pages; then pages whose times
        # differ, so that old and new files differ.
        old_state, new_state = Path(temp) / "old-state", Path(temp) / "new-state"
        make_main_folder(root, old_state)
        first_status = run_update(old_state, updater)[0]
        for page in (old_state / "pages").glob("*.html"):
            page.write_bytes(re.sub(rb"<b>(\d+):", lambda m: b"<b>%d:" % (int(m.group(1)) + 1),
                                    page.read_bytes()))
        old, operator = files(old_state, OUTPUTS), files(old_state, OPERATOR_FILES)
        # The new state, and how long its processing half lasts.
        shutil.copytree(old_state, new_state, symlinks=True)
        status, processing = run_update(new_state, updater)
        new = files(new_state, OUTPUTS)
        if first_status or status or old.keys() != new.keys() or \
                sum(old[k] != new[k] for k in old) < len(old) // 2:
            print("FAIL: a reference run failed or changed too few files")
            return 1
        processing *= 1.2  # some kills land after the end: those runs must be whole too
        # Each worker kills in a main folder of its own, all at once.
        with ThreadPoolExecutor(workers) as pool:
            jobs = []
            for i in range(workers):
                folder = shutil.copytree(old_state, Path(temp) / f"worker{i}", symlinks=True)
                delays = [rng.random() * processing
                          for _ in range(trials // workers + (i < trials % workers))]
                jobs.append(pool.submit(kills, folder, delays, updater, old, new, operator))
            problems = [problem for job in jobs for problem in job.result()]
    for problem in problems[:40]:
        print("FAIL:", problem)
    print(f"{trials} kills (seed {seed}) spread over {processing * 1000:.0f} ms of processing, "
          f"{len(old)} time files and pages checked each time, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
