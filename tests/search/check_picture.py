#!/usr/bin/python3
"""Looks at the pictures of real blastp runs as a person would: `norvext-search
import --svg` draws them, librsvg's rsvg-convert renders them to PNG, and the
pixels are checked where the documented layout (docs/search.md, "Pictures")
puts each segment of the tool's JSON: a bar in the colour of the hit's bit
score, the thin grey line and no bar across an alignment's gaps, the axis, a
label beside every k-th row and none between labels on thin rows.  Runs: two
queries against prot_test.lib (XML, and tabular without query lengths), and
one query against windows of every example protein with -evalue 5000, for
more than a thousand rows.  Usage: check_picture.py --tool PATH/norvext-search"""
import argparse, json, math, os, shutil, struct, subprocess, sys, tempfile, zlib

SEQ = "/usr/share/doc/fasta3/examples/seq"
PACKAGE = {"makeblastdb": "ncbi-blast+", "blastp": "ncbi-blast+", "rsvg-convert": "librsvg2-bin"}
LEFT, RIGHT, KEY, AXIS, ROWS, BOTTOM, LABEL_RIGHT, LABEL_ROOM = 200, 780, 28, 28, 54, 12, 192, 14
BANDS = [(200, (255, 0, 0)), (80, (255, 0, 255)), (50, (0, 255, 0)), (40, (0, 0, 255)), (-math.inf, (0, 0, 0))]
WHITE, GREY = (255, 255, 255), (0x99, 0x99, 0x99)
problems, counts = [], {"bar": 0, "gap": 0, "label": 0, "no label": 0}


def run(cmd, **kw):
    if shutil.which(cmd[0]) is None:
        sys.exit("%s not found; install Debian package %s" % (cmd[0], PACKAGE.get(cmd[0], cmd[0])))
    r = subprocess.run(cmd, capture_output=True, text=True, **kw)
    if r.returncode != 0:
        sys.exit("%s failed (%d): %s" % (" ".join(cmd), r.returncode, r.stderr))
    return r.stdout


def png_pixels(path):
    """(width, height, get(x, y) -> (r, g, b)) of an 8-bit RGB or RGBA PNG."""
    data, pos, idat = open(path, "rb").read(), 8, b""
    while pos < len(data):
        size, kind = struct.unpack(">I4s", data[pos:pos + 8])
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", data[pos + 8:pos + 21])
            assert depth == 8 and colour in (2, 6) and not interlace, "unexpected PNG kind"
        idat += data[pos + 8:pos + 8 + size] if kind == b"IDAT" else b""
        pos += 12 + size
    raw, bpp = zlib.decompress(idat), 3 if colour == 2 else 4
    stride, rows, prev = width * bpp, [], bytearray(width * bpp)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        if kind == 2:
            line = bytearray(map(lambda a, b: (a + b) & 255, line, prev))
        elif kind:
            for i in range(stride):
                a, b = line[i - bpp] if i >= bpp else 0, prev[i]
                if kind == 1:
                    line[i] = (line[i] + a) & 255
                elif kind == 3:
                    line[i] = (line[i] + (a + b) // 2) & 255
                else:
                    c = prev[i - bpp] if i >= bpp else 0
                    pa, pb, pc = abs(b - c), abs(a - c), abs(a + b - 2 * c)
                    line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(line)
        prev = line
    return width, height, lambda x, y: tuple(rows[y][x * bpp:x * bpp + 3])


def expect(get, x, y, want, where):
    if get(x, y) != want:
        problems.append("%s: pixel (%d, %d) is %s, want %s" % (where, x, y, get(x, y), want))


def check(tool, output, work, min_rows):
    name = os.path.basename(output)
    svg, png = os.path.join(work, name + ".svg"), os.path.join(work, name + ".png")
    searches = [json.loads(line) for line in run([tool, "import", "--svg", svg, output]).splitlines()]
    run(["rsvg-convert", svg, "-o", png])
    width, height, get = png_pixels(png)
    top = KEY
    for search in searches:
        hits, where = search["hits"], "%s %s" % (name, search["query"]["id"])
        n = len(hits)
        segs = [[[(max(1, lo), hi) for lo, hi in a["segments"]] for a in hit["alignments"]] for hit in hits]
        span = search["query"]["length"] or max([1] + [hi for h in segs for a in h for _, hi in a])
        x_of = lambda position: LEFT + (position - 1) * (RIGHT - LEFT) / span
        pitch = min(14, max(3, 600 // n)) if n else 14
        bar, every = pitch - max(1, pitch // 4), math.ceil(LABEL_ROOM / pitch)
        for x in range(LEFT, RIGHT, 7):
            expect(get, x, top + AXIS, (0, 0, 0), where + " axis")
        for i, (hit, alignments) in enumerate(zip(hits, segs)):
            y, here = top + ROWS + i * pitch, "%s hit %d %s" % (where, i + 1, hit["sourceID"])
            colour = next(c for low, c in BANDS if hit["best"]["bitScore"] >= low)
            bars = [(x_of(lo), x_of(hi + 1)) for a in alignments for lo, hi in a]
            for xa, xb in bars:  # every pixel wholly inside a bar, top and bottom row
                for x in range(math.ceil(xa + 0.01), math.floor(xb - 0.01)):
                    counts["bar"] += 1
                    expect(get, x, y, colour, here + " bar")
                    expect(get, x, y + bar - 1, colour, here + " bar")
            for a in alignments:
                for (_, hi), (lo, _) in zip(sorted(a), sorted(a)[1:]):
                    for x in range(math.ceil(x_of(hi + 1) + 0.01), math.floor(x_of(lo) - 0.01)):
                        if all(x + 1 <= xa or x >= xb for xa, xb in bars):
                            counts["gap"] += 1
                            expect(get, x, y + bar // 2, GREY, here + " gap line")
                            expect(get, x, y, WHITE, here + " gap")
            # Labels: ink at a labelled row's middle; none where thin rows have
            # no label and the neighbouring labels' letters do not reach.
            ink = lambda dys: any(min(get(x, y + bar // 2 + dy)) < 100 for x in range(8, LABEL_RIGHT) for dy in dys)
            if i % every == 0:
                counts["label"] += 1
                ink((-1, 0, 1)) or problems.append(here + ": no label beside the row")
            elif (i % every) * pitch >= 8 and (every - i % every) * pitch >= 5:
                counts["no label"] += 1
                ink((0,)) and problems.append(here + ": a label beside a row that should have none")
        top += ROWS + (n * pitch if n else 20) + BOTTOM
        if n < min_rows:
            problems.append("%s: %d hits, want at least %d" % (where, n, min_rows))
    if (width, height) != (800, top):
        problems.append("%s: picture %dx%d, want 800x%d" % (name, width, height, top))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--tool", required=True)
    tool = os.path.abspath(parser.parse_args().tool)
    with tempfile.TemporaryDirectory() as work:
        # Many subjects for one query: 60-letter windows of every example protein.
        seqs, name = {}, None
        for f in sorted(f for f in os.listdir(SEQ) if f.endswith(".aa")) + ["prot_test.lib"]:
            for line in open(os.path.join(SEQ, f), errors="replace"):
                if line.startswith(">"):
                    name = "%s_%d" % (f.split(".")[0], len(seqs))
                    seqs[name] = ""
                elif name:
                    seqs[name] += "".join(c for c in line if c.isalpha())
        with open(os.path.join(work, "windows.fa"), "w") as out:
            for name, seq in seqs.items():
                for i in range(0, max(1, len(seq) - 60), 6):
                    out.write(">%s_%d\n%s\n" % (name, i + 1, seq[i:i + 60]))
        run(["makeblastdb", "-in", os.path.join(SEQ, "prot_test.lib"), "-dbtype", "prot", "-out", "prot"], cwd=work)
        run(["makeblastdb", "-in", "windows.fa", "-dbtype", "prot", "-out", "windows"], cwd=work)
        with open(os.path.join(work, "two.aa"), "w") as out:
            out.write(open(os.path.join(SEQ, "mgstm1.aa")).read() + open(os.path.join(SEQ, "gstt1_drome.aa")).read())
        for db, fmt, extra, min_rows in [("prot", "5", [], 1), ("prot", "6", [], 1),
                                         ("windows", "5", ["-evalue", "5000", "-max_target_seqs", "5000"], 1000)]:
            query = "two.aa" if db == "prot" else os.path.join(SEQ, "mgstm1.aa")
            output = os.path.join(work, "%s-%s.out" % (db, fmt))
            run(["blastp", "-query", query, "-db", db, "-outfmt", fmt, "-out", output] + extra, cwd=work)
            check(tool, output, work, min_rows)
        # A picture that cannot be written: status 1, a message, no JSON.
        r = subprocess.run([tool, "import", "--svg", os.path.join(work, "none", "x.svg"),
                            os.path.join(work, "prot-5.out")], capture_output=True, text=True)
        if r.returncode != 1 or "cannot write" not in r.stderr or r.stdout:
            problems.append("unwritable --svg: status %d, stderr %r" % (r.returncode, r.stderr))
    for problem in problems[:40]:
        print(problem)
    print("pixels checked: %d in bars, %d in gaps; %d labels, %d rows without; %d wrong"
          % (counts["bar"], counts["gap"], counts["label"], counts["no label"], len(problems)))
    if not (counts["bar"] and counts["gap"] and counts["label"] and counts["no label"]):
        problems.append("nothing checked of one kind")
    sys.exit(1 if problems else 0)


main()
