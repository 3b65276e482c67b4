#!/usr/bin/python3
"""Runs every BLAST preset and FASTA36 algorithm, and parameter objects that
set what the presets leave alone, through `norvext-search options` and `run`
on the example sequences of Debian's fasta3.  Each command line printed by
`options` must be accepted by the engine, and what the engine reports of its
parameters must be the object's: BLAST's XML <Parameters> block (matrix, gap
costs, expect, filter, reward and penalty) and FASTA's "Parameters:" and
"ktup:" lines (matrix, gap costs, frameshift, ktup).  `run` must print the
hits as JSON.  Usage: /usr/bin/python3 check_presets.py --tool NORVEXT_SEARCH
--dump NORVEXT_DUMP.  Exit 0 when all agree, else 1 with one line per fault."""
import argparse, json, os, re, shlex, shutil, subprocess, sys, tempfile
import xml.etree.ElementTree as ET

SEQ = "/usr/share/doc/fasta3/examples/seq"
FILES = {"aa": "mgstm1.aa", "nt": "mgstm1.nt", "prot": "prot_test.lib", "nucl": "gst.nlib"}
# The settings the BLAST presets give, as the object's JSON names them.
PRESETS = {"blastn": dict(program="BLASTN", matrix="", gapOpen=5, gapExtend=2, expect=10.0, useFilter=True),
           "blastp": dict(program="BLASTP", matrix="BLOSUM62", gapOpen=11, gapExtend=1, expect=10.0, useFilter=True),
           "blastx": dict(program="BLASTX", matrix="BLOSUM62", gapOpen=11, gapExtend=1, expect=10.0, useFilter=True),
           "tblastn": dict(program="TBLASTN", matrix="BLOSUM62", gapOpen=11, gapExtend=1, expect=10.0,
                           useFilter=True),
           "tblastx": dict(program="TBLASTX", matrix="BLOSUM62", gapOpen=0, gapExtend=0, expect=10.0, useFilter=True)}
BLAST_BASE = dict(name="lcl", locator="", database="", xDropoff=0, wordSize=0, geneticCode=1,
                  **{"geneticCode DB": 1}, limit=20, doGapped=True, isProtein=False, isTranslated=False,
                  matchReward=0, mismatchPenalty=0, data="")
FASTA_BASE = dict(database="", algorithm="", optimization="", translation="", expect=0.0, dbType=0, constraint=0,
                  shiftVal=0, limit=0, wordSize=0, optThreshold=0, earliest=0, useEarliest=False, gapCreate=0,
                  gapExt=0, matrix="", matrixDiagonals=False, topStrand=False, smithWaterman=False, data="")
# (program run, query, library, preset name or the object's settings)
CASES = [(p, "nt" if p in ("blastn", "blastx", "tblastx") else "aa",
          "nucl" if p in ("blastn", "tblastn", "tblastx") else "prot", p) for p in PRESETS] + [
    ("blastp", "aa", "prot", dict(PRESETS["blastp"], matrix="BLOSUM80", gapOpen=10, expect=0.5, useFilter=False,
                                  doGapped=False, xDropoff=9)),
    ("blastn", "nt", "nucl", dict(PRESETS["blastn"], gapOpen=2, gapExtend=1, matchReward=1, mismatchPenalty=2,
                                  useFilter=False, wordSize=7)),
    ("tblastx", "nt", "nucl", dict(PRESETS["tblastx"], program="tblastx", matrix="BLOSUM80", xDropoff=5,
                                   geneticCode=2, **{"geneticCode DB": 4})),
] + [(p + "36", "nt" if p == "fastx" else "aa", "nucl" if p == "tfastx" else "prot", p)
     for p in ("fasta", "ssearch", "fastx", "tfastx")] + [
    ("fasta36", "aa", "prot", dict(algorithm="FASTA", matrix="BLOSUM62", gapCreate=11, gapExt=1, wordSize=1,
                                   expect=5.0, limit=20, smithWaterman=True)),
    ("ssearch36", "aa", "prot", dict(smithWaterman=True, matrix="BLOSUM80", gapCreate=12, gapExt=2)),
    ("fastx36", "nt", "prot", dict(algorithm="fastx36", matrix="PAM250", shiftVal=15, wordSize=2,
                                   translation="1", topStrand=True)),
    ("tfastx36", "aa", "nucl", dict(algorithm="TFastX", matrix="BLOSUM62", gapCreate=9, gapExt=3, shiftVal=25)),
]
# The names FASTA reports for the object's matrices (an unknown name gets BL50).
FASTA_MATRICES = {"BLOSUM62": "BL62", "BLOSUM80": "BL80", "PAM250": "PAM250"}

problems = []


def run(cmd, where, status=0):
    r = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    if r.returncode != status:
        problems.append("%s: %s: exit %d, stderr %s" % (where, shlex.join(cmd), r.returncode, r.stderr.strip()))
        return None
    return r.stdout


def params_file(tool_dump, settings, blast, path):
    """The object's bytes, written by norvext-dump from its JSON."""
    with open(path + ".json", "w") as f:
        json.dump(dict(BLAST_BASE if blast else FASTA_BASE, **settings), f)
    with open(path, "wb") as out:
        subprocess.run([tool_dump, "--encode", "--type", "XBlastParams" if blast else "FastAParams", path + ".json"],
                       stdout=out, check=True)
    return ["--params", path]


def blast_report(xml):
    params = ET.fromstring(xml).find("BlastOutput_param/Parameters")
    return {e.tag[len("Parameters_"):]: e.text for e in params}


def check_blast(where, settings, cmd):
    xml = run(cmd + ["-outfmt", "5"], where)
    if xml is None:
        return
    got, program = blast_report(xml), settings["program"].lower()
    want = {"matrix": settings["matrix"] or None, "expect": settings["expect"], "filter": settings["useFilter"]}
    if program != "tblastx":  # ungapped: the gap costs BLAST reports are not used
        want.update({"gap-open": settings["gapOpen"], "gap-extend": settings["gapExtend"]})
    if settings.get("matchReward"):
        want.update({"sc-match": settings["matchReward"], "sc-mismatch": -settings["mismatchPenalty"]})
    seen = {"matrix": got.get("matrix"), "expect": float(got["expect"]), "filter": "L" in got.get("filter", ""),
            **{k: int(got[k]) for k in ("gap-open", "gap-extend", "sc-match", "sc-mismatch") if k in want}}
    for key in want:
        if seen[key] != want[key]:
            problems.append("%s: %s reported %r, the object holds %r" % (where, key, seen[key], want[key]))


def check_fasta(where, settings, cmd):
    out = run(cmd, where)
    if out is None:
        return
    line = re.search(r"^Parameters: (\S+) matrix \([^)]*\)\S*, open/ext: (-?\d+)/(-?\d+)(?:, shift: (-?\d+))?", out,
                     re.M)
    ktup = re.search(r"^ ktup: (\d+)", out, re.M)
    if line is None:
        return problems.append("%s: no Parameters: line" % where)
    seen = {"matrix": line[1], "gapCreate": -int(line[2]), "gapExt": -int(line[3]),
            "shiftVal": -int(line[4]) if line[4] else None, "wordSize": int(ktup[1]) if ktup else None}
    for key, value in settings.items():
        if key in seen and value:
            want = FASTA_MATRICES.get(value, value) if key == "matrix" else value
            if seen[key] != want:
                problems.append("%s: %s reported %r, the object holds %r" % (where, key, seen[key], value))


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--tool", required=True)
    ap.add_argument("--dump", required=True)
    args = ap.parse_args()
    tool, dump = os.path.abspath(args.tool), os.path.abspath(args.dump)
    work = tempfile.mkdtemp(prefix="norvext-presets-")
    try:
        for kind in ("prot", "nucl"):
            subprocess.run(["makeblastdb", "-in", os.path.join(SEQ, FILES[kind]), "-dbtype", kind, "-out",
                            os.path.join(work, kind)], stdout=subprocess.DEVNULL, check=True)
        for i, (program, query, library, setup) in enumerate(CASES):
            blast = not program.endswith("36")
            where = "%s (%s)" % (program, setup if isinstance(setup, str) else "params %d" % i)
            chosen = (["--preset", setup] if isinstance(setup, str)
                      else params_file(dump, setup, blast, os.path.join(work, "params%d" % i)))
            settings = PRESETS.get(setup, {}) if isinstance(setup, str) else setup
            files = ["--query", os.path.join(SEQ, FILES[query])]
            db = os.path.join(work, library) if blast else os.path.join(SEQ, FILES[library])
            line = run([tool, "options"] + chosen + files + ["--db", db], where)
            if line is None:
                continue
            cmd = shlex.split(line)
            if cmd[0] != program:
                problems.append("%s: options gave %s" % (where, line.strip()))
                continue
            (check_blast if blast else check_fasta)(where, settings, cmd)
            out = run([tool, "run"] + chosen + files + ["--db", os.path.join(SEQ, FILES[library])], where)
            hits = sum(len(json.loads(q)["hits"]) for q in out.splitlines()) if out is not None else 0
            if out is not None and hits == 0:
                problems.append("%s: run found no hits" % where)
            print("%-28s %s; run: %d hits" % (where, line.strip()[:90], hits))
    finally:
        shutil.rmtree(work)
    for p in problems:
        print("FAIL", p)
    print("%d faults" % len(problems))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
