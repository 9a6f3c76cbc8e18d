#!/usr/bin/env python3
"""The processor time Pistavox takes while nothing happens, connected to the stand-in simulator
(pistavox-sim serving a parked aircraft as X-Plane, on this computer): in its window, with the window
minimised, and headless. Prints each figure as a share of one core over --seconds.

usage: benchmarks/idle_cpu.py PISTAVOX [--sim PISTAVOX_SIM] [--seconds S] [--only NAME...]
PISTAVOX is build/release/ui/pistavox, or a pistavox.exe to run under wine; the stand-in defaults to
build/release/tools/pistavox-sim. The window draws on a private Xvfb with Mesa's software renderer. Once
connected, the window is minimised as a window manager iconifies one (Xvfb runs none): marked iconic
and unmapped, which SDL and wine both take as minimised. Needs Python 3, Xvfb and libX11, and wine
for a pistavox.exe.
"""
import argparse
import ctypes
import os
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
GOALS = {"windowed": 10.0, "minimised": 1.0, "headless": 0.3}


def start_xvfb(scratch):
    read, write = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                            pass_fds=[write], stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as pipe:
        display = pipe.readline().strip()
    if not display:
        sys.exit("idle_cpu: Xvfb did not start")
    return xvfb, ":" + display


def cpu_seconds(pids):
    """The processes' time, and the part of it SDL's audio thread took (it mixes silence while the device is open)."""
    total = audio = 0
    for pid in pids:
        for task in os.listdir(f"/proc/{pid}/task"):
            try:
                with open(f"/proc/{pid}/task/{task}/stat") as stat:
                    name, fields = stat.read().split("(", 1)[1].rsplit(")", 1)
            except OSError:
                continue  # a thread that ended
            ticks = int(fields.split()[11]) + int(fields.split()[12])  # utime, stime
            total += ticks
            audio += ticks if name.startswith("SDLAudio") else 0
    return total / os.sysconf("SC_CLK_TCK"), audio / os.sysconf("SC_CLK_TCK")


def wine_pids(exe_name):
    """The wine processes running the program (the loader re-executes itself, so the launcher's pid won't do)."""
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/cmdline", "rb") as cmdline:
                args = cmdline.read().split(b"\0")
        except OSError:
            continue
        if args and args[0].lower().endswith(exe_name.lower().encode()):
            found.append(int(entry))
    return found


def iconify_window(display, title):
    """Does to the top-level window named `title` what a window manager does as it iconifies one: sets its
    WM_STATE to iconic (wine minimises on that) and unmaps it (SDL does on that). Wine ignores the first
    change out of the withdrawn state a window has without a window manager, so it goes by normal."""
    x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XDefaultRootWindow.restype = ctypes.c_ulong
    x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XChangeProperty.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_int,
                                    ctypes.c_int, ctypes.c_void_p, ctypes.c_int]
    x11.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_void_p] * 3 + [ctypes.c_void_p]
    x11.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_char_p)]
    x11.XUnmapWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
    x11.XFlush.argtypes = x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    connection = x11.XOpenDisplay(display.encode())
    root, parent = ctypes.c_ulong(), ctypes.c_ulong()
    children, count = ctypes.POINTER(ctypes.c_ulong)(), ctypes.c_uint()
    x11.XQueryTree(connection, x11.XDefaultRootWindow(connection), ctypes.byref(root), ctypes.byref(parent),
                   ctypes.byref(children), ctypes.byref(count))
    wm_state = x11.XInternAtom(connection, b"WM_STATE", 0)
    normal, iconic = (ctypes.c_long * 2)(1, 0), (ctypes.c_long * 2)(3, 0)  # NormalState, IconicState; no icon
    found = False
    for i in range(count.value):
        name = ctypes.c_char_p()
        if x11.XFetchName(connection, children[i], ctypes.byref(name)) and name.value == title.encode():
            for state in (normal, iconic):
                x11.XChangeProperty(connection, children[i], wm_state, wm_state, 32, 0, state, 2)  # PropModeReplace
            x11.XUnmapWindow(connection, children[i])
            found = True
    x11.XFlush(connection)
    x11.XCloseDisplay(connection)
    return found


def wait_for_line(path, text, timeout_s=60):
    deadline = time.monotonic() + timeout_s
    while time.monotonic() < deadline:
        with open(path, errors="replace") as log:
            if text in log.read():
                return True
        time.sleep(0.2)
    return False


def measure(name, args, scratch):
    work = os.path.join(scratch, name)
    os.makedirs(os.path.join(work, "config"))
    shutil.copytree(os.path.join(HERE, "data"), os.path.join(work, "data"))
    # A pack with no clip: enough for the resources to count as present.
    os.makedirs(os.path.join(work, "bin", "bench"))
    with open(os.path.join(work, "bin", "bench", "manifest.csv"), "w") as manifest:
        manifest.write("id,key,text,lang,file\n")
    with open(os.path.join(work, "config", "settings.txt"), "w") as settings:
        settings.write("auto_start_monitor=1\n")
    env = dict(os.environ, SDL_AUDIODRIVER="dummy", LIBGL_ALWAYS_SOFTWARE="1", WINEDEBUG="-all")
    sim_log = open(os.path.join(work, "sim.log"), "w+")
    sim = subprocess.Popen([args.sim, "--protocol", "xplane", "--port", "0",
                            "--runways", os.path.join(work, "data", "runways.csv")], stdout=sim_log, cwd=work)
    if not wait_for_line(sim_log.name, "Listening on UDP", 10):
        sys.exit("idle_cpu: pistavox-sim did not start")
    port = open(sim_log.name).read().split(":")[-1].split()[0]
    config = os.path.join(work, "config")
    program = args.program if args.program.endswith(".exe") else None
    if program:
        env["PISTAVOX_CONFIG_DIR"] = "Z:" + config
        env["PISTAVOX_DATA_DIR"] = "Z:" + os.path.join(work, "logbook")
        command = ["wine", program]
    else:
        env["PISTAVOX_CONFIG_DIR"] = config
        env["PISTAVOX_DATA_DIR"] = os.path.join(work, "logbook")
        command = [args.program]
    command += ["--simulator", "xplane", "--xplane-port", port] + (["--headless"] if name == "headless" else [])
    log_path = os.path.join(work, "pistavox.log")
    with open(log_path, "w") as log:
        pistavox = subprocess.Popen(command, stdout=log, stderr=subprocess.STDOUT, env=env, cwd=work)
    try:
        if not wait_for_line(log_path, "Connected:"):
            sys.exit(f"idle_cpu: {name}: Pistavox did not connect; see {log_path}")
        time.sleep(3)  # past the start-up's first frames
        pids = wine_pids(os.path.basename(program)) if program else [pistavox.pid]
        if name == "minimised" and not iconify_window(env["DISPLAY"], "Pistavox"):
            sys.exit("idle_cpu: no window to minimise")
        time.sleep(1)
        (total, audio), start = cpu_seconds(pids), time.monotonic()
        time.sleep(args.seconds)
        (total_after, audio_after), elapsed = cpu_seconds(pids), time.monotonic() - start
        share, audio_share = 100.0 * (total_after - total) / elapsed, 100.0 * (audio_after - audio) / elapsed
    finally:
        pistavox.terminate()
        sim.terminate()
        for process in (pistavox, sim):
            try:
                process.wait(10)
            except subprocess.TimeoutExpired:
                process.kill()
        if program:
            subprocess.run(["wineserver", "-k"], env=env, check=False)
    return share, audio_share


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("program")
    parser.add_argument("--sim", default=os.path.join(HERE, "build", "release", "tools", "pistavox-sim"))
    parser.add_argument("--seconds", type=float, default=30)
    parser.add_argument("--only", nargs="*", choices=sorted(GOALS), default=["windowed", "minimised", "headless"])
    args = parser.parse_args()
    args.program = os.path.abspath(args.program)
    scratch = tempfile.mkdtemp(prefix="pistavox-idle-")
    xvfb, display = start_xvfb(scratch)
    os.environ["DISPLAY"] = display
    failed, measured = False, False
    try:
        for name in args.only:
            share, audio_share = measure(name, args, scratch)
            verdict = "ok" if share <= GOALS[name] else "over"
            failed |= share > GOALS[name]
            print(f"{name:10s} {share:6.2f}% of a core over {args.seconds:.0f} s (goal <= {GOALS[name]}%: {verdict};"
                  f" SDL's audio thread {audio_share:.2f}%)", flush=True)
        measured = True
    finally:
        xvfb.terminate()
        xvfb.wait()
        if measured:  # a failed run's logs are named in its message
            shutil.rmtree(scratch, ignore_errors=True)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
