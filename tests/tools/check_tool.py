"""norvext-dump as a process: its exit codes, its streams, the quotations
of it in README.md and docs/norvext-dump.md. What it prints is the library's dump and JSON, which the
unit tests check in-process; here a handful of runs, each checked whole.

Usage: check_tool.py SOURCE_DIR WORK_DIR TOOL [--emulator E] [--only CASE]
The cases read a Summary of the wire corpus, the buffer that the example
programs save, and bad buffers made from it in WORK_DIR."""
import argparse
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
args = parser.parse_args()
src, work = args.source, args.work
usage = "\nusage: norvext-dump --type CLASS FILE\n       norvext-dump --list-types\n"
# A FastAParams of the wire corpus, made from a sample: its newline bytes
# would be spoilt by a text-mode standard output.
fasta_json = src / "tests/samples/FastAParams-2.json"
fasta_bytes = (src / "tests/wire/0.1/FastAParams-1.bin").read_bytes()
bad_json = src / "tests/tools/expected/bad-summary.json"
readme = (src / "README.md").read_text()
manual = (src / "docs/norvext-dump.md").read_text()
summary = src / "tests/wire/0.1/Summary-0.bin"
summary_dump = summary.with_suffix(".dump").read_text()
version = re.search(r"project\(NorvExt VERSION (\S+)", (src / "CMakeLists.txt").read_text()).group(1)

# name: (arguments, standard input, exit status, {check: expected})
# bytes: standard output byte for byte; stdout / stderr: exactly, line ends
# folded (a Windows program writes CR LF); stdout_in: a stretch of that text;
# stderr_re: a regular expression that must match. With status 1 standard
# output must be empty unless a check says what it holds.
CASES = {
    "encode_streams": (["--encode", "--type", "FastAParams", "-"], fasta_json, 0, {"bytes": fasta_bytes}),
    "standard_input": (["--type=Summary", "-"], summary, 0, {"stdout": summary_dump}),
    "json": (["--json", "--type", "Summary", summary], None, 0,
             {"stdout": (src / "tests/tools/expected/summary.json").read_text()}),
    "encode": (["--encode", "--type", "FastAParams", fasta_json], None, 0, {"bytes": fasta_bytes}),
    "truncated": (["--type", "Summary", work / "truncated-summary.bin"], None, 1, {"stderr": (
        f"norvext-dump: {work}/truncated-summary.bin: AlignedBuf: cannot read a string at offset 52: 16 of 24 bytes "
        "missing\nnorvext-dump: reading stopped at byte offset 52 of 60\n")}),
    "left_over": (["--type", "Summary", work / "leftover-summary.bin"], None, 1, {"stdout": summary_dump,
        "stderr": f"norvext-dump: {work}/leftover-summary.bin: 4 bytes left over: the Summary ends at byte offset 96 of 100\n"}),
    "bad_json": (["--encode", "--type", "Summary", bad_json], None, 1,
                 {"stderr": f"norvext-dump: {bad_json}: id: expected an unsigned 32-bit integer, found a string\n"}),
    "missing_file": (["--type", "Summary", work / "missing.bin"], None, 1, {"stderr_re": r"^norvext-dump: cannot open \S*missing.bin: "}),
    "no_arguments": ([], None, 2, {"stderr_re": "^norvext-dump: no --type given" + re.escape(usage)}),
    "unknown_type": (["--type", "Nope", summary], None, 2,
                     {"stderr_re": "^norvext-dump: unknown type 'Nope' [^\n]*" + re.escape(usage)}),
    "two_files": (["--type", "Summary", "a.bin", "b.bin"], None, 2,
                  {"stderr_re": "^norvext-dump: more than one FILE given" + re.escape(usage)}),
    "unknown_option": (["--bogus", summary], None, 2,
                       {"stderr_re": "^norvext-dump: unknown option --bogus" + re.escape(usage)}),
    "list_and_more": (["--list-types", "--type", "Summary"], None, 2,
                      {"stderr_re": "^norvext-dump: --list-types takes nothing else" + re.escape(usage)}),
    "type_without_class": (["--type"], None, 2,
                           {"stderr_re": "^norvext-dump: --type: 1 required CLASS missing" + re.escape(usage)}),
    "type_twice": (["--type", "Summary", "--type=DBQuery", summary], None, 2,
                   {"stderr_re": "^norvext-dump: --type: [^\n]*received 2" + re.escape(usage)}),
    "json_and_encode": (["--json", "--encode", "--type", "Summary", summary], None, 2,
                        {"stderr_re": "^norvext-dump: --json excludes --encode" + re.escape(usage)}),
    "version": (["--version"], None, 0, {"stdout": f"norvext-dump {version}\n"}),
    "docs_usage": (["--help"], None, 0, {"stdout_in": manual}),
    "readme_types": (["--list-types"], None, 0, {"stdout_in": readme}),
}


def check(name, arguments, stdin, status, expected):
    done = subprocess.run([*args.emulator.split(), args.tool, *map(str, arguments)], capture_output=True,
                          input=pathlib.Path(stdin).read_bytes() if stdin else b"", timeout=600)
    out = done.stdout
    text, err = (stream.replace(b"\r\n", b"\n").decode(errors="replace") for stream in (out, done.stderr))
    problems = [what for ok, what in [
        (done.returncode == status, f"exit status {done.returncode}, expected {status}"),
        (status != 1 or "stdout" in expected or not out, "standard output is not empty"),
        (expected.get("bytes", out) == out, "standard output is other bytes"),
        (expected.get("stdout", text) == text, f"standard output is not\n{expected.get('stdout')}"),
        ("stdout_in" not in expected or text and text in expected["stdout_in"],
         "standard output is not part of the text it must stand in"),
        (expected.get("stderr", err) == err, f"standard error is not\n{expected.get('stderr')}"),
        (re.search(expected.get("stderr_re", ""), err), f"standard error does not match {expected.get('stderr_re')!r}"),
    ] if not ok]
    if problems:
        print(f"{name}: norvext-dump {' '.join(map(str, arguments))}\n  " + "\n  ".join(problems) +
              f"\n--- standard output:\n{text}--- standard error:\n{err}")
    return not problems


work.mkdir(parents=True, exist_ok=True)
# The summary cut inside its title, the fourth of its six strings; and with bytes behind it.
(work / "truncated-summary.bin").write_bytes(summary.read_bytes()[:60])
(work / "leftover-summary.bin").write_bytes(summary.read_bytes() + b"\1\2\3\4")
cases = {args.only: CASES[args.only]} if args.only else CASES
failed = [name for name, case in cases.items() if not check(name, *case)]
print(f"{len(cases) - len(failed)} of {len(cases)} runs of norvext-dump as expected")
sys.exit(1 if failed else 0)
