"""Which test cases run which product lines, so scripts/mutate --sample runs against a mutant only
the cases that reach its line.

A build of its own (--coverage, -O0) runs every test case alone with GCOV_PREFIX set to a
folder of the case's own; the programs a case starts inherit it, so their lines count too.
gcov then reads each folder. The map is kept in build/mutate/coverage/map.json with a digest
of the source it was made from, and made again only when the source changes.
"""

import concurrent.futures
import hashlib
import json
import os
import pathlib
import shutil
import subprocess
import time


class TestCase:
    def __init__(self, name, program, gtest_filter, cwd, locks, seconds=0.0):
        # program and cwd are relative to the build, so a case runs in any build of the source.
        self.name, self.program, self.gtest_filter = name, program, gtest_filter
        self.cwd, self.locks, self.seconds = cwd, locks, seconds


class CoverageMap:
    def __init__(self, cases, executable, covered):
        self.cases = cases  # TestCase by index
        self.executable = executable  # file -> set of lines gcov counts
        self.covered = covered  # file -> line -> set of case indexes that ran it

    def cases_for(self, path, line_no):
        """The cases that run the line; for a line gcov does not count (a constant, a
        declaration, a statement's continuation) every case that runs any line of the file."""
        lines = self.covered.get(path, {})
        if line_no in self.executable.get(path, set()):
            chosen = lines.get(line_no, set())
        else:
            chosen = set().union(*lines.values()) if lines else set()
        return [self.cases[k] for k in sorted(chosen, key=lambda k: self.cases[k].seconds)]

    def save(self, path, digest):
        path.write_text(json.dumps({
            "digest": digest,
            "cases": [vars(c) | {"locks": sorted(c.locks)} for c in self.cases],
            "executable": {f: sorted(lines) for f, lines in self.executable.items()},
            "covered": {f: {str(n): sorted(ks) for n, ks in lines.items()} for f, lines in self.covered.items()},
        }))

    @staticmethod
    def load(path, digest):
        try:
            data = json.loads(path.read_text())
        except (OSError, ValueError):
            return None
        if data.get("digest") != digest:
            return None
        cases = [TestCase(c["name"], c["program"], c["gtest_filter"], c["cwd"], set(c["locks"]), c["seconds"])
                 for c in data["cases"]]
        executable = {f: set(lines) for f, lines in data["executable"].items()}
        covered = {f: {int(n): set(ks) for n, ks in lines.items()} for f, lines in data["covered"].items()}
        return CoverageMap(cases, executable, covered)


def source_digest(root):
    """A digest of what git tracks in root as it stands on disk, the scripts and the prose
    aside: what the build and the tests are made of."""
    digest = hashlib.sha256()
    listed = subprocess.run(["git", "ls-files", "-z"], cwd=root, check=True, capture_output=True)
    names = (n for n in listed.stdout.decode().split("\0") if n and not n.endswith(".md"))
    for name in sorted(n for n in names if not n.startswith(("scripts/", "docs/", ".ci/"))):
        file = root / name
        if file.is_file():
            digest.update(name.encode() + b"\0" + file.read_bytes())
    return digest.hexdigest()


def list_cases(build, skip_label):
    listed = subprocess.run(["ctest", "--test-dir", str(build), "--show-only=json-v1"],
                            check=True, capture_output=True, text=True)
    cases = []
    for test in json.loads(listed.stdout)["tests"]:
        properties = {p["name"]: p["value"] for p in test.get("properties", [])}
        if skip_label in properties.get("LABELS", []):
            continue
        command = test["command"]
        gtest_filter = next((a.split("=", 1)[1] for a in command if a.startswith("--gtest_filter=")), "*")
        program = pathlib.Path(command[0]).relative_to(build)
        cwd = properties.get("WORKING_DIRECTORY")
        cases.append(TestCase(test["name"], str(program), gtest_filter,
                              str(pathlib.Path(cwd).relative_to(build)) if cwd else str(program.parent),
                              set(properties.get("RESOURCE_LOCK", []))))
    return cases


def read_run(run_dir, build, product_files):
    """(file -> executable lines, file -> lines run) from one case's gcda files."""
    data_files = []
    for gcda in run_dir.rglob("*.gcda"):
        notes = pathlib.Path("/" + str(gcda.relative_to(run_dir))).with_suffix(".gcno")
        if notes.is_file():
            gcda.with_suffix(".gcno").symlink_to(notes)
            data_files.append(str(gcda))
    executable, ran = {}, {}
    if not data_files:
        return executable, ran
    result = subprocess.run(["gcov", "--json-format", "--stdout", *data_files], cwd=run_dir,
                            capture_output=True, text=True)
    for document in result.stdout.splitlines():
        try:
            report = json.loads(document)
        except ValueError:
            continue
        for entry in report.get("files", []):
            path = os.path.normpath(os.path.join(report.get("current_working_directory", ""), entry["file"]))
            relative = product_files.get(path)
            if relative is None:
                continue
            for line in entry["lines"]:
                executable.setdefault(relative, set()).add(line["line_number"])
                if line["count"] > 0:
                    ran.setdefault(relative, set()).add(line["line_number"])
    return executable, ran


def make(worker, product_files, run_case, jobs):
    """The map for the worker's source (a build with coverage), made or read back; None when
    the build fails or a case fails unmutated."""
    digest = source_digest(worker.root)
    saved = worker.home / "map.json"
    found = CoverageMap.load(saved, digest)
    if found is not None:
        return found
    configured, output = worker.configure("--coverage -O0 -g0")
    built, more = worker.make([]) if configured else (False, "")
    if not built:
        print((output + more)[-3000:])
        return None
    cases = list_cases(worker.build, "flightgear")
    by_path = {str(worker.src / f): f for f in product_files}
    runs = worker.home / "runs"
    shutil.rmtree(runs, ignore_errors=True)
    executable, covered, failed = {}, {}, []

    def one(index):
        case = cases[index]
        run_dir = runs / str(index)
        run_dir.mkdir(parents=True)
        case.seconds = 600.0  # not known yet: the bound of the run that measures it
        began = time.monotonic()
        passed = run_case(worker.build, [case], {"GCOV_PREFIX": str(run_dir)})
        case.seconds = time.monotonic() - began
        found = read_run(run_dir, worker.build, by_path)
        shutil.rmtree(run_dir, ignore_errors=True)
        return index, passed, found

    with concurrent.futures.ThreadPoolExecutor(jobs) as pool:
        for done, (index, passed, (lines, ran)) in enumerate(pool.map(one, range(len(cases))), 1):
            if not passed:
                failed.append(cases[index].name)
            for path, numbers in lines.items():
                executable.setdefault(path, set()).update(numbers)
            for path, numbers in ran.items():
                for n in numbers:
                    covered.setdefault(path, {}).setdefault(n, set()).add(index)
            if done % 25 == 0 or done == len(cases):
                print(f"coverage: {done}/{len(cases)} cases", flush=True)
    if failed:
        print("failing unmutated, the tests must pass first: " + ", ".join(failed))
        return None
    result = CoverageMap(cases, executable, covered)
    result.save(saved, digest)
    return result
