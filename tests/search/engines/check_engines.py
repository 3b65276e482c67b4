#!/usr/bin/python3
"""Runs real search engines (NCBI BLAST+ and FASTA36) on the example sequences
Debian's fasta3 package ships, imports every output with `norvext-search import`
and checks it against an independent reader, Biopython's Bio.SearchIO: per
query the hit order and ids, alignments per hit, raw score, E-value and bit
score (exactly), ranges, and the query positions the segments cover (derived
here from the aligned letters or the BTOP string).  For every BLAST search the
XML and tabular outputs must also import to the same hits within the precision
tabular prints.  Run with Debian's python: /usr/bin/python3 check_engines.py
--tool PATH/norvext-search.  Exit 0 when all agree, else 1 with one line per
disagreement."""
import argparse, itertools, json, os, re, shutil, subprocess, sys, tempfile, warnings

SEQ = "/usr/share/doc/fasta3/examples/seq"
QUERIES = {"aa": ["mgstm1.aa", "gstt1_drome.aa"], "nt": ["mgstm1.nt", "gst.seq"]}
PACKAGE = dict([(p, "ncbi-blast+") for p in ("makeblastdb", "blastn", "blastp", "blastx", "tblastn", "tblastx",
                                             "psiblast", "blast_formatter")]
               + [(p, "fasta3") for p in ("fasta36", "ssearch36", "fastx36")])
# Databases: "P" ones are built with -parse_seqids, so BLAST XML gives the real
# id as Hit_id; the others give gnl|BL_ORD_ID|N and put the id into Hit_def.
DATABASES = {"prot": ("prot_test.lib", "prot", []), "protP": ("prot_test.lib", "prot", ["-parse_seqids"]),
             "nucl": ("gst.nlib", "nucl", []), "nuclP": ("gst.nlib", "nucl", ["-parse_seqids"])}
# (program, extra options, query file, database, query translated)
BLAST = [("blastn", ["-task", "blastn"], "nt", "nucl", False), ("blastp", [], "aa", "protP", False),
         ("blastx", [], "nt", "prot", True), ("tblastn", [], "aa", "nuclP", False),
         ("tblastx", [], "nt", "nuclP", True)]
# Tabular without comments is read as the 12 standard columns; other field
# lists go with comments (-outfmt 7), whose "# Fields:" line names them.
BLAST_TAB = ["6", "7 std qlen score stitle btop", "7 qseqid sseqid score evalue bitscore qstart qend sstart send qseq sseq"]
# (program, query file, library, query translated).  tfastx36 is left out: in
# 36.3.8 its BTOP writes gap pairs subject letter first ("-R" for query R).
FASTA = [("fasta36", "aa", "prot_test.lib", False), ("ssearch36", "aa", "prot_test.lib", False),
         ("fastx36", "nt", "prot_test.lib", True), ("fasta36", "nt", "gst.nlib", False),
         ("ssearch36", "nt", "gst.nlib", False)]
# FASTA 36.3.8's "# Fields:" line names 14-15 fields (query/subject length
# too) but its rows carry the 12 BLAST ones, plus BTOP with -m 8CB; so the
# comments are stripped and the fields given to Biopython explicitly.
STD_FIELDS = "qseqid sseqid pident length mismatch gapopen qstart qend sstart send evalue bitscore".split()

problems = []


def fail(where, what):
    problems.append("%s: %s" % (" ".join(str(w) for w in where), what))


def run(cmd, out=None, check=True):
    exe = shutil.which(cmd[0])
    if exe is None:
        sys.exit("%s not found%s" % (cmd[0], "; install Debian package " + PACKAGE[cmd[0]] if cmd[0] in PACKAGE else ""))
    with open(out or os.devnull, "w") as sink:
        r = subprocess.run([exe] + cmd[1:], stdout=sink if out else subprocess.PIPE,
                           stderr=subprocess.PIPE, text=True)
    if check and r.returncode != 0:
        sys.exit("%s failed (%d): %s" % (" ".join(cmd), r.returncode, r.stderr))
    return r


def merge(ranges):
    """Sorted union of inclusive ranges, joining touching ones."""
    out = []
    for lo, hi in sorted(ranges):
        if out and lo <= out[-1][1] + 1:
            out[-1][1] = max(out[-1][1], hi)
        else:
            out.append([lo, hi])
    return out


def covered(columns, lo, hi, reverse, step, where):
    """Query positions aligned to a subject letter, walking the (query, subject)
    letter pairs of the columns from the start of the query range.  A fastx
    frameshift ("/" or "\\" as query letter) moves the query by -1 or +1."""
    pos, cover, sign = (hi if reverse else lo), [], -1 if reverse else 1
    for q, s in columns:
        move = {"-": 0, "/": -1, "\\": 1}.get(q, step)
        if move == step and s not in "-/\\":
            cover.append((pos - step + 1, pos) if reverse else (pos, pos + step - 1))
        pos += sign * move
    if pos != (lo - 1 if reverse else hi + 1):
        fail(where, "aligned query letters do not span the query range %d..%d" % (lo, hi))
    return merge(cover)


def btop_columns(btop):
    if not re.fullmatch(r"(\d+|[^\d][^\d])*", btop):
        return None
    for n, q, s in re.findall(r"(\d+)|([^\d])([^\d])", btop):
        yield from [("=", "=")] * int(n) if n else [(q, s)]


def bio_alignment(hsp, step, is_xml, where):
    """An alignment as Biopython reads it, in the form compared below."""
    lo, hi = hsp.query_start + 1, hsp.query_end
    if is_xml:
        reverse = (hsp.query_frame or 0) < 0
    else:
        reverse = hsp.query_strand == -1
    letters = getattr(hsp, "btop", None)
    if letters is not None:
        columns = btop_columns(letters)
        if columns is None:
            fail(where, "unreadable BTOP %r" % letters)
            columns = []
    elif hsp.query is not None:
        columns = zip(str(hsp.query.seq), str(hsp.hit.seq))
    else:
        columns = None
    return {"score": getattr(hsp, "bitscore_raw", None), "eValue": hsp.evalue, "bitScore": hsp.bitscore,
            "query": (lo, hi), "subject": (hsp.hit_start + 1, hsp.hit_end),
            "cover": [[lo, hi]] if columns is None else covered(columns, lo, hi, reverse, step, where),
            "reversed": None if is_xml else (hsp.query_strand == -1, hsp.hit_strand == -1)}


def bio_read(path, fmt, step, where, **kw):
    from Bio import SearchIO
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        queries = list(SearchIO.parse(path, fmt, **kw))
    described = fmt == "blast-xml" or kw.get("comments")  # Biopython's stand-in for none: "<unknown description>"
    return [{"id": q.id, "description": q.description.replace("<unknown description>", "") if described else None,
             "length": getattr(q, "seq_len", None),
             "hits": [{"sourceID": h.id, "title": h.description if fmt == "blast-xml" else tab_title(h),
                       "alignments": ranked([bio_alignment(a, step, fmt == "blast-xml", where + [q.id, h.id])
                                             for a in h])}
                      for h in q]} for q in queries]


def tab_title(hit):
    """The title of a tabular hit as BLAST's XML gives it: a database made
    without parsed ids begins its title with the id, which XML leaves out."""
    title = getattr(hit, "title", "")
    return title[len(hit.id) + 1:] if title.startswith(hit.id + " ") else title


def ranked(alignments):
    """Without raw scores the reader puts a hit's alignments in the engine's
    order of merit: smallest E-value, then largest bit score, first."""
    if any(a["score"] is not None for a in alignments):
        return alignments
    return sorted(alignments, key=lambda a: (a["eValue"], -a["bitScore"]))


def tool_read(tool, path, fmt, where):
    r = run([tool, "import", "--format", fmt, path], check=False)
    if r.returncode != 0 or r.stderr:
        fail(where, "import exit %d, stderr %r" % (r.returncode, r.stderr))
        return None
    try:
        queries = [json.loads(line) for line in r.stdout.splitlines()]
    except ValueError as e:
        return fail(where, "import printed no JSON: %s" % e)
    for q in queries:
        for h in q["hits"]:
            check_hit(h, where + [q["query"]["id"], h["sourceID"]])
    return [{"id": q["query"]["id"], "description": q["query"]["description"], "length": q["query"]["length"],
             "hits": [{"sourceID": h["sourceID"], "title": h["title"],
                       "alignments": [tool_alignment(a) for a in h["alignments"]]} for h in q["hits"]]}
            for q in queries]


def check_hit(hit, where):
    """Properties of the tool's own output: hit numbering, best, segments."""
    alns = hit["alignments"]
    keys = ("score", "eValue", "bitScore")
    # Without raw scores the reader ranks a hit's alignments by E-value.
    best = max(alns, key=lambda a: a["score"]) if alns and alns[0]["score"] is not None else \
        min(alns, key=lambda a: (a["eValue"], -a["bitScore"]), default=None)
    if alns and [hit["best"][k] for k in keys] != [best[k] for k in keys]:
        fail(where, "best %s is not the engine's best alignment" % hit["best"])
    for i, a in enumerate(alns):
        segs, lo, hi = a["segments"], a["queryFrom"], a["queryTo"]
        if lo > hi or a["subjectFrom"] > a["subjectTo"]:
            fail(where + ["alignment", i + 1], "a range runs down: %r" % a)
        ok = all(l <= u for l, u in segs) and all(p[1] < n[0] for p, n in zip(segs, segs[1:]))
        if not segs or not ok or segs[0][0] < lo or segs[-1][1] > hi:
            fail(where + ["alignment", i + 1], "segments %s not ascending, disjoint, within %d..%d" % (segs, lo, hi))


def tool_alignment(a):
    return {"score": a["score"], "eValue": a["eValue"], "bitScore": a["bitScore"],
            "query": (a["queryFrom"], a["queryTo"]), "subject": (a["subjectFrom"], a["subjectTo"]),
            "cover": merge(a["segments"]), "reversed": (a["queryStrand"] == -1, a["subjectStrand"] == -1)}


def near(a, b, key):
    """Within the precision BLAST tabular prints: E-values below 0.0009 with
    three significant digits, then with 3, 2, 1, 0 decimals below 0.1, 1, 10
    and above (0.001 for 0.00143785); bit scores to 0.1 or to 1."""
    if key == "eValue":
        m = max(a, b)
        tol = next((t for limit, t in ((0.0009, 0.01 * m), (0.1, 5e-4), (1, 5e-3), (10, 0.05)) if m < limit), 0.5)
        return abs(a - b) <= tol
    return abs(a - b) <= 1 if key == "bitScore" else a == b


def compare(mine, theirs, where, same, keys):
    """Compare two readings; a value None on either side is not compared."""
    if [q["id"] for q in mine] != [q["id"] for q in theirs]:
        return fail(where, "queries %s vs %s" % ([q["id"] for q in mine], [q["id"] for q in theirs]))
    hits = alns = 0
    for q, t in zip(mine, theirs):
        w = where + [q["id"]]
        for key in set(keys) & {"description", "length"}:
            if None not in (q[key], t[key]) and q[key] != t[key]:
                fail(w, "query %s %r vs %r" % (key, q[key], t[key]))
        if [h["sourceID"] for h in q["hits"]] != [h["sourceID"] for h in t["hits"]]:
            fail(w, "hits %s vs %s" % ([h["sourceID"] for h in q["hits"]], [h["sourceID"] for h in t["hits"]]))
            continue
        for h, u in zip(q["hits"], t["hits"]):
            hits += 1
            if "title" in keys and h["title"] != u["title"]:
                fail(w + [h["sourceID"]], "title %r vs %r" % (h["title"], u["title"]))
            if len(h["alignments"]) != len(u["alignments"]):
                fail(w + [h["sourceID"]], "%d vs %d alignments" % (len(h["alignments"]), len(u["alignments"])))
                continue
            for i, (a, b) in enumerate(zip(h["alignments"], u["alignments"])):
                alns += 1
                for key in keys:
                    if key in a and None not in (a[key], b[key]) and not same(a[key], b[key], key):
                        fail(w + [h["sourceID"], "alignment", i + 1], "%s %r vs %r" % (key, a[key], b[key]))
    return len(mine), hits, alns


def check_file(tool, path, fmt, bio_kw, step, where):
    mine = tool_read(tool, path, fmt, where)
    theirs = bio_read(bio_kw.pop("path", path), bio_kw.pop("bio_format"), step, where, **bio_kw)
    if mine is None:
        return None
    counts = compare(mine, theirs, where, lambda a, b, key: a == b, ("description", "length", "title", "score",
                     "eValue", "bitScore", "query", "subject", "cover", "reversed"))
    if counts:
        print("%-10s %-28s %d queries, %d hits, %d alignments compared" % (tuple(where) + counts))
    return mine


def regrouped(path):
    """FASTA rows with comments stripped and each query's rows stably grouped by
    subject (FASTA may list a subject's alignments apart; Biopython refuses that)."""
    rows = [l for l in open(path) if l.strip() and not l.startswith("#")]
    out, key = path + ".bio", lambda r: r.split("\t")[0]
    with open(out, "w") as f:
        for _, group in itertools.groupby(rows, key):
            group = list(group)
            first = {}
            for r in group:
                first.setdefault(r.split("\t")[1], len(first))
            f.writelines(sorted(group, key=lambda r: first[r.split("\t")[1]]))
    return out


def check_blast(tool, prog, write, step, tabular=BLAST_TAB):
    """One BLAST search: write(outfmt, path) writes its output in that -outfmt.
    The XML and each tabular output are checked against Biopython, and each
    tabular reading against the XML's within the precision tabular prints.
    Returns the tool's reading of the XML (None when it failed)."""
    write("5", prog + ".xml")
    xml = check_file(tool, prog + ".xml", "blast-xml", {"bio_format": "blast-xml"}, step, [prog, prog + ".xml"])
    for i, outfmt in enumerate(tabular):
        name, fields = "%s.%d.tab" % (prog, i), outfmt.split()
        write(outfmt, name)
        commented = fields[0] == "7"
        kw = {"bio_format": "blast-tab", "comments": True} if commented else {"bio_format": "blast-tab"}
        tab = check_file(tool, name, "blast-tab", kw, step, [prog, name])
        if xml is not None and tab is not None:
            # Without comments a query without hits leaves no line.
            shown = xml if commented else [q for q in xml if q["hits"]]
            compare(tab, shown, [prog, name, "vs XML"], near, ("eValue", "bitScore", "query", "subject")
                    + (("score",) if "score" in fields else ()) + (("cover",) if {"btop", "qseq"} & set(fields) else ()))
    return xml


def report():
    """Prints every disagreement; the exit status: 1 when there was one."""
    for p in problems:
        print("DISAGREE", p)
    print("%d disagreements" % len(problems))
    return 1 if problems else 0


def need_biopython():
    try:
        import Bio.SearchIO  # noqa: F401
    except ImportError:
        sys.exit("Bio.SearchIO not found; install Debian package python3-biopython")


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--tool", required=True)
    tool = os.path.abspath(ap.parse_args().tool)
    need_biopython()
    work = tempfile.mkdtemp(prefix="norvext-engines-")
    try:
        os.chdir(work)
        for kind, names in QUERIES.items():
            with open(kind + ".fa", "w") as f:
                f.writelines(open(os.path.join(SEQ, n)).read() for n in names)
        for db, (lib, dbtype, opts) in DATABASES.items():
            run(["makeblastdb", "-in", os.path.join(SEQ, lib), "-dbtype", dbtype, "-out", db] + opts)
        for prog, opts, query, db, translated in BLAST:
            base = [prog, "-query", query + ".fa", "-db", db] + opts
            check_blast(tool, prog, lambda outfmt, path: run(base + ["-outfmt", outfmt], path), 3 if translated else 1)
        for prog, query, lib, translated in FASTA:
            for opt in ("8", "8C", "8CB"):
                name = "%s.%s.%s.m%s" % (prog, query, lib.split(".")[0], opt)
                run([prog, "-q", "-m", opt, query + ".fa", os.path.join(SEQ, lib)], name)
                fields = STD_FIELDS + (["btop"] if opt.endswith("B") else [])
                check_file(tool, name, "fasta-tab", {"bio_format": "blast-tab", "path": regrouped(name),
                                                     "fields": fields}, 3 if translated else 1, [prog, name])
    finally:
        os.chdir("/")
        shutil.rmtree(work)
    return report()


if __name__ == "__main__":
    sys.exit(main())
