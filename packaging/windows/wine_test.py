#!/usr/bin/env python3
"""The Windows command line under Wine, against the Linux build of the same sources.

    wine_test.py REPO WINDOWS_FOLDER LINUX_PAYSLIP_CLI

Every case of the golden files must print the same bytes with the same exit
status; further command lines (explanations, the batch and its output files,
Arabic file names and folders, failed writes) must behave as the Linux
program does. Ends with "N passed, N failed".
"""
import os
import resource
import shlex
import shutil
import signal
import subprocess
import sys
import unicodedata
import tempfile
from pathlib import Path

repo, win_dir, linux_cli = Path(sys.argv[1]), Path(sys.argv[2]), Path(sys.argv[3])
win_cli = win_dir / "payslip-cli.exe"
env = dict(os.environ, WINEDEBUG="-all")
passed, failed = 0, []


def check(name, ok, detail=""):
    global passed
    if ok:
        passed += 1
    else:
        failed.append(name)
        print(f"FAILED {name}\n{detail}", flush=True)


def run_win(args, cwd, limit=None):
    def pre():
        if limit is not None:
            signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
            resource.setrlimit(resource.RLIMIT_FSIZE, (limit, limit))
    p = subprocess.run(["wine", str(win_cli), *args], cwd=cwd, env=env, capture_output=True,
                       preexec_fn=pre, timeout=120)
    return p.returncode, p.stdout, p.stderr


def run_linux(args, cwd):
    p = subprocess.run([str(linux_cli), *args], cwd=cwd, capture_output=True, timeout=120,
                       env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
    return p.returncode, p.stdout, p.stderr


def golden_cases(path):
    cases, prompt = [], "$ payslip-cli"
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(keepends=True), 1):
        if line.startswith(prompt):
            command, code = line[len(prompt):].rstrip("\n"), 0
            if "  # exit " in command:
                command, code = command.split("  # exit ")[0], int(command.split("  # exit ")[1])
            cases.append([f"{path.name}:{number}", shlex.split(command), code, b""])
        elif cases:
            cases[-1][3] += line.encode("utf-8")
    return cases


work = Path(tempfile.mkdtemp(prefix="payslip-wine-"))
examples = repo / "examples"
for name in ("staff.csv", "staff-with-mistakes.csv"):
    shutil.copy(examples / name, work / name)

# 1. The golden files: the same bytes and status as the Linux build prints.
for golden in sorted((repo / "tests" / "data").glob("*.golden")):
    for where, args, code, out in golden_cases(golden):
        got_code, got_out, got_err = run_win(args, work)
        check(where, got_code == code and got_out == out,
              f"args {args}: exit {got_code} (want {code})\n{got_err.decode(errors='replace')}")

# 2. More command lines, and the files they write, against the Linux program.
same_as_linux = [
    ["--explain"],
    ["--category", "13", "--echelon", "4", "--status", "married", "--children", "3",
     "--zone", "1234.56", "--housing", "1.005", "--absence", "2", "--mark", "37.5", "--json"],
    ["--explain", "--status", "single", "--post", "1"],
    ["compare", "--to", "category=12", "--to", "children=4", "--months", "7", "--json"],
    ["ladder", "--json"],
    ["check", "--official", "net_pay=43432.11"],
    ["--zone", "1E400"],
    ["batch", "staff.csv", "--out", "OUT.csv", "--summary"],
    ["batch", "staff.csv", "--json", "--errors", "ERR.csv"],
    ["batch", "staff-with-mistakes.csv", "--out", "OUT.csv", "--errors", "ERR.csv"],
]
for args in same_as_linux:
    results = []
    for runner, folder in ((run_win, work / "win"), (run_linux, work / "linux")):
        folder.mkdir(exist_ok=True)
        for name in ("staff.csv", "staff-with-mistakes.csv"):
            shutil.copy(examples / name, folder / name)
        code, out, err = runner(args, folder)
        files = {p.name: p.read_bytes() for p in sorted(folder.glob("OUT*")) + sorted(folder.glob("ERR*"))}
        results.append((code, out, files))
        for p in list(folder.glob("OUT*")) + list(folder.glob("ERR*")):
            p.unlink()
    (wc, wo, wf), (lc, lo, lf) = results
    check(" ".join(args), (wc, wo, wf) == (lc, lo, lf),
          f"exit {wc} vs {lc}; stdout same: {wo == lo}; files same: {wf == lf} ({sorted(wf)} vs {sorted(lf)})")

# 3. Arabic names: a staff list in a folder with an Arabic name, read and written.
arabic = work / "رواتب"
arabic.mkdir()
shutil.copy(examples / "staff.csv", arabic / "موظفون.csv")
code, out, err = run_win(["batch", "رواتب/موظفون.csv", "--out", "رواتب/كشوف.csv"], work)
lcode, lout, _ = run_linux(["batch", "staff.csv", "--out", "linux-out.csv"], work)
check("Arabic folder and file names", code == 0 and (arabic / "كشوف.csv").exists()
      and (arabic / "كشوف.csv").read_bytes() == (work / "linux-out.csv").read_bytes(),
      err.decode(errors="replace"))

# 4. A failed write keeps the previous file and exits 1.
target = work / "kept.csv"
target.write_bytes(b"previous contents\n")
code, out, err = run_win(["batch", "staff.csv", "--out", "kept.csv"], work, limit=64)
leftovers = [p.name for p in work.glob(".kept.csv.*")]
check("write over the file-size limit", code == 1 and target.read_bytes() == b"previous contents\n"
      and not leftovers, f"exit {code}, leftovers {leftovers}\n{err.decode(errors='replace')}")
# A target that cannot be replaced (here a folder of that name): exit 1, the
# folder untouched, no temporary file left beside it. (Wine runs as the
# machine's user, who may replace a file marked read-only; Windows refuses.)
blocked = work / "blocked.csv"
blocked.mkdir()
(blocked / "inside.txt").write_bytes(b"kept\n")
code, out, err = run_win(["batch", "staff.csv", "--out", "blocked.csv"], work)
leftovers = [p.name for p in work.glob(".blocked.csv.*")]
check("write over a target that cannot be replaced", code == 1 and blocked.is_dir()
      and (blocked / "inside.txt").read_bytes() == b"kept\n" and not leftovers,
      f"exit {code}, leftovers {leftovers}\n{err.decode(errors='replace')}")

# 5. A PDF with an Arabic name on it, where the build prints PDFs.
if shutil.which("pdftotext"):
    code, out, err = run_win(["--pdf", "رواتب/كشف.pdf", "--name", "أحمد بن علي"], work)
    if code == 0:
        text = subprocess.run(["pdftotext", str(arabic / "كشف.pdf"), "-"], capture_output=True).stdout.decode()
        # pdftotext gives the letters in the shapes they are drawn in
        # (presentation forms); compatibility folding gives the letters back.
        # It also puts spaces between glyphs it finds far apart, and marks the
        # direction of each run: both go before the texts are looked for.
        text = unicodedata.normalize("NFKC", text)
        bare = "".join(c for c in text if not c.isspace() and unicodedata.category(c) != "Cf")
        check("PDF with an Arabic name", "43432.12" in bare and ("أحمدبنعلي" in bare or "يلعنبدمحأ" in bare), text[:400])
    else:
        check("PDF with an Arabic name", False, err.decode(errors="replace"))

shutil.rmtree(work, ignore_errors=True)
print(f"wine: {passed} passed, {len(failed)} failed")
sys.exit(1 if failed else 0)
