#!/usr/bin/python3
"""Runs Debian's DIAMOND (blastp, blastx) and MMseqs2 (search, easy-search,
convertalis) on the example proteins and nucleotides Debian's fasta3 ships and
imports each output form with `norvext-search import`: the forms of one run
must give the same records.  DIAMOND: its BLAST XML (whose misplaced closing
tags the reader mends), its tabular output with BTOP, with a CIGAR and gapped
rows, and with its own qseq/sseq (the ranges' letters, not alignment rows).
MMseqs2: the default 12 columns, --format-mode 4 with a CIGAR and with the
aligned rows, the same fields given by --fields, and easy-search's own output.
Run with Debian's python: /usr/bin/python3 check_fast_readers.py --tool PATH.
Exit 0 when all agree, else 1 with one line per disagreement."""
import argparse, json, os, re, shutil, subprocess, sys, tempfile

SEQ = "/usr/share/doc/fasta3/examples/seq"
PROTEINS = ["prot_test.lib", "gstt1_drome.aa", "gtt1_drome.aa", "gtm1_human.aa", "xurtg.aa", "xurt8c.aa", "hahu.aa"]
QUERIES = {"aa": ["mgstm1.aa", "gstt1_drome.aa", "hahu.aa"], "nt": ["mgstm1.nt", "gst.seq"]}
problems = []


def fail(where, what):
    problems.append("%s: %s" % (where, what))


def run(cmd):
    if shutil.which(cmd[0]) is None:
        sys.exit("%s not found; install Debian package %s" % (cmd[0], {"diamond": "diamond-aligner"}.get(cmd[0], cmd[0])))
    r = subprocess.run(cmd, capture_output=True, text=True)
    if r.returncode != 0:
        sys.exit("%s failed (%d): %s" % (" ".join(cmd), r.returncode, r.stderr))


def fasta(names, path, reverse=False):
    """The files' sequences with the letters only (DIAMOND refuses fasta3's '/' and
    blanks), first words made unique; with `reverse`, each nucleotide sequence
    again as its reverse complement, for minus frames."""
    seen, out = set(), []
    for name in names:
        for record in open(os.path.join(SEQ, name)).read().split(">")[1:]:
            head, _, body = record.partition("\n")
            letters = re.sub(r"[^A-Za-z*]", "", body)
            word = head.split()[0] if head.split() else "x"
            if word in seen or not letters:
                continue
            seen.add(word)
            out.append(">%s\n%s\n" % (head.strip(), letters))
            if reverse:
                complement = letters[::-1].translate(str.maketrans("ACGTacgt", "TGCAtgca"))
                out.append(">rc_%s\n%s\n" % (re.sub(r"\W", "_", word), complement))
    with open(path, "w") as f:
        f.write("".join(out))
    return path


def imported(tool, path, extra=()):
    r = subprocess.run([tool, "import"] + list(extra) + [path], capture_output=True, text=True)
    if r.returncode != 0:
        fail(path, "import failed: " + r.stderr.strip())
        return []
    return [json.loads(line) for line in r.stdout.splitlines()]


# What every form gives; and values compared where both forms carry them.
ALWAYS = ["eValue", "bitScore", "queryFrom", "queryTo", "subjectFrom", "subjectTo", "segments"]
WHERE_BOTH = ["score", "alignmentLength", "identities", "positives", "mismatches", "gapOpens", "gaps",
              "percentIdentity", "queryStrand", "queryFrame", "querySeq", "subjectSeq"]


def compare(mine, theirs, where, query_keys=("id",), hit_keys=("sourceID",), segments=True):
    """`mine` and `theirs` must hold the same queries, hits and alignments;
    without `segments`, `mine` has no alignment to read them from."""
    if len(mine) != len(theirs):
        fail(where, "%d queries against %d" % (len(mine), len(theirs)))
    if not any(q["hits"] for q in mine):
        fail(where, "no hits at all: nothing compared")
    for q, p in zip(mine, theirs):
        at = "%s %s" % (where, q["query"]["id"])
        for key in query_keys:
            if q["query"][key] != p["query"][key]:
                fail(at, "query %s %r against %r" % (key, q["query"][key], p["query"][key]))
        if len(q["hits"]) != len(p["hits"]):
            fail(at, "%d hits against %d" % (len(q["hits"]), len(p["hits"])))
        for h, g in zip(q["hits"], p["hits"]):
            for key in hit_keys:
                if h[key] != g[key]:
                    fail(at, "hit %s %r against %r" % (key, h[key], g[key]))
            if len(h["alignments"]) != len(g["alignments"]):
                fail(at, "%s: alignments differ in number" % h["sourceID"])
            for a, b in zip(h["alignments"], g["alignments"]):
                for key in [k for k in ALWAYS if segments or k != "segments"] + [k for k in WHERE_BOTH if a[k] is not None and b[k] is not None]:
                    if a[key] != b[key] and not (key == "percentIdentity" and abs(a[key] - b[key]) < 0.051):
                        fail(at, "%s %s %r against %r" % (h["sourceID"], key, a[key], b[key]))
                if a["segments"] is None or len(a["segments"]) == 0:
                    fail(at, "%s has no segments" % h["sourceID"])


def gapped(records):
    """Whether some alignment has more than one segment: the gaps were read."""
    return any(len(a["segments"]) > 1 for q in records for h in q["hits"] for a in h["alignments"])


def check_diamond(tool, work):
    db = os.path.join(work, "dmnd")
    run(["diamond", "makedb", "--in", fasta(PROTEINS, os.path.join(work, "prot.fa")), "-d", db, "--quiet"])
    aa = fasta(QUERIES["aa"], os.path.join(work, "aa.fa"))
    nt = fasta(QUERIES["nt"], os.path.join(work, "nt.fa"), reverse=True)
    base = ["qseqid", "sseqid", "qstart", "qend", "sstart", "send", "evalue", "bitscore", "score", "qlen", "slen",
            "length", "nident", "positive", "gaps", "pident", "mismatch", "gapopen", "qtitle", "stitle"]
    forms = {"btop": base + ["btop"], "cigar": base + ["cigar", "qseq_gapped", "sseq_gapped", "qframe"],
             "ranges": base + ["qseq", "sseq", "full_sseq", "qstrand", "salltitles", "cigar"]}
    for program, query in (("blastp", aa), ("blastx", nt)):
        common = ["diamond", program, "-q", query, "-d", db, "--quiet", "--ultra-sensitive", "--evalue", "10"]
        xml = os.path.join(work, program + ".xml")
        run(common + ["--outfmt", "5", "-o", xml])
        text = open(xml).read()
        if "</Hsp>\n</Iteration_hits>" not in text:
            fail(xml, "DIAMOND no longer leaves a query's last <Hit> open: the mended fault is not tested")
        from_xml = imported(tool, xml)
        if not gapped(from_xml):
            fail(xml, "no gapped alignment: the segments are not tested")
        for name, fields in forms.items():
            tab = os.path.join(work, "%s.%s.tab" % (program, name))
            run(common + ["--outfmt", "6"] + fields + ["-o", tab])
            compare(imported(tool, tab, ["--format", "blast-tab", "--fields", " ".join(fields)]), from_xml,
                    "diamond %s %s against XML" % (program, name), ("id", "description", "length"),
                    ("sourceID", "title", "length"))
    # The same mended XML as Biopython would be given it whole and mended by hand.
    mended = os.path.join(work, "mended.xml")
    text = open(os.path.join(work, "blastp.xml")).read()
    text = re.sub(r"<Iteration_hits>\s*</Hit_hsps>\s*</Hit>\s*</Iteration_hits>", "<Iteration_hits>\n</Iteration_hits>", text)
    text = re.sub(r"</Hsp>\s*</Iteration_hits>", "</Hsp>\n</Hit_hsps>\n</Hit>\n</Iteration_hits>", text)
    with open(mended, "w") as f:
        f.write(text.replace("diamond 2", "mended 2"))
    compare(imported(tool, mended), imported(tool, os.path.join(work, "blastp.xml")), "diamond XML mended by hand",
            ("id", "description", "length"), ("sourceID", "title", "length"))


def check_mmseqs(tool, work):
    target = fasta(PROTEINS, os.path.join(work, "prot.fa"))
    for kind, query in (("aa", fasta(QUERIES["aa"], os.path.join(work, "aa.fa"))),
                        ("nt", fasta(QUERIES["nt"], os.path.join(work, "nt.fa"), reverse=True))):
        q, t, r = (os.path.join(work, "%s.%s" % (n, kind)) for n in ("q", "t", "r"))
        run(["mmseqs", "createdb", query, q, "-v", "1"])
        run(["mmseqs", "createdb", target, t, "-v", "1"])
        run(["mmseqs", "search", q, t, r, os.path.join(work, "tmp." + kind), "-a", "-e", "10", "-v", "1"])
        forms = {}
        for name, extra in (("default", []),
                            ("cigar", ["--format-mode", "4", "--format-output",
                                       "query,target,evalue,bits,raw,qstart,qend,tstart,tend,qlen,tlen,alnlen,"
                                       "fident,nident,mismatch,gapopen,cigar,qheader,theader,qframe,tframe"]),
                            ("rows", ["--format-mode", "4", "--format-output",
                                      "query,target,pident,evalue,bits,raw,qstart,qend,tstart,tend,alnlen,mismatch,"
                                      "gapopen,qaln,taln,qseq,qcov,tcov"])):
            path = os.path.join(work, "%s.%s.tab" % (kind, name))
            run(["mmseqs", "convertalis", q, t, r, path, "-v", "1"] + extra)
            forms[name] = path
        default = imported(tool, forms["default"])
        cigar = imported(tool, forms["cigar"])
        rows = imported(tool, forms["rows"])
        if not gapped(cigar):
            fail(forms["cigar"], "no gapped alignment: the CIGAR is not tested")
        compare(default, cigar, "mmseqs %s default against format-mode 4 with cigar" % kind, segments=False)
        compare(rows, cigar, "mmseqs %s aligned rows against cigar" % kind)
        # The same columns headerless, named by --fields as mmseqs takes them.
        bare = forms["cigar"] + ".bare"
        lines = open(forms["cigar"]).read().split("\n", 1)
        with open(bare, "w") as f:
            f.write(lines[1])
        compare(imported(tool, bare, ["--format", "mmseqs-tab", "--fields", lines[0].replace("\t", ",")]), cigar,
                "mmseqs %s --fields against its header" % kind, ("id", "description", "length"),
                ("sourceID", "title", "length"))
    # easy-search in one step: its default columns, gzipped, as the search above.
    out = os.path.join(work, "easy.tab")
    run(["mmseqs", "easy-search", os.path.join(work, "aa.fa"), target, out, os.path.join(work, "tmp.easy"),
         "-e", "10", "-v", "1", "--format-mode", "4", "--format-output",
         "query,target,evalue,bits,raw,qstart,qend,tstart,tend,cigar"])
    run(["gzip", "-f", out])
    # (easy-search numbers its queries in its own order)
    by_id = lambda records: sorted(records, key=lambda q: q["query"]["id"])
    compare(by_id(imported(tool, out + ".gz")), by_id(imported(tool, os.path.join(work, "aa.cigar.tab"))),
            "mmseqs easy-search against search and convertalis")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tool", required=True)
    args = parser.parse_args()
    with tempfile.TemporaryDirectory() as work:
        for engine in (check_diamond, check_mmseqs):
            os.makedirs(os.path.join(work, engine.__name__))
            engine(args.tool, os.path.join(work, engine.__name__))
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
