"""coastra_runner: runs a batch of Coastra runs, each in a folder of its own
that already holds its configuration, and reads back what became of each.

A batch goes out either on the local cores (GNU parallel when it is present,
else this module keeps N runs going at a time) or as one Slurm job array that
is submitted with `sbatch --wait` and so waited for. Every run leaves two
files in its folder, written by the shell line of the run itself, so that the
local and the cluster path record the same things:

  console.txt  the run's console (standard output and error)
  status.txt   "STATUS START END": the exit status of coastra (0 completed,
               1 refused or failed, 3 stopped early) and the wall-clock
               start and end in seconds since the epoch

A folder without status.txt after its batch did not run (its status reads
"not run"). Nothing is written outside the folders given, apart from the
batch's job script and Slurm logs in the batch folder named by the caller.
"""
import os
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
    home: the folder GNU parallel keeps its own files in (PARALLEL_HOME;
    default its ~/.parallel)."""
    line = run_line(program, config)
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
        while len(running) >= max(1, jobs):
            running = [p for p in running if p.poll() is None]
            if len(running) >= max(1, jobs):
                time.sleep(0.02)
        running.append(subprocess.Popen(["/bin/sh", "-c", line], cwd=folder,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
    for p in running:
        p.wait()


def slurm_script(batch_dir, folders, program, config, name="coastra"):
    """Writes BATCH_DIR/job.slurm, a job array of one task per folder (the
    task's folder is line SLURM_ARRAY_TASK_ID of BATCH_DIR/folders.txt), and
    returns its path. A task can be run by hand with SLURM_ARRAY_TASK_ID set."""
    batch_dir = os.path.abspath(batch_dir)
    listing = os.path.join(batch_dir, "folders.txt")
    with open(listing, "w") as f:
        f.writelines(os.path.abspath(d) + "\n" for d in folders)
    script = os.path.join(batch_dir, "job.slurm")
    with open(script, "w") as f:
        f.write("#!/bin/bash\n"
                f"#SBATCH --job-name={name}\n"
                f"#SBATCH --array=1-{len(folders)}\n"
                "#SBATCH --ntasks=1\n#SBATCH --cpus-per-task=1\n"
                f"#SBATCH --output={batch_dir}/slurm_%a.log\n"
                f"folder=$(sed -n \"${{SLURM_ARRAY_TASK_ID}}p\" {shlex.quote(listing)})\n"
                "cd \"$folder\" || exit 1\n"
                f"{run_line(program, config)}\n")
    os.chmod(script, 0o755)
    return script


def run_slurm(batch_dir, folders, program, config, sbatch_args=(), name="coastra"):
    """Submits the batch as one job array and waits until every task ended."""
    sbatch = shutil.which("sbatch")
    if not sbatch:
        raise RunnerError("--slurm: sbatch not found (no Slurm on this machine)")
    script = slurm_script(batch_dir, folders, program, config, name)
    # --wait: sbatch returns when the whole array has ended; its exit status
    # is that of the worst task, so the runs' own status files are what count.
    r = subprocess.run([sbatch, "--wait", "--parsable", *sbatch_args, script],
                       stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, check=False)
    if r.returncode != 0 and all(read_status(d)[0] == "not run" for d in folders):
        msg = (r.stderr.strip().splitlines() or ["no message"])[-1]
        raise RunnerError(f"--slurm: sbatch failed: {msg}")
