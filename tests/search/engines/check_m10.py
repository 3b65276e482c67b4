#!/usr/bin/python3
"""Runs FASTA36 (fasta36, ssearch36, fastx36, tfastx36, ggsearch36) on the
example sequences Debian's fasta3 ships, each search once writing both -m 10
(standard output) and tabular output (-m "F8CB FILE", an alternate output of
the same run: the same shuffles, so the same E-values), and checks that
`norvext-search import` reads the -m 10 into the records it reads from the
tabular output: queries, hits, and per alignment the E-value, bit score,
ranges, strands, frames and segments (BTOP), and percent identity as FASTA's
-m 8 counts it.  tfastx36's BTOP puts the subject letter of a gap pair
first, so its segments cannot come from -m 8CB: it is compared with -m 8C
(no segments).  The aligned letters of every protein and nucleotide side
must be the letters of the sequence files over the range, and Biopython's
fasta-m10 reader, where it reads the output (not fastx36's translated query
nor FASTA's nucleotide queries), must read the same ids, titles, lengths,
scores, ranges and letters.  Run with Debian's python:
/usr/bin/python3 check_m10.py --tool PATH/norvext-search.  Exit 0 when all
agree, else 1 with one line per disagreement."""
import argparse, json, os, shutil, subprocess, sys, tempfile, warnings

SEQ = "/usr/share/doc/fasta3/examples/seq"
# Protein queries: several alignments of one subject (test m1), few letters
# (mgstm1: n0.aa); nucleotide queries searched on both strands.
QUERIES = {"aa": ["mgstm1.aa", "n0.aa", "ms1.aa", "gstt1_drome.aa"], "nt": ["mgstm1.nt", "gst.seq"]}
# (program, query file, library, tabular option, Biopython reads it)
SEARCHES = [("fasta36", "aa", "prot_test.lib", "8CB", True), ("fasta36", "nt", "gst.nlib", "8CB", False),
            ("ssearch36", "aa", "prot_test.lib", "8CB", True), ("fastx36", "nt", "prot_test.lib", "8CB", False),
            ("tfastx36", "aa", "gst.nlib", "8C", True), ("ggsearch36", "aa", "prot_test.lib", "8CB", True)]
COMPLEMENT = str.maketrans("ACGTUNacgtun", "TGCAANtgcaan")

problems = []


def fail(where, what):
    problems.append("%s: %s" % (" ".join(str(w) for w in where), what))


def run(cmd, out):
    exe = shutil.which(cmd[0])
    if exe is None:
        sys.exit("%s not found; install Debian package fasta3" % cmd[0])
    with open(out, "w") as sink:
        r = subprocess.run([exe] + cmd[1:], stdout=sink, stderr=subprocess.PIPE, text=True)
    if r.returncode != 0:
        sys.exit("%s failed (%d): %s" % (" ".join(cmd), r.returncode, r.stderr))


def imported(tool, path, fmt, where):
    """The tool's JSON lines of `path`; with `fmt` None it recognises the format."""
    r = subprocess.run([tool, "import"] + (["--format", fmt] if fmt else []) + [path],
                       stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    if r.returncode != 0 or r.stderr:
        fail(where, "import exit %d, stderr %r" % (r.returncode, r.stderr))
        return []
    return [json.loads(line) for line in r.stdout.splitlines()]


def sequences(paths):
    """Id (first word) to letters of the FASTA files, letters only, upper case."""
    seqs, name = {}, None
    for path in paths:
        for line in open(path):
            if line.startswith(">"):
                name = line[1:].split()[0]
                seqs[name] = []
            elif name:
                seqs[name].append("".join(c for c in line.upper() if c.isalpha() or c == "*"))
    return {k: "".join(v) for k, v in seqs.items()}


def key(a):
    return (a["queryFrom"], a["queryTo"], a["subjectFrom"], a["subjectTo"], a["eValue"])


def near(a, b, what):
    """Equal within what FASTA prints: E-values to two digits, bits to 0.1."""
    if what == "eValue":
        return abs(a - b) <= max(a, b) * 0.01 + 1e-12 or abs(a - b) <= 0.05
    return abs(a - b) <= 0.05


def compare_tab(m10, tab, with_segments, where):
    """The -m 10 records against the tabular ones of the same search."""
    for what in ("id", "description", "length", "program", "version", "database"):
        if [q["query"][what] for q in m10] != [q["query"][what] for q in tab]:
            fail(where, "query %s %s vs %s" % (what, [q["query"][what] for q in m10], [q["query"][what] for q in tab]))
    count = 0
    for q, t in zip(m10, tab):
        w = where + [q["query"]["id"]]
        if [h["sourceID"] for h in q["hits"]] != [h["sourceID"] for h in t["hits"]]:
            fail(w, "hits %s vs %s" % ([h["sourceID"] for h in q["hits"]], [h["sourceID"] for h in t["hits"]]))
            continue
        for h, u in zip(q["hits"], t["hits"]):
            # Without raw scores the tabular reader ranks a hit's alignments.
            mine, theirs = sorted(h["alignments"], key=key), sorted(u["alignments"], key=key)
            if len(mine) != len(theirs):
                fail(w + [h["sourceID"]], "%d vs %d alignments" % (len(mine), len(theirs)))
                continue
            for a, b in zip(mine, theirs):
                count += 1
                wa = w + [h["sourceID"], key(a)[:4]]
                for what in ("eValue", "bitScore"):
                    if not near(a[what], b[what], what):
                        fail(wa, "%s %r vs %r" % (what, a[what], b[what]))
                for what in ("queryFrom", "queryTo", "subjectFrom", "subjectTo", "queryStrand", "subjectStrand",
                             "queryFrame", "subjectFrame") + (("segments",) if with_segments else ()):
                    # -m 8 has no subject length to number a minus frame by.
                    if a[what] != b[what] and not (what == "subjectFrame" and b[what] is None):
                        fail(wa, "%s %r vs %r" % (what, a[what], b[what]))
                # FASTA's -m 8 counts identities over the columns without gaps.
                if b["alignmentLength"] and abs(100.0 * a["identities"] / b["alignmentLength"]
                                                - b["percentIdentity"]) > 0.006:
                    fail(wa, "%d identities in %d columns, -m 8 says %r%%" % (
                        a["identities"], b["alignmentLength"], b["percentIdentity"]))
    return count


def check_own(m10, queries, library, steps, where):
    """Properties of the -m 10 records alone: counts against FASTA's fractions,
    letters against the sequence files."""
    for q in m10:
        for h in q["hits"]:
            for a in h["alignments"]:
                wa = where + [q["query"]["id"], h["sourceID"], key(a)[:4]]
                if abs(100.0 * a["identities"] / a["alignmentLength"] - a["percentIdentity"]) > 0.1:
                    fail(wa, "%d identities of %d, FASTA says %r%%" % (
                        a["identities"], a["alignmentLength"], a["percentIdentity"]))
                if a["gaps"] != sum(1 for x, y in zip(a["querySeq"], a["subjectSeq"]) if "-" in (x, y)):
                    fail(wa, "gaps %r" % a["gaps"])
                for side, seqs, name, step in (("query", queries, q["query"]["id"], steps[0]),
                                               ("subject", library, h["sourceID"], steps[1])):
                    lo, hi = a[side + "From"], a[side + "To"]
                    letters = "".join(c for c in a[side + "Seq"].upper() if c.isalpha() or c == "*")
                    if step == 1 and name in seqs:
                        want = seqs[name][lo - 1:hi]
                        if a[side + "Strand"] == -1:
                            want = want.translate(COMPLEMENT)[::-1]
                        if letters != want:
                            fail(wa, "%s letters %s are not %s %d..%d" % (side, letters[:30], name, lo, hi))
                    elif step == 3 and len(letters) * 3 + a[side + "Seq"].count("\\") - a[side + "Seq"].count("/") \
                            != hi - lo + 1:
                        fail(wa, "%s letters %s do not span %d..%d" % (side, letters[:30], lo, hi))


def compare_bio(m10, path, where):
    """The -m 10 records against Biopython's reading of the same file."""
    from Bio import SearchIO
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        theirs = [q for q in SearchIO.parse(path, "fasta-m10")]
    if [q["query"]["id"] for q in m10] != [q.id for q in theirs]:
        return fail(where, "queries %s vs %s" % ([q["query"]["id"] for q in m10], [q.id for q in theirs]))
    for q, t in zip(m10, theirs):
        w = where + [t.id]
        if q["query"]["length"] != t.seq_len:
            fail(w, "query length %r vs %r" % (q["query"]["length"], t.seq_len))
        if [h["sourceID"] for h in q["hits"]] != [h.id for h in t]:
            fail(w, "hits %s vs %s" % ([h["sourceID"] for h in q["hits"]], [h.id for h in t]))
            continue
        for h, u in zip(q["hits"], t):
            if (h["title"], h["length"]) != (u.description, u.seq_len):
                fail(w + [u.id], "title, length %r vs %r" % ((h["title"], h["length"]), (u.description, u.seq_len)))
            if len(h["alignments"]) != len(u.hsps):
                fail(w + [u.id], "%d vs %d alignments" % (len(h["alignments"]), len(u.hsps)))
                continue
            for a, b in zip(h["alignments"], u.hsps):
                mine = (a["eValue"], a["bitScore"], min(a["queryFrom"], a["queryTo"]), max(a["queryFrom"], a["queryTo"]),
                        min(a["subjectFrom"], a["subjectTo"]), max(a["subjectFrom"], a["subjectTo"]),
                        a["querySeq"], a["subjectSeq"])
                bio = (b.evalue, b.bitscore, b.query_start + 1, b.query_end, b.hit_start + 1, b.hit_end,
                       str(b.query.seq), str(b.hit.seq))
                if mine != bio:
                    fail(w + [u.id], "alignment %r vs Biopython's %r" % (mine, bio))


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--tool", required=True)
    tool = os.path.abspath(ap.parse_args().tool)
    work = tempfile.mkdtemp(prefix="norvext-m10-")
    try:
        os.chdir(work)
        for kind, names in QUERIES.items():
            with open(kind + ".fa", "w") as f:
                f.writelines(open(os.path.join(SEQ, n)).read() for n in names)
        for prog, query, lib, tab, bio in SEARCHES:
            name = "%s.%s" % (prog, query)
            run([prog, "-q", "-m", "10", "-m", "F%s %s.tab" % (tab, name), query + ".fa", os.path.join(SEQ, lib)],
                name + ".m10")
            # The alternate output holds the queries' ">>><<<" lines too.
            with open(name + ".tab") as f, open(name + ".clean.tab", "w") as g:
                g.writelines(l for l in f if l.strip() != ">>><<<")
            where = [prog, name]
            m10 = imported(tool, name + ".m10", "fasta-m10", where)
            if imported(tool, name + ".m10", None, where + ["recognised"]) != m10:
                fail(where, "recognised from the content, the records differ")
            tabular = imported(tool, name + ".clean.tab", "fasta-tab", where + [tab])
            count = compare_tab(m10, tabular, tab == "8CB", where + ["vs -m " + tab])
            translated = {"fastx36": (3, 1), "tfastx36": (1, 3)}.get(prog, (1, 1))
            check_own(m10, sequences([query + ".fa"]), sequences([os.path.join(SEQ, lib)]), translated, where)
            if bio:
                compare_bio(m10, name + ".m10", where + ["vs Biopython"])
            print("%-10s %-14s %d queries, %d without hits, %d alignments" % (
                prog, name, len(m10), sum(1 for q in m10 if not q["hits"]), count))
            if not count:
                fail(where, "no alignment compared")
    finally:
        os.chdir("/")
        shutil.rmtree(work)
    for p in problems:
        print("DISAGREE", p)
    print("%d disagreements" % len(problems))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
