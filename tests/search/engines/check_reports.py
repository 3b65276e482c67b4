#!/usr/bin/python3
"""BLAST's report formats against its XML: blastn, blastp, blastx, tblastn,
tblastx and psiblast each run once per format on example sequences of
Debian's fasta3; the XML2 (-outfmt 14 and 16) and JSON (-outfmt 13 and 15)
outputs must import to the XML's records (-outfmt 5) line for line, the
commented tabular with score and BTOP to the same records within tabular's
precision.  The lists of per-query files of 13 and 14 are followed from
another folder, their files read one by one give the same lines, and a list
that names a file outside its folder is refused.

Run with Debian's python: /usr/bin/python3 check_reports.py --tool
PATH/norvext-search.  Exit 0 when all agree, else 1 with one line per
disagreement."""
import argparse, glob, json, os, subprocess, sys, tempfile

sys.dont_write_bytecode = True  # importing the shared checks leaves nothing in the source tree
from check_engines import SEQ, fail, report, run
from check_scale import RANGES, read_fasta, reverse_complement, same_records, write_fasta

TAB = "7 std score btop"
REPORTS = ("13", "14", "15", "16")
# (program, options, queries, database)
SEARCHES = [("blastn", ["-task", "blastn"], "nt", "nt"), ("blastp", [], "aa", "aa"), ("blastx", [], "nt", "aa"),
            ("tblastn", [], "aa", "nt"), ("tblastx", [], "nt", "nt"), ("psiblast", ["-num_iterations", "3"], "aa", "aa")]


def lines(tool, paths, where, cwd=None):
    r = subprocess.run([tool, "import"] + paths, capture_output=True, text=True, cwd=cwd)
    if r.returncode != 0 or r.stderr:
        fail(where, "import exit %d, stderr %r" % (r.returncode, r.stderr[:300]))
    return r.stdout.splitlines()


def masked(xml, report):
    """Whether aligned letters agree but for masking: XML prints a masked
    stretch as X, the reports as the lower-case letters (stops among them)."""
    return len(xml) == len(report) and all(a == b or (a == "X" and (b.islower() or b == "*"))
                                           for a, b in zip(xml, report))


def same_as_xml(xml_line, line, program, where):
    """A report's record against the XML's: equal, but that blastn's reports
    give no positives (its XML: the identities), and masked letters."""
    x, r = json.loads(xml_line), json.loads(line)
    for xh, rh in zip(x["hits"], r["hits"]):
        for xa, ra in zip(xh["alignments"], rh["alignments"]):
            if program == "blastn" and ra["positives"] is None and xa["positives"] == xa["identities"]:
                ra["positives"] = xa["positives"]
            for side in ("querySeq", "subjectSeq"):
                if masked(xa[side], ra[side]):
                    ra[side] = xa[side]
    if x != r:
        fail(where, "records differ:\n  XML    %s\n  report %s" % (xml_line[:400], json.dumps(r)[:400]))


def check_search(tool, work, program, options, queries, database):
    def write(outfmt, out):
        run([program, "-query", queries, "-db", database, "-evalue", "1", "-outfmt", outfmt, "-out", out] + options)
        return out
    xml = lines(tool, [write("5", os.path.join(work, program + ".xml"))], [program, "-outfmt 5"])
    if not any(json.loads(line)["hits"] for line in xml):
        fail([program], "no hits: the comparison would test nothing")
    tab = lines(tool, [write(TAB, os.path.join(work, program + ".tab"))], [program, TAB])
    members = RANGES + ("minus", "segments", "score", "alignmentLength", "identity")
    same_records([json.loads(line) for line in tab], [json.loads(line) for line in xml], [program, TAB], members,
                 ordered=True)
    for outfmt in REPORTS:
        where = [program, "-outfmt", outfmt]
        out = write(outfmt, os.path.join(work, "%s.%s" % (program, outfmt)))
        # The tool runs elsewhere: a list's files are found beside the list.
        got = lines(tool, [out], where, cwd="/")
        if len(got) != len(xml):
            fail(where, "%d queries vs XML's %d" % (len(got), len(xml)))
        for xml_line, line in zip(xml, got):
            same_as_xml(xml_line, line, program, where)
        parts = sorted(glob.glob(out + "_*"), key=lambda p: int(p.rsplit("_", 1)[1].split(".")[0]))
        if (outfmt in ("13", "14")) != bool(parts):
            fail(where, "per-query files %s" % parts)
        elif parts and lines(tool, parts, where + ["per-query files"]) != got:
            fail(where + ["per-query files"], "lines differ from the list's")
    return len(xml)


def check_outside(tool, work):
    """Lists that name a file outside their folder are refused, naming it."""
    for outfmt, entry in (("13", '"File": "%s"'), ("14", '<xi:include href="%s"/>')):
        original = os.path.join(work, "blastp." + outfmt)
        text = open(original).read()
        first = os.path.basename(sorted(glob.glob(original + "_*"))[0])
        for name in ("../" + first, os.path.join(work, first), "."):
            path = os.path.join(work, "outside." + outfmt)
            open(path, "w").write(text.replace(entry % first, entry % name))
            r = subprocess.run([tool, "import", path], capture_output=True, text=True)
            expected = "the list names '%s': only files beside the list are read" % name
            if r.returncode != 1 or r.stdout or not r.stderr.startswith(path + ":") or expected not in r.stderr:
                fail(["list", outfmt, name], "exit %d, stderr %r" % (r.returncode, r.stderr))


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--tool", required=True)
    tool = os.path.abspath(ap.parse_args().tool)
    with tempfile.TemporaryDirectory(prefix="norvext-reports-") as work:
        aa = [r for f in ("mgstm1.aa", "gstt1_drome.aa", "mchu.aa") for r in read_fasta(os.path.join(SEQ, f))]
        # A reversed protein hits nothing: a query without hits.
        aa.append(("reversed", "", aa[0][2][::-1]))
        nt = read_fasta(os.path.join(SEQ, "mgstm1.seq"))
        nt.append(("minus", "reverse complement", reverse_complement(nt[0][2].upper())))
        files = {"aa": os.path.join(work, "queries.aa"), "nt": os.path.join(work, "queries.nt")}
        write_fasta(files["aa"], aa)
        write_fasta(files["nt"], nt)
        # One database without parsed ids (gnl|BL_ORD_ID|N), one with.
        dbs = {"aa": os.path.join(work, "aa"), "nt": os.path.join(work, "nt")}
        run(["makeblastdb", "-in", os.path.join(SEQ, "prot_test.lib"), "-dbtype", "prot", "-out", dbs["aa"]])
        run(["makeblastdb", "-in", os.path.join(SEQ, "gst.nlib"), "-dbtype", "nucl", "-parse_seqids",
             "-out", dbs["nt"]])
        for program, options, queries, database in SEARCHES:
            count = check_search(tool, work, program, options, files[queries], dbs[database])
            print("%-9s %d queries: XML, tabular %r and -outfmt %s compared" % (program, count, TAB,
                                                                               ", ".join(REPORTS)))
        check_outside(tool, work)
    return report()


if __name__ == "__main__":
    sys.exit(main())
