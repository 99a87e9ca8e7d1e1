"""coastra_runner: runs a batch of Coastra runs, each in a folder of its own
that already holds its configuration, and reads back what became of each.
The ensemble and the calibration tools both run their folders through it.

A batch goes out either on the local cores (GNU parallel when it is present,
else this module keeps N runs going at a time) or as one Slurm job array: a
script the user submits, or one submitted with `sbatch --wait` and so waited
for. Every run leaves two files in its folder, written by the shell line of
the run itself, so that the local and the cluster path record the same things:

  console.txt  the run's console (standard output and error)
  status.txt   "STATUS START END": the exit status of coastra (0 completed,
               1 refused or failed, 3 stopped early) and the wall-clock
               start and end in seconds since the epoch

A folder without status.txt after its batch did not run (its status reads
"not run"). Nothing is written outside the folders given, apart from the
job script, its Slurm logs (beside the script) and GNU parallel's own files
in the folders the caller names.
"""
import os
import re
import shlex
import shutil
import subprocess
import time


class RunnerError(Exception):
    """A batch that could not be started at all (one line for the user)."""


def run_line(program, config):
    """The shell line of one run, executed in the run's folder."""
    return (f"rm -f status.txt; t0=$(date +%s.%N); {shlex.quote(program)} {shlex.quote(config)} "
            f">console.txt 2>&1; s=$?; t1=$(date +%s.%N); echo \"$s $t0 $t1\" >status.txt")


def read_status(folder):
    """(status, wall seconds) of a finished run; ("not run", None) without a status file."""
    try:
        with open(os.path.join(folder, "status.txt")) as f:
            fields = f.read().split()
        return fields[0], max(0.0, float(fields[2]) - float(fields[1]))
    except (OSError, IndexError, ValueError):
        return "not run", None


def run_local(folders, program, config, jobs, log=None, home=None):
    """Runs every folder's configuration, jobs at a time, and waits for all.
    log: GNU parallel's job log; home: the folder GNU parallel keeps its own
    files in (PARALLEL_HOME; default its ~/.parallel)."""
    line = run_line(program, config)
    jobs = max(1, jobs)
    if shutil.which("parallel"):
        cmd = ["parallel", "--will-cite", "--jobs", str(jobs)]
        if log:
            cmd += ["--joblog", log]
        env = None
        if home:
            os.makedirs(home, exist_ok=True)
            env = dict(os.environ, PARALLEL_HOME=os.path.abspath(home))
        # The folder is a quoted argument of GNU parallel's replacement string.
        subprocess.run(cmd + [f"cd {{}} && {line}", ":::"] + list(folders), env=env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
        return
    running = []
    for folder in folders:
        while len(running) >= jobs:
            running = [p for p in running if p.poll() is None]
            if len(running) >= jobs:
                time.sleep(0.02)
        running.append(subprocess.Popen(["/bin/sh", "-c", line], cwd=folder,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
    for p in running:
        p.wait()


def slurm_directives(time_limit=None, partition=None):
    """#SBATCH options for a task's time limit and partition, checked."""
    if time_limit is not None and not re.match(r"^\d+(-\d+)?(:\d+){0,2}$", time_limit):
        raise RunnerError(f"--time {time_limit}: not a Slurm time (minutes, HH:MM:SS or D-HH:MM:SS)")
    if partition is not None and not re.match(r"^[A-Za-z0-9_.,-]+$", partition):
        raise RunnerError(f"--partition {partition}: not a partition name")
    return [f"--time={time_limit}"] * (time_limit is not None) + \
           [f"--partition={partition}"] * (partition is not None)


# A path an #SBATCH line can hold as it is: Slurm reads its directives without
# a shell, so they cannot be quoted, and % opens one of its file patterns.
SLURM_PLAIN = re.compile(r"^[A-Za-z0-9_./+,=@:~-]+$")


def slurm_script(script, folders, program, config, name="coastra", directives=()):
    """Writes SCRIPT, a job array of one task per folder (task K runs in the
    K-th folder, named in the script by its absolute path), and returns its
    path. Every path is quoted for the shell; the task's log is slurm_K.log
    beside the script, through the --output directive when the path can stand
    in one, else redirected by the script. A task can be run by hand with
    SLURM_ARRAY_TASK_ID set."""
    here = os.path.dirname(os.path.abspath(script))
    plain = SLURM_PLAIN.match(here) is not None
    lines = ["#!/bin/bash", f"#SBATCH --job-name={name}", f"#SBATCH --array=1-{len(folders)}",
             "#SBATCH --ntasks=1", "#SBATCH --cpus-per-task=1"]
    lines += [f"#SBATCH {d}" for d in directives]
    lines.append(f"#SBATCH --output={os.path.join(here, 'slurm_%a.log') if plain else '/dev/null'}")
    lines.append('[ -n "$SLURM_ARRAY_TASK_ID" ] || { echo "SLURM_ARRAY_TASK_ID not set" >&2; exit 1; }')
    if not plain:
        lines.append(f'exec >{shlex.quote(here)}"/slurm_$SLURM_ARRAY_TASK_ID.log" 2>&1')
    lines.append("folders=(")
    lines += [shlex.quote(os.path.abspath(d)) for d in folders]
    lines += [")", 'cd -- "${folders[SLURM_ARRAY_TASK_ID - 1]}" || exit 1', run_line(program, config)]
    with open(script, "w") as f:
        f.write("\n".join(lines) + "\n")
    os.chmod(script, 0o755)
    return script


def run_slurm(batch_dir, folders, program, config, sbatch_args=(), name="coastra"):
    """Writes BATCH_DIR/job.slurm, submits it as one job array and waits until
    every task ended."""
    sbatch = shutil.which("sbatch")
    if not sbatch:
        raise RunnerError("--slurm: sbatch not found (no Slurm on this machine)")
    script = slurm_script(os.path.join(batch_dir, "job.slurm"), folders, program, config, name)
    # --wait: sbatch returns when the whole array has ended; its exit status
    # is that of the worst task, so the runs' own status files are what count.
    r = subprocess.run([sbatch, "--wait", "--parsable", *sbatch_args, script],
                       stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, check=False)
    if r.returncode != 0 and all(read_status(d)[0] == "not run" for d in folders):
        msg = (r.stderr.strip().splitlines() or ["no message"])[-1]
        raise RunnerError(f"--slurm: sbatch failed: {msg}")
