"""scripts/mutate --sample: mutants drawn from every product source file, run against the tests
that build on that file.

Each worker has a copy of the tracked source and a build of its own under build/mutate/,
so the working tree is never touched and two mutants build and run at once. A file's
tests are the test programs whose build takes it in, directly or through a program they
run (ninja's inputs of each test program). A mutant that does not build is drawn again,
up to the sample size.
"""

import collections
import fcntl
import json
import pathlib
import random
import shutil
import subprocess
import sys
import threading
import time

import mutant_candidates

def private_network():
    """A command prefix that runs a program in a network namespace of its own, loopback up, or
    [] where the system does not allow one."""
    prefix = ["unshare", "-rn", "sh", "-c", 'ip link set lo up && exec "$0" "$@"']
    try:
        works = subprocess.run(prefix + ["true"], capture_output=True, timeout=10).returncode == 0
    except (OSError, subprocess.TimeoutExpired):
        works = False
    return prefix if works else []


PRIVATE_NETWORK = private_network()
PRODUCT_FOLDERS = ("app", "audio", "base", "config", "engine", "log", "runways", "sim", "tools", "ui")
REMOVED = "(removed)"


class Outcome:
    def __init__(self, path, candidate, verdict, seconds, reason=""):
        self.path, self.candidate, self.verdict, self.seconds, self.reason = path, candidate, verdict, seconds, reason

    def describe(self):
        after = self.candidate.after.strip() or REMOVED
        return f"{self.path}:{self.candidate.line_no}: {self.candidate.before.strip()} ==> {after}"


def product_files(root, only):
    listed = subprocess.run(["git", "ls-files", "*.cpp"], cwd=root, check=True, capture_output=True, text=True)
    files = [p for p in listed.stdout.split() if p.split("/")[0] in PRODUCT_FOLDERS and "_win32" not in p]
    return sorted(p for p in files if only in p)


def read_equivalents(path):
    """(file, before, after) -> reason, and the list's errors."""
    equivalents, errors, current = {}, [], None
    if not path.exists():
        return equivalents, errors
    for line_no, raw in enumerate(path.read_text().splitlines(), 1):
        line = raw.strip()
        if not line or line.startswith("#"):
            continue
        if line.startswith("@"):
            current = line[1:].strip()
            continue
        if current is None or " ==> " not in line or " ;; equivalent:" not in line:
            errors.append(f"line {line_no}: expected '<line> ==> <mutated line> ;; equivalent: <why>' under '@ <file>'")
            continue
        mutant, reason = line.split(" ;; equivalent:", 1)
        before, after = mutant.split(" ==> ", 1)
        if not reason.strip():
            errors.append(f"line {line_no}: an equivalent mutant needs its reason")
            continue
        after = "" if after.strip() == REMOVED else after.strip()
        equivalents[(current, before.strip(), after)] = reason.strip()
    return equivalents, errors


def check_equivalents(root, equivalents):
    errors = []
    for (path, before, after), _ in equivalents.items():
        file = root / path
        keys = {c.key() for c in mutant_candidates.candidates(file.read_text())} if file.is_file() else set()
        if (before, after) not in keys:
            errors.append(f"{path}: {before} ==> {after or REMOVED}: no longer a mutant of that file")
    return errors


class Worker:
    def __init__(self, root, index, jobs):
        self.root = root
        self.home = root / "build" / "mutate" / str(index)
        self.src = self.home / "src"
        self.build = self.home / "build"
        self.jobs = jobs

    def sync(self):
        """Copies what git tracks, leaving unchanged files (and their times) alone."""
        listed = subprocess.run(["git", "ls-files", "-z"], cwd=self.root, check=True, capture_output=True)
        for name in listed.stdout.decode().split("\0"):
            source = self.root / name
            if not name or not source.is_file():
                continue
            target = self.src / name
            data = source.read_bytes()
            if not target.is_file() or target.read_bytes() != data:
                target.parent.mkdir(parents=True, exist_ok=True)
                target.write_bytes(data)
                shutil.copymode(source, target)

    def configure(self):
        if (self.build / "build.ninja").exists():
            return True, ""
        launcher = ["-DCMAKE_CXX_COMPILER_LAUNCHER=ccache", "-DCMAKE_C_COMPILER_LAUNCHER=ccache"] if shutil.which(
            "ccache") else []
        linker = ["-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld"] if shutil.which("ld.lld") else []
        world = self.root.parent / "shared" / "data" / "runways-world.csv"
        result = subprocess.run(
            ["cmake", "-S", str(self.src), "-B", str(self.build), "-G", "Ninja", "-DCMAKE_BUILD_TYPE=None",
             # Quick to build and run; a mutant's missing return does not build rather than run wild.
             "-DCMAKE_CXX_FLAGS=-O1 -g0 -Werror=return-type", "-DPISTAVOX_BENCHMARKS=OFF",
             f"-DPISTAVOX_WORLD_RUNWAYS={world}",
             f"-DPISTAVOX_IMGUI_SOURCE={self.root / 'build' / 'deps' / 'imgui-src'}", *launcher, *linker],
            capture_output=True, text=True)
        return result.returncode == 0, result.stdout + result.stderr

    def make(self, targets):
        result = subprocess.run(["ninja", "-C", str(self.build), f"-j{self.jobs}", *targets],
                                capture_output=True, text=True)
        return result.returncode == 0, result.stdout[-3000:]


class TestPrograms:
    """The test programs of a worker's build (by their path in the build): how to run each, and
    which source files each takes in."""

    def __init__(self, worker, seconds):
        self.worker = worker
        self.seconds = seconds  # shared: every worker's build runs the same programs
        listed = subprocess.run(["ctest", "--test-dir", str(worker.build), "--show-only=json-v1"],
                                check=True, capture_output=True, text=True)
        self.programs = {}
        for test in json.loads(listed.stdout)["tests"]:
            properties = {p["name"]: p["value"] for p in test.get("properties", [])}
            name = str(pathlib.Path(test["command"][0]).relative_to(worker.build))
            program = self.programs.setdefault(name, {"cwd": properties.get("WORKING_DIRECTORY"),
                                                      "locks": set(), "skip": []})
            if "flightgear" in properties.get("LABELS", []):
                program["skip"].append(test["name"])
            program["locks"].update(properties.get("RESOURCE_LOCK", []))
        self.inputs = {}
        for name in self.programs:
            listed = subprocess.run(["ninja", "-C", str(worker.build), "-t", "inputs", name],
                                    check=True, capture_output=True, text=True)
            self.inputs[name] = {str(pathlib.Path(p).relative_to(worker.src)) for p in listed.stdout.split()
                                 if p.startswith(str(worker.src) + "/")}

    def for_file(self, path):
        return sorted((name for name, inputs in self.inputs.items() if path in inputs),
                      key=lambda name: self.seconds.get(name, 0.0))

    def run(self, name, lock_dir, timeout_s):
        program = self.programs[name]
        command = [str(self.worker.build / name), "--gtest_brief=1", "--gtest_fail_fast"]
        if program["skip"]:
            command.append("--gtest_filter=-" + ":".join(program["skip"]))
        locks = set(program["locks"])
        if "fsuipc_server" in locks and PRIVATE_NETWORK:
            # The server's name is an abstract socket, private to a network namespace: each
            # copy serves its own, so none waits for another.
            command = PRIVATE_NETWORK + command
            locks.discard("fsuipc_server")
        held = []
        try:
            for lock in sorted(locks):
                handle = open(lock_dir / f"{lock}.lock", "w")
                fcntl.flock(handle, fcntl.LOCK_EX)
                held.append(handle)
            result = subprocess.run(command, cwd=program["cwd"] or (self.worker.build / name).parent,
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=timeout_s)
            return result.returncode == 0
        except subprocess.TimeoutExpired:
            return False  # a mutant that hangs the tests is caught by them
        finally:
            for handle in held:
                handle.close()


def evaluate(worker, tests, lock_dir, path, candidate):
    """killed, survived or invalid, and the program that decided it."""
    source = worker.src / path
    original = source.read_bytes()
    try:
        source.write_text(mutant_candidates.apply(original.decode(), candidate))
        for name in tests.for_file(path):
            built, _ = worker.make([name])
            if not built:
                return "invalid", "does not build"
            if not tests.run(name, lock_dir, 3 * tests.seconds[name] + 60):
                return "killed", pathlib.Path(name).name
        return "survived", ""
    finally:
        source.write_bytes(original)


def prepare(root, jobs):
    """The workers and their test programs, every build made and its tests passing unmutated."""
    workers = [Worker(root, k, max(1, (shutil.os.cpu_count() or 2) // jobs)) for k in range(jobs)]
    for worker in workers:
        worker.sync()
        configured, output = worker.configure()
        print(f"building {worker.build} ...", flush=True)
        built, more = worker.make([]) if configured else (False, "")
        if not built:
            print((output + more)[-3000:], file=sys.stderr)
            return None
    seconds = {}
    tests = [TestPrograms(worker, seconds) for worker in workers]
    lock_dir = root / "build" / "mutate"
    for name in tests[0].programs:
        began = time.monotonic()
        if not tests[0].run(name, lock_dir, 900):
            print(f"{name} fails unmutated; the tests must pass first", file=sys.stderr)
            return None
        seconds[name] = time.monotonic() - began
    return list(zip(workers, tests))


def run(root, sample, seed, jobs, only, equivalents):
    started = time.monotonic()
    prepared = prepare(root, jobs)
    if prepared is None:
        return 2
    print(f"ready in {(time.monotonic() - started) / 60:.1f} min", flush=True)
    lock_dir = root / "build" / "mutate"
    queue = collections.deque(product_files(root, only))
    outcomes, guard = [], threading.Lock()

    def work(worker, worker_tests):
        while True:
            with guard:
                if not queue:
                    return
                path = queue.popleft()
            drawn = mutant_candidates.candidates((worker.src / path).read_text())
            random.Random(f"{seed}:{path}").shuffle(drawn)
            valid = 0
            for candidate in drawn:
                if valid == sample:
                    break
                reason = equivalents.get((path, *candidate.key()))
                began = time.monotonic()
                if reason:
                    verdict, why = "equivalent", reason
                elif not worker_tests.for_file(path):
                    verdict, why = "untested", "no test program builds on this file"
                else:
                    verdict, why = evaluate(worker, worker_tests, lock_dir, path, candidate)
                if verdict == "invalid":
                    continue
                valid += 1
                outcome = Outcome(path, candidate, verdict, time.monotonic() - began, why)
                with guard:
                    outcomes.append(outcome)
                    print(f"[{len(outcomes)}] {verdict:<10} {outcome.describe()}  ({why}, {outcome.seconds:.0f} s)",
                          flush=True)

    threads = [threading.Thread(target=work, args=pair) for pair in prepared]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    report(outcomes, time.monotonic() - started)
    return 0 if all(killed_share(outcomes, folder) >= 0.9 for folder in folders(outcomes)) else 1


def folders(outcomes):
    return sorted({o.path.split("/")[0] for o in outcomes})


def killed_share(outcomes, folder):
    mine = [o for o in outcomes if o.path.split("/")[0] == folder and o.verdict in ("killed", "survived", "untested")]
    return sum(o.verdict == "killed" for o in mine) / len(mine) if mine else 1.0


def report(outcomes, seconds):
    survivors = sorted((o for o in outcomes if o.verdict in ("survived", "untested")), key=lambda o: o.describe())
    if survivors:
        print("\nsurvived:")
        for o in survivors:
            print(f"  {o.describe()}" + (f"  ({o.reason})" if o.reason else ""))
    print(f"\n{'folder':<10}{'mutants':>8}{'killed':>8}{'survived':>9}{'equivalent':>11}{'killed %':>9}")
    for folder in folders(outcomes):
        mine = collections.Counter(o.verdict for o in outcomes if o.path.split("/")[0] == folder)
        print(f"{folder:<10}{sum(mine.values()):>8}{mine['killed']:>8}{mine['survived'] + mine['untested']:>9}"
              f"{mine['equivalent']:>11}{100 * killed_share(outcomes, folder):>8.0f}%")
    print(f"{len(outcomes)} mutants in {seconds / 60:.1f} min")
