#!/usr/bin/python3
"""Runs blastp and blastx through the fast engines, DIAMOND and MMseqs2, with
`norvext-search run --engine`, on the example sequences of Debian's fasta3:
two queries against a small library made of several of its proteins.  Each
run, with a preset or with an object of other scoring, must exit 0 and print
a record with hits for each query, and the engine's log (which run passes on
to standard error) must report the object's matrix, gap costs and hit limit,
and for MMseqs2 its E-value and masking too.  Every run, a failed one
included, must leave nothing in its temporary folder.  Usage:
/usr/bin/python3 check_fast_engines.py --tool NORVEXT_SEARCH --dump
NORVEXT_DUMP.  Exit 0 when all agree, else 1 with one line per fault."""
import argparse, os, re, shutil, subprocess, sys, tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from check_presets import PRESETS, SEQ, params_file, records  # noqa: E402

# The library: proteins of fasta3 that both engines read (their sequence
# lines lose their spaces), GSTs and calmodulin among them.
LIBRARY = ("gtm1_human", "gstt1_drome", "hahu", "mchu", "lcbo", "dyr_human", "prio_atepa")
QUERIES = {"blastp": ("mgstm1.aa", "mchu.aa"), "blastx": ("mgstm1.nt", "gst.seq")}
# What each engine's log says of its scoring and limits.
REPORTS = {"diamond": {"matrix": r"Matrix=(\S+)", "gaps": r"Penalties=(\d+/\d+)",
                       "limit": r"#Target sequences to report alignments for: (\d+)"},
           "mmseqs": {"matrix": r"^Substitution matrix\s+aa:([^,\s]+)", "gaps": r"^Gap open cost\s+aa:(\d+)",
                      "extend": r"^Gap extension cost\s+aa:(\d+)", "limit": r"^Max accept\s+(\d+)",
                      "expect": r"^E-value threshold\s+(\S+)", "mask": r"^Mask residues\s+(\d+)"}}
# (engine, program, the object's settings over the preset's, what the log
# must report).  The presets hold BLOSUM62, gaps 11/1, E-value 10, limit
# 50 and the filter on; MMseqs2 holds BLOSUM62 and PAM30 only, DIAMOND more.
CASES = [
    ("diamond", "blastp", {}, {"matrix": "BLOSUM62", "gaps": "11/1", "limit": "50"}),
    ("diamond", "blastx", dict(matrix="BLOSUM80", gapOpen=9, gapExtend=2, limit=3),
     {"matrix": "BLOSUM80", "gaps": "9/2", "limit": "3"}),
    ("mmseqs", "blastp", dict(matrix="PAM30", gapOpen=7, gapExtend=2, expect=5.0, limit=4, useFilter=False),
     {"matrix": "PAM30.out", "gaps": "7", "extend": "2", "limit": "4", "expect": "5", "mask": "0"}),
    ("mmseqs", "blastx", {}, {"matrix": "blosum62.out", "gaps": "11", "extend": "1", "limit": "50",
                              "expect": "10", "mask": "1"}),
]

problems = []


def make_library(path):
    """Several fasta3 proteins in one FASTA file, sequence lines without spaces."""
    with open(path, "w") as out:
        for name in LIBRARY:
            with open(os.path.join(SEQ, name + ".aa")) as f:
                out.writelines(line if line.startswith(">") else "".join(line.split()) + "\n" for line in f)


def run(tool, args, tmp):
    """norvext-search run with TMPDIR set to `tmp`: status, stdout, stderr."""
    r = subprocess.run([tool, "run"] + args, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True,
                       env=dict(os.environ, TMPDIR=tmp))
    if os.listdir(tmp):
        problems.append("run %s left %s in its temporary folder" % (" ".join(args), os.listdir(tmp)))
    return r.returncode, r.stdout, r.stderr


def check_case(tool, dump, work, i, case):
    engine, program, settings, want = case
    where = "%s %s %s" % (engine, program, settings or "preset")
    chosen = (params_file(dump, dict(PRESETS[program], **settings), True, os.path.join(work, "params%d" % i))
              if settings else ["--preset", program])
    status, out, err = run(tool, ["--engine", engine] + chosen + [
        "--query", os.path.join(work, program + ".fa"), "--db", os.path.join(work, "library.fa"), "--threads", "1"],
        os.path.join(work, "tmp"))
    if status != 0:
        return problems.append("%s: exit %d: %s" % (where, status, err[-500:]))
    found = records(out)
    with_hits = [q["query"]["id"] for q in found if q["hits"]]
    if len(found) != len(QUERIES[program]) or len(with_hits) != len(found):
        problems.append("%s: %d records, %d with hits; want %d with hits" %
                        (where, len(found), len(with_hits), len(QUERIES[program])))
    for key, pattern in REPORTS[engine].items():
        # The search's report is the last: DIAMOND's makedb reports its defaults.
        seen = re.findall(pattern, err, re.M)
        if not seen or seen[-1] != want[key]:
            problems.append("%s: the log reports %s %s, want %s" % (where, key, seen, want[key]))
    print("%-40s %s" % (where, {q["query"]["id"]: len(q["hits"]) for q in found}))


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--tool", required=True)
    ap.add_argument("--dump", required=True)
    args = ap.parse_args()
    tool, dump = os.path.abspath(args.tool), os.path.abspath(args.dump)
    work = tempfile.mkdtemp(prefix="norvext-fast-")
    try:
        os.mkdir(os.path.join(work, "tmp"))
        make_library(os.path.join(work, "library.fa"))
        for program, files in QUERIES.items():
            with open(os.path.join(work, program + ".fa"), "w") as out:
                for name in files:
                    with open(os.path.join(SEQ, name)) as f:
                        out.write(f.read())
        for i, case in enumerate(CASES):
            check_case(tool, dump, work, i, case)
        # An engine that refuses an option fails the run; its folder goes too.
        status, _, err = run(tool, ["--engine", "diamond", "--preset", "blastp", "--query",
                                    os.path.join(work, "blastp.fa"), "--db", os.path.join(work, "library.fa"),
                                    "--", "--no-such-option"], os.path.join(work, "tmp"))
        if status != 3 or "diamond failed" not in err:
            problems.append("diamond with an unknown option: exit %d, %s" % (status, err[-300:]))
    finally:
        shutil.rmtree(work)
    for p in problems:
        print("FAIL", p)
    print("%d faults" % len(problems))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
