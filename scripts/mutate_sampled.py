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
import os
import pathlib
import random
import signal
import shutil
import subprocess
import sys
import threading
import time

import mutant_candidates
import mutant_coverage

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
# The whole-flight end-to-end cases (over a minute each) are left out: a fault only they
# catch counts as a survivor, to be caught by a quicker test, and the sample fits an hour.
WHOLE_FLIGHT_SECONDS = 30


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
    def __init__(self, root, name, jobs):
        self.root = root
        self.home = root / "build" / "mutate" / str(name)
        self.src = self.home / "src"
        self.build = self.home / "build"
        self.jobs = jobs
        self.objects = None

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

    def configure(self, flags):
        """Configures the copy's build, or brings an existing one's flags up to date."""
        launcher = ["-DCMAKE_CXX_COMPILER_LAUNCHER=ccache", "-DCMAKE_C_COMPILER_LAUNCHER=ccache"] if shutil.which(
            "ccache") else []
        linker = ["-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld"] if shutil.which("ld.lld") else []
        world = self.root.parent / "shared" / "data" / "runways-world.csv"
        result = subprocess.run(
            ["cmake", "-S", str(self.src), "-B", str(self.build), "-G", "Ninja", "-DCMAKE_BUILD_TYPE=None",
             # A mutant's missing return does not build rather than run wild.
             f"-DCMAKE_CXX_FLAGS={flags} -Werror=return-type", "-DPISTAVOX_BENCHMARKS=OFF",
             f"-DPISTAVOX_WORLD_RUNWAYS={world}",
             f"-DPISTAVOX_IMGUI_SOURCE={self.root / 'build' / 'deps' / 'imgui-src'}", *launcher, *linker],
            capture_output=True, text=True)
        return result.returncode == 0, result.stdout + result.stderr

    def make(self, targets, jobs=None):
        # Paths inside the copy become relative, so every copy's build shares ccache's results.
        result = subprocess.run(["ninja", "-C", str(self.build), f"-j{jobs or self.jobs}", *targets],
                                capture_output=True, text=True, env=os.environ | {"CCACHE_BASEDIR": str(self.home)})
        return result.returncode == 0, result.stdout[-3000:]

    def object_of(self, path):
        """The object file the build compiles path into (one of them, when several)."""
        if self.objects is None:
            listed = subprocess.run(["ninja", "-C", str(self.build), "-t", "compdb"], check=True,
                                    capture_output=True, text=True)
            self.objects = {}
            for entry in json.loads(listed.stdout):
                source = pathlib.Path(entry["directory"], entry["file"]).resolve()
                if source.is_relative_to(self.src):  # not the build's own generated steps
                    self.objects.setdefault(str(source.relative_to(self.src)), entry["output"])
        return self.objects.get(path)


def run_cases(build, cases, environment, lock_dir, make=None):
    """The first program whose cases fail (None when all pass), run program by program, the
    quickest first, each stopping at its first failure and given three times its usual time.
    With make, each program is linked just before it runs, so a mutant the first program kills
    links no other."""
    programs = collections.defaultdict(list)
    for case in cases:
        programs[case.program].append(case)
    for name, mine in sorted(programs.items(), key=lambda item: sum(c.seconds for c in item[1])):
        if make and not make(name):
            return name
        command = [str(build / name), "--gtest_brief=1", "--gtest_fail_fast",
                   "--gtest_filter=" + ":".join(c.gtest_filter for c in mine)]
        locks = set().union(*(c.locks for c in mine))
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
            result = subprocess.run(command, cwd=build / mine[0].cwd, env=os.environ | environment,
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                    timeout=3 * sum(c.seconds for c in mine) + 60)
            if result.returncode != 0:
                return name
        except subprocess.TimeoutExpired:
            return name  # a mutant that hangs the tests is caught by them
        finally:
            for handle in held:
                handle.close()
    return None


def evaluate(worker, coverage, lock_dir, path, candidate):
    """killed, survived, untested or invalid, and why."""
    reaching = coverage.cases_for(path, candidate.line_no)
    cases = [c for c in reaching if c.seconds <= WHOLE_FLIGHT_SECONDS]
    source = worker.src / path
    original = source.read_bytes()
    try:
        source.write_text(mutant_candidates.apply(original.decode(), candidate))
        compiled = worker.object_of(path)
        if compiled and not worker.make([compiled])[0]:
            return "invalid", "does not build"
        if not cases:
            return "untested", "only the whole flights run this line" if reaching else "no test runs this line"
        unlinked = []

        def link(program):
            linked = worker.make([program])[0]
            if not linked:
                unlinked.append(program)
            return linked

        failed = run_cases(worker.build, cases, {}, lock_dir, link)
        if unlinked:
            return "invalid", "does not link"
        if failed:
            return "killed", pathlib.Path(failed).name
        return "survived", f"{len(cases)} cases run it"
    finally:
        source.write_bytes(original)


def prepare(root, jobs):
    """The workers, each build made, and the map of which cases run which lines."""
    lock_dir = root / "build" / "mutate"
    lock_dir.mkdir(parents=True, exist_ok=True)
    products = product_files(root, "")
    mapper = Worker(root, "coverage", shutil.os.cpu_count() or 2)
    mapper.sync()
    print("mapping which tests run which lines ...", flush=True)
    coverage = mutant_coverage.make(
        mapper, products, lambda build, cases, env: run_cases(build, cases, env, lock_dir) is None, jobs)
    if coverage is None:
        return None, None
    workers = [Worker(root, k, max(1, (shutil.os.cpu_count() or 2) // jobs)) for k in range(jobs)]
    for worker in workers:
        worker.sync()
        # The library's own checks make an index past the end, an empty optional read or a
        # clamp with its bounds swapped stop the program, as the sanitizers would, at little cost.
        configured, output = worker.configure("-O1 -g0 -D_GLIBCXX_ASSERTIONS")
        print(f"building {worker.build} ...", flush=True)
        # One copy at a time, so each takes every processor.
        built, more = worker.make([], shutil.os.cpu_count()) if configured else (False, "")
        if not built:
            print((output + more)[-3000:], file=sys.stderr)
            return None, None
    return workers, coverage


def run(root, sample, seed, jobs, only, equivalents):
    started = time.monotonic()
    workers, coverage = prepare(root, jobs)
    if workers is None:
        return 2
    print(f"ready in {(time.monotonic() - started) / 60:.1f} min", flush=True)
    lock_dir = root / "build" / "mutate"
    queue = collections.deque(product_files(root, only))
    outcomes, guard = [], threading.Lock()
    # An interrupt lets the mutants under way finish (their source put back), then reports.
    stop = threading.Event()

    def on_signal(_signum, _frame):
        print("stopping: the mutants under way finish, then the table of what was done", flush=True)
        stop.set()

    signal.signal(signal.SIGINT, on_signal)
    signal.signal(signal.SIGTERM, on_signal)
    # A closed terminal does not stop the run; and, handled rather than ignored (as nohup
    # leaves it), a hang-up kills the test programs as it would anywhere, so a mutant that
    # sends it to its own process is seen.
    signal.signal(signal.SIGHUP, lambda _signum, _frame: None)

    def work(worker):
        while not stop.is_set():
            with guard:
                if not queue:
                    return
                path = queue.popleft()
            drawn = mutant_candidates.candidates((worker.src / path).read_text())
            random.Random(f"{seed}:{path}").shuffle(drawn)
            valid = 0
            for candidate in drawn:
                if valid == sample or stop.is_set():
                    break
                reason = equivalents.get((path, *candidate.key()))
                began = time.monotonic()
                if reason:
                    verdict, why = "equivalent", reason
                else:
                    verdict, why = evaluate(worker, coverage, lock_dir, path, candidate)
                if verdict == "invalid":
                    continue
                valid += 1
                outcome = Outcome(path, candidate, verdict, time.monotonic() - began, why)
                with guard:
                    outcomes.append(outcome)
                    print(f"[{len(outcomes)}] {verdict:<10} {outcome.describe()}  ({why}, {outcome.seconds:.0f} s)",
                          flush=True)

    threads = [threading.Thread(target=work, args=(worker,)) for worker in workers]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    report(outcomes, time.monotonic() - started)
    if stop.is_set():
        print("stopped early: the table covers only the files begun")
        return 2
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
