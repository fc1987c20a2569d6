#!/usr/bin/env python3
"""bench.py BUILD_DIR CORPUS_DIR RUNS: measures what Vantrel costs and prints
one JSON object a line for each figure: its median over RUNS runs, the
smallest and largest run, every run, and the command that measured it.

CPU times are the process's own (user and system, from the kernel's
accounting of the children it waited for), so other work on a shared machine
does not count; wall times are given only where the figure is one.
"""
import json
import os
import resource
import shutil
import statistics
import subprocess
import sys
import tempfile
import time


def child_cpu():
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime + usage.ru_stime


def run(command):
    """Runs command; returns (CPU seconds, wall seconds, stdout)."""
    cpu, wall = child_cpu(), time.monotonic()
    result = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    wall, cpu = time.monotonic() - wall, child_cpu() - cpu
    if result.returncode != 0:
        raise RuntimeError(f"{' '.join(command)} exited with {result.returncode}: "
                           f"{result.stderr.strip()[-400:]}")
    return cpu, wall, result.stdout


def peak_rss_kb(command):
    """The peak resident memory of one run of command, from its own usage."""
    process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(process.pid, 0)
    if status != 0:
        raise RuntimeError(f"{' '.join(command)} failed ({status})")
    return usage.ru_maxrss


def emit(figure, unit, values, command, **extra):
    values = [round(v, 4) for v in values]
    line = {"figure": figure, "unit": unit, "median": round(statistics.median(values), 4),
            "min": min(values), "max": max(values), "runs": values, "command": command}
    line.update(extra)
    print(json.dumps(line), flush=True)


class Bench:
    def __init__(self, build, corpus, runs):
        self.build = build
        self.corpus = corpus
        self.runs = runs
        self.scratch = tempfile.mkdtemp(prefix="vantrel-bench-")
        self.vantrel = os.path.join(build, "vantrel")
        self.device = os.path.join(self.scratch, "device")
        # A device that has been set up, as a user's is after the first run.
        run([self.vantrel, "--device", self.device, "--headless", "--run-for", "0"])
        run([os.path.join(build, "bench", "vantrel_bench_movies"), self.scratch])
        self.still = os.path.join(self.scratch, "still.swf")

    def close(self):
        shutil.rmtree(self.scratch, ignore_errors=True)

    def command_text(self, command):
        return " ".join(c.replace(self.scratch, "$SCRATCH") for c in command)

    def render_frames(self):
        movies = sorted(os.path.join(self.corpus, name) for name in os.listdir(self.corpus)
                        if name.endswith(".swf")) if os.path.isdir(self.corpus) else []
        if not movies:
            print(json.dumps({"figure": "render_frame_ms", "skipped": f"no movies in {self.corpus}"}))
            return
        for size in ("240x320", "480x640"):
            command = [os.path.join(self.build, "bench", "vantrel_render_frames"), size] + movies
            results = [json.loads(run(command)[2]) for _ in range(self.runs)]
            shown = self.command_text(command[:2]) + f" {self.corpus}/*.swf"
            counts = {k: results[0][k] for k in ("frames_drawn", "frames_unchanged", "movies_drawn")}
            emit(f"render_frame_median_ms_{size}", "ms CPU per frame drawn",
                 [r["median_ms"] for r in results], shown, **counts)
            emit(f"render_frame_worst_ms_{size}", "ms CPU per frame drawn",
                 [r["worst_ms"] for r in results], shown, **counts)

    def playing(self):
        command = [self.vantrel, "--device", self.device, "--realtime", "--run-for", "10000"]
        shares = [run(command)[0] / 10.0 * 100.0 for _ in range(self.runs)]
        emit("demo_realtime_cpu_share", "% of one core", shares, self.command_text(command),
             note="the demo movie played for 10 s of the wall clock, headless; start-up included")
        peaks = [peak_rss_kb(command) / 1024.0 for _ in range(self.runs)]
        emit("demo_peak_rss_mb", "MiB", peaks, self.command_text(command))

    def paused(self):
        script = os.path.join(self.scratch, "pause.txt")
        with open(script, "w") as f:
            # A headless run ends with its script, so the script waits out
            # the rest of the 10 s itself.
            f.write('wait 200\nmenu "Play/Pause"\nwait 9800\n')
        command = [self.vantrel, "--device", self.device, "--realtime", "--script", script,
                   "--run-for", "10000"]
        shares = [run(command)[0] / 10.0 * 100.0 for _ in range(self.runs)]
        emit("paused_realtime_cpu_share", "% of one core", shares, self.command_text(command),
             note="the demo paused after 200 ms, for the rest of 10 s of the wall clock")

    def first_frame_time(self):
        """The least device time after which the first frame has been painted."""
        state = os.path.join(self.scratch, "state.json")

        def painted(ms):
            run([self.vantrel, "--device", self.device, "--headless", "--run-for", str(ms),
                 "--state", state])
            with open(state) as f:
                return json.load(f)["movie"]["framesRendered"] >= 1

        low, high = 0, 1000
        if not painted(high):
            raise RuntimeError("no frame painted in 1 s of device time")
        while low < high:
            middle = (low + high) // 2
            if painted(middle):
                high = middle
            else:
                low = middle + 1
        return low

    def start_to_first_frame(self):
        device_ms = self.first_frame_time()
        command = [self.vantrel, "--device", self.device, "--headless", "--run-for", str(device_ms)]
        walls = [run(command)[1] * 1000.0 for _ in range(self.runs)]
        emit("start_to_first_frame_ms", "ms wall clock", walls, self.command_text(command),
             note=f"a headless run that ends once the first movie frame is painted "
                  f"({device_ms} ms of device time), exit included")

    def status_tick(self):
        # A complete one-frame movie: every period the player's status tick
        # runs and nothing new is drawn. A run of no time gives what starting
        # and ending cost, taken off.
        seconds = 60
        ticks = seconds * 1000 // 50
        long_run = [self.vantrel, "--device", self.device, "--headless", "--run-for",
                    str(seconds * 1000), self.still]
        short_run = long_run[:5] + ["0", self.still]
        costs = []
        for _ in range(self.runs):
            costs.append((run(long_run)[0] - run(short_run)[0]) / ticks * 1e6)
        emit("status_tick_us", "us CPU per status tick", costs,
             self.command_text(long_run) + "  minus  " + self.command_text(short_run),
             note=f"{ticks} ticks of a complete one-frame movie, device time")

    def benchmark_runs(self, binary, benchmark_filter, value):
        """Runs a Google Benchmark binary with one repetition per run; returns
        the command and, by benchmark name, (value of each repetition, label)."""
        command = [os.path.join(self.build, binary), "--benchmark_format=json",
                   f"--benchmark_repetitions={self.runs}", f"--benchmark_filter={benchmark_filter}"]
        report = json.loads(run(command)[2])
        by_name = {}
        for entry in report["benchmarks"]:
            if entry.get("run_type") == "iteration":
                values, _ = by_name.setdefault(entry["run_name"], ([], entry.get("label", "")))
                # A benchmark that skipped itself (no corpus) has no figure.
                values.append(None if entry.get("error_occurred") else value(entry))
        return command, by_name

    def reading(self):
        command, by_name = self.benchmark_runs("vantrel_swf_bench", "ReadMovie",
                                               lambda entry: entry["bytes_per_second"] / 2**20)
        for name, (speeds, _) in by_name.items():
            kind = name.split("/")[-1]
            emit(f"read_speed_{kind.lower()}", "MiB of movie per CPU second", speeds,
                 self.command_text(command))

    def scripts(self):
        scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}
        command, by_name = self.benchmark_runs(
            "vantrel_script_bench", "ScriptFrame",
            lambda entry: entry["cpu_time"] * scale[entry["time_unit"]])
        for name, (times, label) in by_name.items():
            kind = name.split("/")[-1]
            if None in times:
                print(json.dumps({"figure": f"script_frame_us_{kind}", "skipped": label}))
                continue
            emit(f"script_frame_us_{kind}", "us CPU per frame", times,
                 self.command_text(command), note=label)

    def sound(self):
        scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}
        notes = {
            "MixOneSecond": "each movie of swf-sounds played for one second: its sounds "
                            "decoded, resampled and mixed at 44.1 kHz",
            "DecodeAdpcm": "the ADPCM sounds the movies of swf-sounds define, decoded",
            "DecodeMp3": "swf-traces/test.mp3 decoded",
        }
        command, by_name = self.benchmark_runs(
            "vantrel_sound_bench", ".",
            lambda entry: entry["cpu_time"] * scale[entry["time_unit"]] / entry["sound_ms"] * 100.0)
        for name, (shares, _) in by_name.items():
            if None in shares:
                print(json.dumps({"figure": f"sound_{name}", "skipped": "no corpus sound"}))
                continue
            figure = {"MixOneSecond": "sound_mix_share", "DecodeAdpcm": "sound_decode_adpcm_share",
                      "DecodeMp3": "sound_decode_mp3_share"}.get(name, f"sound_{name}")
            emit(figure, "% of real time (CPU per second of sound)", shares,
                 self.command_text(command), note=notes.get(name, ""))


def main():
    build, corpus, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])
    bench = Bench(build, corpus, runs)
    try:
        for measure in (bench.render_frames, bench.playing, bench.paused,
                        bench.start_to_first_frame, bench.status_tick, bench.reading,
                        bench.scripts, bench.sound):
            measure()
    finally:
        bench.close()


if __name__ == "__main__":
    main()
