"""norvext-dump as a process: its exit codes, its streams, the README's
quotations of it. What it prints is the library's dump and JSON, which the
unit tests check in-process; here a handful of runs, each checked whole.

Usage: check_tool.py SOURCE_DIR WORK_DIR TOOL [--emulator E] [--only CASE]
       [--prepare PROGRAM...]
The PROGRAMs (the example programs) run first with WORK_DIR, into which
they save the buffers that the cases read; bad ones are made from those."""
import argparse
import hashlib
import pathlib
import re
import subprocess
import sys

parser = argparse.ArgumentParser()
parser.add_argument("source", type=pathlib.Path)
parser.add_argument("work", type=pathlib.Path)
parser.add_argument("tool")
parser.add_argument("--emulator", default="")
parser.add_argument("--only")
parser.add_argument("--prepare", nargs="*", default=[])
args = parser.parse_args()
src, work = args.source, args.work
usage = "\nusage: norvext-dump --type CLASS FILE\n       norvext-dump --list-types\n"
# A FastAParams of the wire corpus, made from a sample: its newline bytes
# would be spoilt by a text-mode standard output.
fasta_json = src / "tests/samples/FastAParams-2.json"
fasta_bytes = (src / "tests/wire/0.1/FastAParams-1.bin").read_bytes()
bad_json = src / "tests/tools/expected/bad-summary.json"
readme = (src / "README.md").read_text()
summary_golden = (src / "examples/golden/summary_and_matrix.txt").read_text()
version = re.search(r"project\(NorvExt VERSION (\S+)", (src / "CMakeLists.txt").read_text()).group(1)

# name: (arguments, standard input, exit status, {check: expected})
# bytes: standard output byte for byte; stdout / stderr: exactly, line ends
# folded (a Windows program writes CR LF); stdout_in: a stretch of that text;
# stderr_re: a regular expression that must match. With status 1 standard
# output must be empty unless a check says otherwise.
CASES = {
    "encode_streams": (["--encode", "--type", "FastAParams", "-"], fasta_json, 0, {"bytes": fasta_bytes}),
    "standard_input": (["--type=Summary", "-"], work / "summary.bin", 0, {"stdout_in": summary_golden}),
    "json": (["--json", "--type", "Summary", work / "summary.bin"], None, 0,
             {"stdout": (src / "tests/tools/expected/summary.json").read_text()}),
    "encode": (["--encode", "--type", "FastAParams", fasta_json], None, 0, {"bytes": fasta_bytes}),
    "truncated": (["--type", "Summary", work / "truncated-summary.bin"], None, 1, {"stderr": (
        f"norvext-dump: {work}/truncated-summary.bin: AlignedBuf: cannot read a string at offset 52: 16 of 24 bytes "
        "missing\nnorvext-dump: reading stopped at byte offset 52 of 60\n")}),
    "left_over": (["--type", "Summary", work / "leftover-summary.bin"], None, 1, {"stdout_in": summary_golden,
        "stderr": f"norvext-dump: {work}/leftover-summary.bin: 4 bytes left over: the Summary ends at byte offset 96 of 100\n"}),
    "bad_json": (["--encode", "--type", "Summary", bad_json], None, 1,
                 {"stderr": f"norvext-dump: {bad_json}: id: expected an unsigned 32-bit integer, found a string\n"}),
    "missing_file": (["--type", "Summary", work / "missing.bin"], None, 1, {"stderr_re": r"^norvext-dump: cannot open \S*missing.bin: "}),
    "no_arguments": ([], None, 2, {"stderr_re": "^norvext-dump: no --type given" + re.escape(usage)}),
    "unknown_type": (["--type", "Nope", work / "summary.bin"], None, 2,
                     {"stderr_re": "^norvext-dump: unknown type 'Nope' [^\n]*" + re.escape(usage)}),
    "two_files": (["--type", "Summary", "a.bin", "b.bin"], None, 2,
                  {"stderr_re": "^norvext-dump: more than one FILE given" + re.escape(usage)}),
    "unknown_option": (["--bogus", work / "summary.bin"], None, 2,
                       {"stderr_re": "^norvext-dump: unknown option --bogus" + re.escape(usage)}),
    "list_and_more": (["--list-types", "--type", "Summary"], None, 2,
                      {"stderr_re": "^norvext-dump: --list-types takes nothing else" + re.escape(usage)}),
    "type_without_class": (["--type"], None, 2, {"stderr_re": "^norvext-dump: --type needs a class name" + re.escape(usage)}),
    "version": (["--version"], None, 0, {"stdout": f"norvext-dump {version}\n"}),
    "readme_usage": (["--help"], None, 0, {"stdout_in": readme}),
    "readme_types": (["--list-types"], None, 0, {"stdout_in": readme}),
}


def run(command, stdin=None):
    given = pathlib.Path(stdin).read_bytes() if stdin else b""
    return subprocess.run(command, input=given, capture_output=True, timeout=600)


def check(name, arguments, stdin, status, expected):
    done = run([*args.emulator.split(), args.tool, *map(str, arguments)], stdin)
    out, err = done.stdout, done.stderr.replace(b"\r\n", b"\n").decode(errors="replace")
    text = out.replace(b"\r\n", b"\n").decode(errors="replace")
    problems = [f"exit status {done.returncode}, expected {status}"] if done.returncode != status else []
    if status == 1 and "stdout_in" not in expected and out:
        problems.append("standard output is not empty")
    if "bytes" in expected and out != expected["bytes"]:
        problems.append(f"standard output is other bytes (sha256 {hashlib.sha256(out).hexdigest()[:12]})")
    if "stdout" in expected and text != expected["stdout"]:
        problems.append(f"standard output is not\n{expected['stdout']}")
    if "stdout_in" in expected and (not text or text not in expected["stdout_in"]):
        problems.append("standard output is not part of the text it must stand in")
    if "stderr" in expected and err != expected["stderr"]:
        problems.append(f"standard error is not\n{expected['stderr']}")
    if "stderr_re" in expected and not re.search(expected["stderr_re"], err):
        problems.append(f"standard error does not match {expected['stderr_re']!r}")
    if problems:
        print(f"{name}: norvext-dump {' '.join(map(str, arguments))}\n  " + "\n  ".join(problems) +
              f"\n--- standard output:\n{text}--- standard error:\n{err}")
    return not problems


work.mkdir(parents=True, exist_ok=True)
for program in args.prepare:
    done = run([program, str(work)])
    if done.returncode != 0:
        sys.exit(f"{program} {work}: exit status {done.returncode}\n{done.stderr.decode(errors='replace')}")
if args.prepare:  # the summary cut inside its title, the fourth of its six strings; and with bytes behind it
    summary = (work / "summary.bin").read_bytes()
    (work / "truncated-summary.bin").write_bytes(summary[:60])
    (work / "leftover-summary.bin").write_bytes(summary + b"\1\2\3\4")
cases = {args.only: CASES[args.only]} if args.only else CASES
failed = [name for name, case in cases.items() if not check(name, *case)]
print(f"{len(cases) - len(failed)} of {len(cases)} runs of norvext-dump as expected")
sys.exit(1 if failed else 0)
