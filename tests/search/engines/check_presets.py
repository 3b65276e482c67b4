#!/usr/bin/python3
"""Runs every BLAST preset and FASTA36 algorithm, and parameter objects that
set what the presets leave alone, through `norvext-search options` and `run`
on the example sequences of Debian's fasta3.  The lines `options` prints are
pasted into sh as they are (makeblastdb, then the engine) and must run; what
the engine reports of its parameters must be the object's: BLAST's XML
<Parameters> block (matrix, gap costs, expect, filter, reward and penalty) and
FASTA's "Parameters:" and "ktup:" lines (matrix, gap costs, frameshift,
ktup).  `run` must print the hits as JSON, from a FASTA file and from an
existing BLAST database alike.  Then --evalue, --max-target-seqs, --threads
and engine arguments after "--" must show in the engine's report or in the
hits.  Usage: /usr/bin/python3 check_presets.py --tool NORVEXT_SEARCH --dump
NORVEXT_DUMP.  Exit 0 when all agree, else 1 with one line per fault."""
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
# (program run, query, library, preset name or the object's settings); the
# library is of the kind the program searches.
CASES = [(p, "nt" if p in ("blastn", "blastx", "tblastx") else "aa",
          "nucl" if p in ("blastn", "tblastn", "tblastx") else "prot", p) for p in PRESETS] + [
    ("blastp", "aa", "prot", dict(PRESETS["blastp"], matrix="BLOSUM80", gapOpen=10, expect=0.5, useFilter=False,
                                  doGapped=False, xDropoff=9)),
    ("blastn", "nt", "nucl", dict(PRESETS["blastn"], gapOpen=2, gapExtend=1, matchReward=1, mismatchPenalty=2,
                                  useFilter=False, wordSize=7)),
    ("tblastx", "nt", "nucl", dict(PRESETS["tblastx"], program="tblastx", matrix="BLOSUM80", xDropoff=5,
                                   geneticCode=2, **{"geneticCode DB": 4})),
] + [(p + "36", "nt" if p == "fastx" else "aa", "nucl" if p == "tfastx" else "prot", dict(algorithm=p))
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


def run(cmd, where, status=0, **kwargs):
    r = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, **kwargs)
    if r.returncode != status:
        problems.append("%s: %s: exit %d, stderr %s" % (where, shlex.join(cmd), r.returncode, r.stderr.strip()))
        return None
    return r.stdout


def records(text):
    """The search records that import prints: a JSON array, or one JSON
    object a line (JSON Lines)."""
    decoder, found, at = json.JSONDecoder(), [], 0
    while True:
        while at < len(text) and text[at].isspace():
            at += 1
        if at == len(text):
            return found
        value, at = decoder.raw_decode(text, at)
        found.extend(value if isinstance(value, list) else [value])


def hits(out):
    """Each hit's sourceID and its alignments, in the order printed."""
    return [(h["sourceID"], h["alignments"]) for q in records(out) for h in q["hits"]] if out is not None else []


def params_file(tool_dump, settings, blast, path):
    """The object's bytes, written by norvext-dump from its JSON."""
    with open(path + ".json", "w") as f:
        json.dump(dict(BLAST_BASE if blast else FASTA_BASE, **settings), f)
    with open(path, "wb") as out:
        subprocess.run([tool_dump, "--encode", "--type", "XBlastParams" if blast else "FastAParams", path + ".json"],
                       stdout=out, check=True)
    return ["--params", path]


def paste(lines, where, folder):
    """Standard output of the lines run by sh in a folder of their own."""
    os.makedirs(folder)
    return run(["sh", "-e"], where, input=lines, cwd=folder)


def without_format(cmd):
    """The command without its output format option: the engine's own report."""
    at = cmd.index("-m")
    return cmd[:at] + cmd[at + 2:]


def blast_report(xml):
    params = ET.fromstring(xml).find("BlastOutput_param/Parameters")
    return {e.tag[len("Parameters_"):]: e.text for e in params}


def check_blast(where, settings, xml):
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


def fasta_report(out):
    """What FASTA's own report says of the matrix, gap costs, frameshift,
    ktup and threads."""
    line = re.search(r"^Parameters: (\S+) matrix \([^)]*\)\S*, open/ext: (-?\d+)/(-?\d+)(?:, shift: (-?\d+))?", out,
                     re.M)
    ktup = re.search(r"^ ktup: (\d+)", out, re.M)
    threads = re.search(r"\((\d+) proc in memory", out)
    if line is None:
        return None
    return {"matrix": line[1], "gapCreate": -int(line[2]), "gapExt": -int(line[3]),
            "shiftVal": -int(line[4]) if line[4] else None, "wordSize": int(ktup[1]) if ktup else None,
            "threads": int(threads[1]) if threads else None}


def check_fasta(where, settings, out):
    seen = fasta_report(out)
    if seen is None:
        return problems.append("%s: no Parameters: line" % where)
    for key, value in settings.items():
        if key in seen and value:
            want = FASTA_MATRICES.get(value, value) if key == "matrix" else value
            if seen[key] != want:
                problems.append("%s: %s reported %r, the object holds %r" % (where, key, seen[key], value))


def check_case(tool, dump, work, i, case):
    """One program through options (pasted) and run, from a FASTA file and
    from a BLAST database."""
    program, query, library, setup = case
    blast = not program.endswith("36")
    where = "%s (%s)" % (program, "preset" if isinstance(setup, str) else "params %d" % i)
    chosen = (["--preset", setup] if isinstance(setup, str)
              else params_file(dump, setup, blast, os.path.join(work, "params%d" % i)))
    settings = PRESETS[setup] if isinstance(setup, str) else setup
    files = ["--query", os.path.join(SEQ, FILES[query])]
    fasta_db, blast_db = os.path.join(SEQ, FILES[library]), os.path.join(work, library)
    text = run([tool, "options"] + chosen + files + ["--db", fasta_db], where)
    if text is None:
        return
    lines = [shlex.split(line) for line in text.splitlines()]
    first = lines[0] if blast else None
    if [line[0] for line in lines] != (["makeblastdb", program] if blast else [program]) or (
            blast and first[first.index("-dbtype") + 1] != library):
        return problems.append("%s: options gave\n%s" % (where, text))
    pasted = paste(text, where + ", pasted", os.path.join(work, "paste%d" % i))
    if pasted is None:
        return
    if blast:
        check_blast(where, settings, pasted)
    else:
        check_fasta(where, settings, run(without_format(lines[-1]), where) or "")
    found = {}
    for kind, db in (("pasted", None), ("FASTA file", fasta_db), ("BLAST database", blast_db)):
        out = (run([tool, "import", "-"], where, input=pasted) if db is None
               else run([tool, "run"] + chosen + files + ["--db", db], "%s, run on a %s" % (where, kind)))
        found[kind] = hits(out)
        if out is not None and not found[kind]:
            problems.append("%s: %s: no hits" % (where, kind))
    # FASTA's statistics come from shuffles: only the best hit is sure to be the same.
    best = {kind: h[0][0] for kind, h in found.items() if h}
    if len(set(best.values())) > 1:
        problems.append("%s: best hits differ: %s" % (where, best))
    print("%-20s %s; hits: %s" % (where, text.splitlines()[-1][:80], {k: len(h) for k, h in found.items()}))


def check_overrides(tool, dump, work):
    """--evalue, --max-target-seqs, --threads and "--" over a preset's or an
    object's values, seen in the engine's report or in the hits."""
    blastn = ["--preset", "blastn", "--query", os.path.join(SEQ, FILES["nt"]), "--db", os.path.join(work, "nucl")]
    ssearch = params_file(dump, dict(algorithm="ssearch"), False, os.path.join(work, "ssearch")) + [
        "--query", os.path.join(SEQ, FILES["aa"]), "--db", os.path.join(SEQ, FILES["prot"])]
    for program, base in (("blastn", blastn), ("ssearch36", ssearch)):
        full = hits(run([tool, "run"] + base, program))
        e_values = [a["eValue"] for _, al in full for a in al]
        if len(full) <= 2 or max(e_values, default=0) <= 0.5:
            problems.append("%s: %d hits, E-values up to %g: too few to show a limit" %
                            (program, len(full), max(e_values, default=0)))
        cut = [a["eValue"] for _, al in hits(run([tool, "run"] + base + ["--evalue", "0.5"], program)) for a in al]
        if not cut or max(cut) > 0.5 or len(cut) >= len(e_values):
            problems.append("%s --evalue 0.5: E-values %s, %d without it" % (program, cut, len(e_values)))
        few = hits(run([tool, "run"] + base + ["--max-target-seqs", "2"], program))
        if len(few) != 2:
            problems.append("%s --max-target-seqs 2: %d hits" % (program, len(few)))
    # The engines' own word on what they were given.
    limits = ["--evalue", "0.5", "--threads", "2"]
    line = shlex.split(run([tool, "options"] + blastn + limits, "blastn options") or "x")
    xml = run(line, "blastn with options")
    if xml is not None and ("-num_threads" not in line or line[line.index("-num_threads") + 1] != "2" or
                            float(blast_report(xml)["expect"]) != 0.5):
        problems.append("blastn with --evalue 0.5 --threads 2: %s reported expect %s" %
                        (shlex.join(line), blast_report(xml)["expect"]))
    line = shlex.split(run([tool, "options"] + ssearch + limits + ["--", "-s", "BL80"], "ssearch36 options") or "x")
    report = fasta_report(run(without_format(line), "ssearch36 with options") or "") or {}
    if report.get("threads") != 2 or report.get("matrix") != "BL80":
        problems.append("ssearch36 with --threads 2 -- -s BL80 reported %r" % report)
    # blastn aligns the query to several stretches of some subjects;
    # -max_hsps 1 after "--" keeps one a subject.
    most = [max((len(al) for _, al in hits(run([tool, "run"] + blastn + extra, "blastn"))), default=0)
            for extra in ([], ["--", "-max_hsps", "1"])]
    if most[0] < 2 or most[1] != 1:
        problems.append("blastn: most alignments of a hit %d, with -- -max_hsps 1: %d; want 2 or more and 1" %
                        tuple(most))


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
                            os.path.join(work, kind)], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                           check=True)
        for i, case in enumerate(CASES):
            check_case(tool, dump, work, i, case)
        check_overrides(tool, dump, work)
    finally:
        shutil.rmtree(work)
    for p in problems:
        print("FAIL", p)
    print("%d faults" % len(problems))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
