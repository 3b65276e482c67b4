#!/usr/bin/python3
"""Looks at the pictures of real blastp runs as a person would: `norvext-search
import --svg` draws them, librsvg's rsvg-convert renders them to PNG, and the
pixels are checked where the documented layout (docs/search.md, "Pictures")
puts each segment of the tool's JSON: a bar in the colour of its alignment's
bit score, each alignment of a hit on a row of its own with white between the
rows and a grey bracket joining them, the thin grey line and no bar across an
alignment's gaps, the axis, a label beside each hit's first row and none
beside the others, and the notes of what is not drawn.  Runs: two queries
against prot_test.lib (XML, and tabular without query lengths); one query
against windows of every example protein with -evalue 5000, over a thousand
hits; and a made-up tabular file of 400 queries with up to 160 hits of up to
five alignments each, whose picture must stop within its height and count the
queries left out.  Usage: check_picture.py --tool PATH/norvext-search"""
import argparse, json, math, os, shutil, struct, subprocess, sys, tempfile, zlib

SEQ = "/usr/share/doc/fasta3/examples/seq"
PACKAGE = {"makeblastdb": "ncbi-blast+", "blastp": "ncbi-blast+", "rsvg-convert": "librsvg2-bin"}
LEFT, RIGHT, KEY, AXIS, ROWS, BOTTOM, LABEL_RIGHT, BRACKET = 200, 780, 28, 28, 54, 12, 192, 196
PITCH, BAR, HIT_GAP, NOTE, NO_HITS, FOOTER = 10, 8, 4, 16, 20, 24
MAX_ROWS, MAX_ALIGNMENTS, MAX_HEIGHT = 24, 3, 16000
BANDS = [(200, (255, 0, 0)), (80, (255, 0, 255)), (50, (0, 255, 0)), (40, (0, 0, 255)), (-math.inf, (0, 0, 0))]
WHITE, GREY = (255, 255, 255), (0x99, 0x99, 0x99)
KINDS = ["bar", "row space", "gap", "bracket", "no bracket", "label", "no label", "more alignments", "more hits",
         "queries not drawn"]
problems, counts = [], dict.fromkeys(KINDS, 0)


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


def ink(get, xs, ys):
    """Whether any pixel at xs by ys is dark: text."""
    return any(min(get(x, y)) < 100 for x in xs for y in ys)


def rows_of(alignments):
    """Rows of a hit: one per alignment drawn (one for none), one for the rest."""
    return max(1, min(alignments, MAX_ALIGNMENTS)) + (alignments > MAX_ALIGNMENTS)


def layout(search):
    """The hits a panel draws and its height."""
    hits, drawn, rows = search["hits"], [], 0
    for hit in hits:
        if rows + rows_of(len(hit["alignments"])) > MAX_ROWS:
            break
        rows += rows_of(len(hit["alignments"]))
        drawn.append(hit)
    height = ROWS + BOTTOM + (0 if hits else NO_HITS) + (NOTE if len(drawn) < len(hits) else 0)
    return drawn, height + sum(rows_of(len(h["alignments"])) * PITCH + HIT_GAP for h in drawn)


def check_hit(get, hit, y, x_of, span, where):
    """The rows of one drawn hit, whose first row starts at y."""
    here = "%s hit %s" % (where, hit["sourceID"])
    counts["label"] += 1
    ink(get, range(8, LABEL_RIGHT), (y + 3, y + 4, y + 5)) or problems.append(here + ": no label beside the first row")
    shown = hit["alignments"][:MAX_ALIGNMENTS]
    for k, alignment in enumerate(shown):
        top, colour = y + k * PITCH, next(c for low, c in BANDS if alignment["bitScore"] >= low)
        segs = sorted((max(1, lo), min(span, hi)) for lo, hi in alignment["segments"] if max(1, lo) <= min(span, hi))
        bars = [(x_of(lo), x_of(hi + 1)) for lo, hi in segs]
        for xa, xb in bars:  # every pixel wholly inside a bar: top and bottom, then white below
            for x in range(math.ceil(xa + 0.01), math.floor(xb - 0.01)):
                counts["bar"] += 1
                expect(get, x, top, colour, "%s alignment %d bar" % (here, k + 1))
                expect(get, x, top + BAR - 1, colour, "%s alignment %d bar" % (here, k + 1))
                counts["row space"] += 1
                expect(get, x, top + BAR + 1, WHITE, "%s alignment %d below its bar" % (here, k + 1))
        for (_, hi), (lo, _) in zip(segs, segs[1:]):
            for x in range(math.ceil(x_of(hi + 1) + 0.01), math.floor(x_of(lo) - 0.01)):
                if all(x + 1 <= xa or x >= xb for xa, xb in bars):
                    counts["gap"] += 1
                    expect(get, x, top + BAR // 2, GREY, "%s alignment %d gap line" % (here, k + 1))
                    expect(get, x, top, WHITE, "%s alignment %d gap" % (here, k + 1))
        if k:
            counts["no label"] += 1
            if ink(get, range(8, LABEL_RIGHT), (top + BAR // 2,)):
                problems.append(here + ": a label beside a later row")
    if len(shown) > 1:
        counts["bracket"] += 1
        for dy in range((len(shown) - 1) * PITCH + BAR):
            expect(get, BRACKET, y + dy, GREY, here + " bracket")
    else:
        counts["no bracket"] += 1
        expect(get, BRACKET, y + BAR // 2, WHITE, here + " (one alignment) bracket")
    if len(hit["alignments"]) > MAX_ALIGNMENTS:
        counts["more alignments"] += 1
        top = y + len(shown) * PITCH
        ink(get, range(LEFT, LEFT + 60), range(top + 2, top + BAR)) or problems.append(here + ": no 'more alignments'")


def check(tool, output, work, min_hits, min_not_drawn, options=()):
    name = os.path.basename(output)
    svg, png = os.path.join(work, name + ".svg"), os.path.join(work, name + ".png")
    searches = [json.loads(line) for line in run([tool, "import", "--svg", svg] + list(options) + [output]).splitlines()]
    run(["rsvg-convert", svg, "-o", png])
    width, height, get = png_pixels(png)
    top, not_drawn = KEY, 0
    for search in searches:
        where = "%s %s" % (name, search["query"]["id"])
        drawn, panel = layout(search)
        if not_drawn or top + panel + FOOTER > MAX_HEIGHT:
            not_drawn += 1  # this one and every later one
            continue
        segs = [(lo, hi) for hit in drawn for a in hit["alignments"][:MAX_ALIGNMENTS] for lo, hi in a["segments"]]
        span = search["query"]["length"] or max([1] + [hi for _, hi in segs])
        x_of = lambda position: LEFT + (position - 1) * (RIGHT - LEFT) / span
        for x in range(LEFT, RIGHT, 7):
            expect(get, x, top + AXIS, (0, 0, 0), where + " axis")
        y = top + ROWS
        for hit in drawn:
            check_hit(get, hit, y, x_of, span, where)
            y += rows_of(len(hit["alignments"])) * PITCH + HIT_GAP
        if len(drawn) < len(search["hits"]):
            counts["more hits"] += 1
            ink(get, range(LEFT, LEFT + 60), range(y + 4, y + 12)) or problems.append(where + ": no 'more hits'")
        top += panel
    if not_drawn:
        counts["queries not drawn"] += 1
        if not ink(get, range(8, LEFT), range(top + 6, top + 18)):
            problems.append(name + ": no note of the queries not drawn")
        top += FOOTER
    if max([0] + [len(search["hits"]) for search in searches]) < min_hits:
        problems.append("%s: no query with %d hits" % (name, min_hits))
    if not_drawn < min_not_drawn:
        problems.append("%s: %d queries not drawn, want at least %d" % (name, not_drawn, min_not_drawn))
    if (width, height) != (800, top) or height > MAX_HEIGHT:
        problems.append("%s: picture %dx%d, want 800x%d, at most %d high" % (name, width, height, top, MAX_HEIGHT))


def many_queries(path):
    """Tabular lines with BTOP of 400 made-up queries: up to 160 hits each, of
    one to five alignments each, scattered over the bit-score bands and
    positions, every other alignment with a gap of the subject."""
    with open(path, "w") as out:
        for q in range(400):
            for h in range(10 + q * 37 % 150):
                for a in range(1 + (q + h) % 5):
                    start = 1 + (q * 13 + h * 7 + a * 41) % 300
                    length = 30 + (h * 11 + a * 3) % 80
                    gap = (5 + h % 10) * ((q + h + a) % 2)
                    btop = "%d%s%d" % (length // 3, "A-" * gap, length - length // 3 - gap) if gap else str(length)
                    bits = [30, 45, 60, 120, 250][(q + h + a) % 5] + 0.5
                    out.write("query_%d\tsubject_%d_%d\t90.0\t%d\t1\t%d\t%d\t%d\t1\t%d\t1e-5\t%.1f\t%s\n"
                              % (q, q, h, length, gap > 0, start, start + length - 1, length - gap, bits, btop))


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
        for db, fmt, extra, min_hits in [("prot", "5", [], 1), ("prot", "6", [], 1),
                                         ("windows", "5", ["-evalue", "5000", "-max_target_seqs", "5000"], 1000)]:
            query = "two.aa" if db == "prot" else os.path.join(SEQ, "mgstm1.aa")
            output = os.path.join(work, "%s-%s.out" % (db, fmt))
            run(["blastp", "-query", query, "-db", db, "-outfmt", fmt, "-out", output] + extra, cwd=work)
            check(tool, output, work, min_hits, 0)
        many = os.path.join(work, "many.tab")
        many_queries(many)
        check(tool, many, work, 150, 300, ["--fields", "std btop"])
        # A picture that cannot be written: status 1, a message, no JSON.
        r = subprocess.run([tool, "import", "--svg", os.path.join(work, "none", "x.svg"),
                            os.path.join(work, "prot-5.out")], capture_output=True, text=True)
        if r.returncode != 1 or "cannot write" not in r.stderr or r.stdout:
            problems.append("unwritable --svg: status %d, stderr %r" % (r.returncode, r.stderr))
    for problem in problems[:40]:
        print(problem)
    print("pixels checked: %d in bars, %d below bars, %d in gaps; seen: %s; %d wrong"
          % (counts["bar"], counts["row space"], counts["gap"],
             ", ".join("%d %s" % (counts[k], k) for k in KINDS[3:]), len(problems)))
    missing = [k for k in KINDS if not counts[k]]
    if missing:
        problems.append("nothing checked of: " + ", ".join(missing))
        print(problems[-1])
    sys.exit(1 if problems else 0)


main()
