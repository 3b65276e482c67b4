#!/usr/bin/python3
"""Real BLAST+ runs at scale through `norvext-search import`, made at test time
from the example sequences of Debian's fasta3, cut into overlapping windows:

- blastp of hundreds of queries (some without hits; XML of several MB), checked
  against Biopython and its tabular outputs against its XML (check_engines);
- blastn, blastx, tblastn and tblastx with hits on both strands and in minus
  frames: XML, commented tabular with lengths, score, BTOP and frames, and plain
  tabular give the same records (ranges, strands, frames, segments, scores);
- pipelines: query batches run apart and concatenated, gzip,
  several files in turn, standard input from a pipe, an empty table;
- psiblast rounds in XML, commented and plain tabular.

The import's memory on big output is a benchmark figure (bench/RESULTS.md).

Run with Debian's python: /usr/bin/python3 check_scale.py --tool
PATH/norvext-search.  Exit 0 when all agree, else 1
with one line per disagreement."""
import argparse, json, os, re, shutil, subprocess, sys, tempfile

sys.dont_write_bytecode = True  # importing the shared checks leaves nothing in the source tree
from check_engines import BLAST_TAB, SEQ, check_blast, check_file, fail, near, need_biopython, report, run

# Protein windows: hundreds of blastp queries, windows of reversed proteins
# among them for queries without hits.  titin is cut: its full length would
# make thousands of windows.
WINDOW, STEP, REVERSED_STEP, LONGEST = 80, 50, 400, 3000
# What the blastp run must reach for the test to mean what it says.
SCALE = {"queries": 300, "queries without hits": 10, "XML bytes": 3 << 20, "alignments of one hit": 20}
# Nucleotide windows, each also reverse-complemented; the nucleotide database
# holds every sequence of gst.nlib and its reverse complement.
NT_WINDOW, NT_STEP, NT_QUERIES = 300, 150, ("mgstm1.seq", "humgstd.seq")
AA_WINDOW, AA_STEP, AA_QUERIES = 100, 50, ("mgstm1.aa", "gstt1_drome.aa", "gtm1_human.aa")
STRAND_FIELDS = "7 std qlen slen score btop qframe sframe"
SIDES = ("queryStrand", "subjectStrand", "queryFrame", "subjectFrame")
# (program, options, queries, database, the sides XML and the commented table
# must give (the others null), the sides met both plus and minus: blastn
# aligns the query's plus strand only)
STRANDED = [("blastn", ["-task", "blastn"], "ntq", "nt", ("queryStrand", "subjectStrand"), ("subjectStrand",)),
            ("blastx", [], "ntq", "prot", ("queryStrand", "queryFrame"), ("queryStrand", "queryFrame")),
            ("tblastn", [], "aaq", "nt", ("subjectStrand", "subjectFrame"), ("subjectStrand", "subjectFrame")),
            ("tblastx", [], "ntq", "nt", SIDES, SIDES)]
BLASTP_OPTIONS = ["-evalue", "1"]
# The blastp outputs that are run in batches, compressed and piped: (-outfmt,
# suffix, check_blast's file of the whole run)
BATCHES, PLAIN_FILES = 4, [("5", "xml", "blastp.xml"), (BLAST_TAB[0], "6", "blastp.0.tab"),
                           (BLAST_TAB[1], "7", "blastp.1.tab")]
# psiblast runs, three rounds at most: the queries of each.
# One run of three queries: BLAST numbers its XML iterations on across them.
PSI_RUNS = [("mgstm1.aa",), ("gstt1_drome.aa",), ("mchu.aa",), ("mgstm1.aa", "gstt1_drome.aa", "mchu.aa")]
PSI_FIELDS = "7 std qlen slen score btop"

RANGES = ("queryFrom", "queryTo", "subjectFrom", "subjectTo")
# How an alignment of a fuller reading (XML) and of a table must agree; see
# member() for "minus" and "identity".
WITH_COMMENTS = RANGES + SIDES + ("segments", "score", "alignmentLength", "identity")
PLAIN = RANGES + ("minus", "alignmentLength", "identity")


def read_fasta(path):
    """(name, definition, letters) of every sequence of a FASTA file."""
    records = []
    for line in open(path, errors="replace"):
        if line.startswith(">"):
            name, _, definition = line[1:].strip().partition(" ")
            records.append([name, definition.strip(), []])
        elif records and not line.startswith(";"):
            records[-1][2].append("".join(c for c in line if c.isalpha()).upper())
    return [(n, d, "".join(s)) for n, d, s in records]


def write_fasta(path, records):
    with open(path, "w") as f:
        f.writelines(">%s%s\n%s\n" % (n, " " + d if d else "", s) for n, d, s in records)


def reverse_complement(letters):
    return letters[::-1].translate(str.maketrans("ACGT", "TGCA"))


def windows(name, letters, width, step):
    return [("%s_%d" % (name, i + 1), "%d-%d" % (i + 1, i + width), letters[i:i + width])
            for i in range(0, max(1, len(letters) - width + 1), step)]


def make_inputs():
    """The query files and databases, in the current folder."""
    proteins, seen = [], set()
    for path in sorted(os.listdir(SEQ)):
        if path.endswith(".aa") or path in ("prot_test.lib", "mu.lib"):
            for name, definition, letters in read_fasta(os.path.join(SEQ, path)):
                if len(letters) >= 100 and letters not in seen:
                    seen.add(letters)
                    stem = path.split(".")[0] + ("_" + name.split("|")[-1] if path.endswith(".lib") else "")
                    proteins.append((stem.lower(), definition, letters))
    write_fasta("prot.fa", proteins)
    queries = []
    for name, _, letters in proteins:
        queries += windows("w_" + name, letters[:LONGEST], WINDOW, STEP)
        queries += windows("r_" + name, letters[:LONGEST][::-1], WINDOW, REVERSED_STEP)
    write_fasta("blastpq.fa", queries)
    nucleotides = [(n, d, re.sub("[^ACGT]", "N", s)) for n, d, s in read_fasta(os.path.join(SEQ, "gst.nlib"))]
    write_fasta("nt.fa", [r for n, d, s in nucleotides for r in ((n, d, s), (n + "_rc", d, reverse_complement(s)))])
    write_fasta("ntq.fa", [r for path in NT_QUERIES for n, _, s in read_fasta(os.path.join(SEQ, path))
                           for w, d, part in windows(path.split(".")[0], re.sub("[^ACGT]", "N", s), NT_WINDOW, NT_STEP)
                           for r in ((w, d, part), (w + "_rc", d, reverse_complement(part)))])
    write_fasta("aaq.fa", [w for path in AA_QUERIES for n, _, s in read_fasta(os.path.join(SEQ, path))
                            for w in windows(path.split(".")[0], s, AA_WINDOW, AA_STEP)])
    for db, dbtype in (("prot", "prot"), ("nt", "nucl")):
        run(["makeblastdb", "-in", db + ".fa", "-dbtype", dbtype, "-out", db, "-parse_seqids"])
    return queries


def search(prog, query, db, options, archive):
    """Runs a search once into a BLAST archive; returns write(outfmt, path),
    which formats it with blast_formatter."""
    run([prog, "-query", query, "-db", db, "-outfmt", "11", "-out", archive] + options)
    return lambda outfmt, path: run(["blast_formatter", "-archive", archive, "-outfmt", outfmt, "-out", path])


def imported(tool, args, where, stdin=None):
    """The lines of `norvext-search import ARGS`; a failure is a disagreement."""
    r = subprocess.run([tool, "import"] + args, stdin=stdin, capture_output=True, text=True)
    if r.returncode != 0 or r.stderr:
        fail(where, "import exit %d, stderr %r" % (r.returncode, r.stderr[:300]))
    return r.stdout.splitlines()


def reading(tool, path, where):
    return [json.loads(line) for line in imported(tool, [path], where)]


def member(a, name):
    """An alignment's member, or what two readings share: "minus", which
    strands run down; "identity", the percent identity as tabular prints it
    (XML gives identities instead) and the mismatches (XML: the columns
    neither identical nor a gap)."""
    if name == "minus":
        return a["queryStrand"] == -1, a["subjectStrand"] == -1
    if name == "identity":
        if a["percentIdentity"] is not None:
            return "%.3f" % a["percentIdentity"], a["mismatches"]
        if None not in (a["identities"], a["gaps"], a["alignmentLength"]):
            return ("%.3f" % (100.0 * a["identities"] / a["alignmentLength"]),
                    a["alignmentLength"] - a["identities"] - a["gaps"])
        return None
    return a[name]


def key(a):
    return tuple(a[k] for k in RANGES) + member(a, "minus")


def same_records(mine, full, where, members, ordered):
    """A reading against a fuller one of the same search: queries (id, round)
    and hits in order, every alignment's `members` equal, its E-value and bit
    score within tabular's precision.  Unordered, alignments pair up by range
    and strands."""
    def queries(reading):
        return [(q["query"]["id"], q["query"].get("round")) for q in reading]
    if queries(mine) != queries(full):
        return fail(where, "queries %s vs %s" % (queries(mine)[:8], queries(full)[:8]))
    compared = 0
    for q, r in zip(mine, full):
        w = where + [q["query"]["id"]]
        if [h["sourceID"] for h in q["hits"]] != [h["sourceID"] for h in r["hits"]]:
            fail(w, "hits %s vs %s" % ([h["sourceID"] for h in q["hits"]], [h["sourceID"] for h in r["hits"]]))
            continue
        for h, g in zip(q["hits"], r["hits"]):
            mine_alns, full_alns = h["alignments"], g["alignments"]
            if not ordered:
                by_key = {key(a): a for a in full_alns}
                full_alns = [by_key.get(key(a)) for a in mine_alns]
            if len(mine_alns) != len(g["alignments"]) or None in full_alns:
                fail(w + [h["sourceID"]], "alignments %s vs %s" % ([key(a) for a in mine_alns],
                                                                   [key(a) for a in g["alignments"]]))
                continue
            for i, (a, b) in enumerate(zip(mine_alns, full_alns)):
                compared += 1
                bad = [m for m in members if member(a, m) != member(b, m)] + \
                      [m for m in ("eValue", "bitScore") if not near(a[m], b[m], m)]
                if bad:
                    fail(w + [h["sourceID"], "alignment", i + 1],
                         "; ".join("%s %r vs %r" % (m, member(a, m), member(b, m)) for m in bad))
    return compared


def check_sides(queries, given, both_signs, where):
    """Every alignment gives the sides `given` (strands +1/-1, frames -3..3
    but 0, a frame's sign its strand's) and null for the others; each side of
    `both_signs` is met plus and minus in the run."""
    signs = {side: set() for side in both_signs}
    for q in queries:
        for h in q["hits"]:
            for a in h["alignments"]:
                for side in SIDES:
                    value, frame = a[side], side.endswith("Frame")
                    ok = value in ((-3, -2, -1, 1, 2, 3) if frame else (-1, 1)) if side in given else value is None
                    strand = a[side.replace("Frame", "Strand")]
                    if not ok or (frame and value is not None and strand not in (None, (value > 0) - (value < 0))):
                        fail(where + [q["query"]["id"], h["sourceID"]], "%s %r, strand %r" % (side, value, strand))
                    elif side in signs:
                        signs[side].add(value > 0)
    for side, met in signs.items():
        if met != {True, False}:
            fail(where, "%s never %s" % (side, "minus" if True in met else "plus"))


def check_plain_table(queries, where):
    """Plain tabular: strands only where a range runs down, no frames, one
    segment over the query range, and a hit's alignments in order of E-value
    (then bit score, descending)."""
    for q in queries:
        for h in q["hits"]:
            alns = h["alignments"]
            w = where + [q["query"]["id"], h["sourceID"]]
            if any(a["queryFrame"] is not None or a["subjectFrame"] is not None or
                   a["queryStrand"] not in (None, -1) or a["subjectStrand"] not in (None, -1) for a in alns):
                fail(w, "sides a plain table cannot say: %s" % [[a[s] for s in SIDES] for a in alns])
            if any(a["segments"] != [[a["queryFrom"], a["queryTo"]]] for a in alns):
                fail(w, "segments %s are not the query ranges" % [a["segments"] for a in alns])
            order = [(a["eValue"], -a["bitScore"]) for a in alns]
            if order != sorted(order):
                fail(w, "alignments out of E-value order: %s" % order)


def check_blastp(tool):
    """Hundreds of blastp queries against Biopython, each output of its own run
    (blast_formatter's 7 of so many queries has a trailer per batch of the
    archive, where Biopython stops); returns the reading of its XML."""
    base = ["blastp", "-query", "blastpq.fa", "-db", "prot"] + BLASTP_OPTIONS
    xml = check_blast(tool, "blastp", lambda outfmt, path: run(base + ["-outfmt", outfmt, "-out", path]), 1)
    if xml is None:
        return None
    reached = {"queries": len(xml), "queries without hits": sum(not q["hits"] for q in xml),
               "XML bytes": os.path.getsize("blastp.xml"),
               "alignments of one hit": max(len(h["alignments"]) for q in xml for h in q["hits"])}
    for what, least in SCALE.items():
        if reached[what] < least:
            fail(["blastp"], "%s: %d, less than the %d this test needs" % (what, reached[what], least))
    print("blastp     %s" % ", ".join("%s %d" % kv for kv in reached.items()))
    return xml


def check_stranded(tool):
    """Each program's XML, commented and plain tabular give the same records."""
    for prog, options, query, db, given, both_signs in STRANDED:
        write = search(prog, query + ".fa", db, options, prog + ".asn")
        readings = {}
        for outfmt, name in (("5", ".xml"), (STRAND_FIELDS, ".7"), ("6", ".6")):
            write(outfmt, prog + name)
            readings[name] = reading(tool, prog + name, [prog, prog + name])
        xml, commented, plain = readings[".xml"], readings[".7"], readings[".6"]
        check_sides(xml, given, both_signs, [prog, "XML"])
        check_sides(commented, given, both_signs, [prog, "7"])
        check_plain_table(plain, [prog, "6"])
        for q, r in zip(commented, xml):
            lengths = [(q["query"]["length"], r["query"]["length"])] + \
                      [(h["length"], g["length"]) for h, g in zip(q["hits"], r["hits"])]
            if any(a != b for a, b in lengths):
                fail([prog, "7 vs XML", q["query"]["id"]], "query and subject lengths %s" % lengths)
        n = same_records(commented, xml, [prog, "7 vs XML"], WITH_COMMENTS, True)
        m = same_records(plain, [q for q in xml if q["hits"]], [prog, "6 vs XML"], PLAIN, False)
        print("%-10s %d queries; %d alignments of 7 and %d of 6 compared with XML" % (prog, len(xml), n, m))


def concatenated(paths, out):
    with open(out, "wb") as f:
        for path in paths:
            f.write(open(path, "rb").read())
    return out


def piped(path):
    """A pipe that `cat` fills with the file."""
    return subprocess.Popen(["cat", path], stdout=subprocess.PIPE)


def check_pipelines(tool, xml, queries):
    """Several runs, compressed files, files in turn and a pipe give the lines
    of the plain files of the blastp run."""
    for i in range(BATCHES):
        write_fasta("batch%d.fa" % i, queries[i * len(queries) // BATCHES:(i + 1) * len(queries) // BATCHES])
        write = search("blastp", "batch%d.fa" % i, "prot", BLASTP_OPTIONS, "batch%d.asn" % i)
        for outfmt, suffix, _ in PLAIN_FILES:
            write(outfmt, "batch%d.%s" % (i, suffix))
    lonely = [q for q in queries if q[0] == next(r["id"] for r in xml if not r["hits"])]
    write_fasta("lonely.fa", lonely)
    run(["blastp", "-query", "lonely.fa", "-db", "prot", "-outfmt", "6", "-out", "empty.6"] + BLASTP_OPTIONS)
    if os.path.getsize("empty.6") != 0:
        fail(["pipelines"], "blastp of %s without hits wrote %d bytes" % (lonely[0][0], os.path.getsize("empty.6")))
    for _, suffix, whole in PLAIN_FILES:
        if whole != "blastp." + suffix:
            os.symlink(whole, "blastp." + suffix)
        concatenated(["batch%d.%s" % (i, suffix) for i in range(BATCHES)], "batches." + suffix)
        run(["gzip", "-c", "blastp." + suffix], "blastp.%s.gz" % suffix)
    plain = {s: imported(tool, ["blastp." + s], ["pipelines", s]) for s in ("xml", "7", "6")}
    # (what, files, the file a pipe gives as standard input, the lines expected)
    cases = [("batch runs' XML concatenated", ["batches.xml"], None, plain["xml"]),
             ("batch runs' 7 concatenated", ["batches.7"], None, plain["7"]),
             ("batch runs' 6 concatenated", ["batches.6"], None, plain["6"]),
             ("6 of a search without hits", ["empty.6"], None, []),
             ("gzip -c of XML", ["blastp.xml.gz"], None, plain["xml"]),
             ("gzip -c of 7", ["blastp.7.gz"], None, plain["7"]),
             ("gzip -c of 6", ["blastp.6.gz"], None, plain["6"]),
             ("files in turn", ["blastp.7", "empty.6", "blastp.xml.gz", "blastp.6"], None,
              plain["7"] + plain["xml"] + plain["6"]),
             ("XML through a pipe", ["-"], "blastp.xml", plain["xml"]),
             ("a pipe between files", ["blastp.6", "-", "blastp.xml"], "batches.7",
              plain["6"] + plain["7"] + plain["xml"])]
    for what, files, stdin, expected in cases:
        source = piped(stdin) if stdin else None
        lines = imported(tool, files, ["pipelines", what], source.stdout if source else None)
        if source:
            source.stdout.close()
            source.wait()
        if lines != expected:
            first = next((i for i, (a, b) in enumerate(zip(lines, expected)) if a != b), min(len(lines), len(expected)))
            fail(["pipelines", what], "%d lines, %d expected; first difference at line %d" %
                 (len(lines), len(expected), first + 1))
    if not all(plain.values()):
        fail(["pipelines"], "a plain file gave no lines")
    print("pipelines  %d cases, %d batches" % (len(cases), BATCHES))


def rounds(queries, where):
    """Every query's rounds are 1, 2, ... in turn; returns the most rounds."""
    most, last = 0, (None, 0)
    for q in queries:
        qid, r = q["query"]["id"], q["query"].get("round")
        expected = last[1] + 1 if qid == last[0] else 1
        if r != expected:
            fail(where + [qid], "round %r, expected %d" % (r, expected))
        last, most = (qid, r or 0), max(most, r or 0)
    return most


def check_psiblast(tool):
    """psiblast's rounds in XML, commented and plain tabular."""
    most = 0
    for i, paths in enumerate(PSI_RUNS):
        where = ["psiblast", "+".join(paths)]
        write_fasta("psi%d.fa" % i, [r for path in paths for r in read_fasta(os.path.join(SEQ, path))])
        base = ["psiblast", "-query", "psi%d.fa" % i, "-db", "prot", "-num_iterations", "3"]
        readings = {}
        for outfmt, name in (("5", ".xml"), (PSI_FIELDS, ".7"), ("6", ".6")):
            run(base + ["-outfmt", outfmt, "-out", "psi%d%s" % (i, name)])
            readings[name] = reading(tool, "psi%d%s" % (i, name), where + [name])
        for name, queries in readings.items():
            most = max(most, rounds(queries, where + [name]))
        check_file(tool, "psi%d.xml" % i, "blast-xml", {"bio_format": "blast-xml"}, 1, ["psiblast", "psi%d.xml" % i])
        check_file(tool, "psi%d.7" % i, "blast-tab", {"bio_format": "blast-tab", "comments": True}, 1,
                   ["psiblast", "psi%d.7" % i])
        xml, commented, plain = readings[".xml"], readings[".7"], readings[".6"]
        same_records(commented, xml, where + ["7 vs XML"], WITH_COMMENTS, True)
        same_records(plain, [q for q in xml if q["hits"]], where + ["6 vs XML"], PLAIN, False)
    if most < 3:
        fail(["psiblast"], "no query took 3 rounds (at most %d)" % most)


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--tool", required=True)
    tool = os.path.abspath(ap.parse_args().tool)
    need_biopython()
    work = tempfile.mkdtemp(prefix="norvext-scale-")
    try:
        os.chdir(work)
        queries = make_inputs()
        xml = check_blastp(tool)
        check_stranded(tool)
        if xml is not None:
            check_pipelines(tool, xml, queries)
        check_psiblast(tool)
    finally:
        os.chdir("/")
        shutil.rmtree(work)
    return report()


if __name__ == "__main__":
    sys.exit(main())
