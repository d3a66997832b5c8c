#!/usr/bin/env python3
"""The naming rule's check (clang-tidy with the tree's .clang-tidy) over every source file of a
configured build, on a few cores.

Most of clang-tidy's time goes into parsing the same library headers again for every file. The
files of a folder that share their compile options are therefore checked together, as one
translation unit that includes them all; a folder whose files do not go together (two files
defining the same local helper, say) is split in halves until its parts do, down to single
files checked with their own compile commands.

usage: naming-check.py BUILD_DIR JOBS SOURCE_REGEX
Prints each finding once; exits 1 when there is any, 0 otherwise.
"""

import concurrent.futures
import json
import os
import re
import shlex
import subprocess
import sys
import tempfile

# Findings are reported in the tree's own headers and, when a folder is checked as one unit,
# in the source files it includes.
HEADER_FILTER = r"/(bench|engine|fuzz|game|online|platform|server|tests|tools)/.*\.(h|cpp)$"
FINDING = re.compile(r"(warning|error): ")
NAMING = "readability-identifier-naming"


def compile_args(entry):
    """The compiler's arguments of a compile command, without the compiler, output and input."""
    args = entry.get("arguments") or shlex.split(entry["command"])
    kept = []
    skip = False
    for arg in args[1:]:
        if skip:
            skip = False
        elif arg == "-o":
            skip = True
        elif arg != "-c" and arg != entry["file"]:
            kept.append(arg)
    return kept


def findings_of(output, unit):
    """The finding lines of clang-tidy's output, and whether it met anything but the naming rule
    (a file that did not compile)."""
    lines = [line for line in output.splitlines() if FINDING.search(line)]
    broken = any(NAMING not in line for line in lines)
    return [line for line in lines if not line.startswith(unit)], broken


def check_file(build, path):
    """clang-tidy's findings on one file, with its own compile command."""
    result = subprocess.run(["clang-tidy", "-quiet", "-p", build, path], capture_output=True,
                            text=True, check=False)
    lines, _ = findings_of(result.stdout, "\0")
    if result.returncode != 0 and not lines:
        lines = [f"{path}: clang-tidy failed: {result.stderr.strip()[-400:]}"]
    return lines


def check_folder(build, folder, directory, args, paths):
    """clang-tidy's findings on files checked as one unit; their halves' when they do not compile
    together."""
    if len(paths) == 1:
        return check_file(build, paths[0])
    handle, unit = tempfile.mkstemp(prefix=".naming-check-", suffix=".cpp", dir=folder)
    try:
        with os.fdopen(handle, "w", encoding="utf-8") as out:
            out.writelines(f'#include "{path}"\n' for path in paths)
        command = ["clang-tidy", "-quiet", f"--header-filter={HEADER_FILTER}", unit, "--", *args]
        result = subprocess.run(command, capture_output=True, text=True, check=False,
                                cwd=directory)
    finally:
        os.remove(unit)
    lines, broken = findings_of(result.stdout, unit)
    if broken or (result.returncode != 0 and not lines):
        half = len(paths) // 2
        return (check_folder(build, folder, directory, args, paths[:half]) +
                check_folder(build, folder, directory, args, paths[half:]))
    return lines


def main():
    if len(sys.argv) != 4:
        print(__doc__, file=sys.stderr)
        return 2
    build, jobs, pattern = sys.argv[1], int(sys.argv[2]), re.compile(sys.argv[3])
    with open(os.path.join(build, "compile_commands.json"), encoding="utf-8") as file:
        entries = json.load(file)
    seen = set()
    units = {}
    for entry in entries:
        path = os.path.normpath(os.path.join(entry["directory"], entry["file"]))
        if pattern.search(path) and path not in seen:
            seen.add(path)
            key = (os.path.dirname(path), entry["directory"], tuple(compile_args(entry)))
            units.setdefault(key, []).append(path)
    findings = set()
    with concurrent.futures.ThreadPoolExecutor(max_workers=jobs) as pool:
        jobs_done = [
            pool.submit(check_folder, build, folder, directory, list(args), paths)
            for (folder, directory, args), paths in units.items()
        ]
        for job in jobs_done:
            findings.update(job.result())
    for line in sorted(findings):
        print(line)
    return 1 if findings else 0


if __name__ == "__main__":
    sys.exit(main())
