"""norvext.search against Biopython's Bio.SearchIO on real blastp output, and its errors."""
import io
import math
import os

import pytest
from Bio import SearchIO

import norvext
from norvext import search
import realruns

SOURCE_DIR = os.environ["NORVEXT_SOURCE_DIR"]
TAB_FIELDS = "7 std qlen slen score nident positive gaps"


@pytest.fixture(scope="module")
def outputs(tmp_path_factory):
    folder = str(tmp_path_factory.mktemp("blastp"))
    queries = realruns.windows()
    return {"blast-xml": realruns.blastp(folder, "all.xml", queries, "5"),
            "blast-tab": realruns.blastp(folder, "all.tab", queries, TAB_FIELDS, compress=True)}


def biopython(path, form):
    """Biopython's reading: per query, its id and per hit its id and (E-value, bit score, ranges) per HSP."""
    options = {"comments": True} if form == "blast-tab" else {}
    opener = __import__("gzip").open if path.endswith(".gz") else open
    with opener(path, "rt") as text:
        return [(query.id, [(hit.id, [(hsp.evalue, hsp.bitscore, (hsp.query_start + 1, hsp.query_end),
                                       (hsp.hit_start + 1, hsp.hit_end)) for hsp in hit.hsps]) for hit in query])
                for query in SearchIO.parse(text, form, **options)]


def ours(source, form):
    return [(query.id, [(hit.source_id, [(a.evalue, a.bitscore, a.query_range, a.subject_range)
                                         for a in hit.alignments]) for hit in query.hits])
            for query in search.read(source, format=form)]


@pytest.mark.parametrize("form", ["blast-xml", "blast-tab"])
def test_queries_hits_and_alignments_agree_with_biopython(outputs, form):
    theirs = biopython(outputs[form], form)
    mine = ours(outputs[form], form)
    assert len(theirs) == len(realruns.windows()) and sum(not hits for _, hits in theirs) > 0
    assert sum(len(hsps) > 1 for _, hits in theirs for _, hsps in hits) > 0, "no hit with several alignments"
    assert mine == theirs
    # The same run's XML and table, read by the same code, give the same records within print precision.
    if form == "blast-tab":
        xml = {query.id: query for query in search.read(outputs["blast-xml"])}
        for query in search.read(outputs[form]):
            assert query.length == xml[query.id].length or not query.hits
            for hit, other in zip(query.hits, xml[query.id].hits):
                assert hit.title == "" and hit.length == other.length and hit.best.score == other.best.score
                assert [(a.identities, a.positives, a.gaps, a.segments[0][0]) for a in hit.alignments] == \
                       [(a.identities, a.positives, a.gaps, a.segments[0][0]) for a in other.alignments]


def test_a_frame_holds_every_alignment_as_read_gives_it(outputs):
    for form, path in outputs.items():
        frame = search.read_frame(path)
        rows = [(q.id, h.source_id, h.title or None, a.evalue, a.bitscore, a.score, a.length, a.identities,
                 a.query_range) for q in search.read(path) for h in q.hits for a in h.alignments]
        assert list(frame.columns) == list(search.COLUMNS)
        assert [str(t) for t in frame.dtypes] == list(search.COLUMNS.values())
        assert list(zip(frame.qseqid, frame.sseqid, frame.stitle, frame.evalue, frame.bitscore, frame.score,
                        frame.length, frame.nident, zip(frame.qstart, frame.qend))) == rows
    # What the table does not carry is missing, not made up.
    frame = search.read_frame(outputs["blast-tab"])
    assert frame.stitle.isna().all() and frame.qframe.isna().all() and not frame.pident.isna().any()
    assert search.read_frame(outputs["blast-xml"]).pident.isna().all()


def test_a_file_object_a_list_and_a_gzip_read_as_the_path(outputs):
    path = outputs["blast-tab"]
    expected = ours(path, None)
    with open(path, "rb") as f:
        assert ours(f, None) == expected
    # Left after its first query, the reader stops (it may be waiting for room or for the GIL).
    for source in (path, open(path, "rb"), outputs["blast-xml"]):
        assert next(search.read(source)).id == expected[0][0]
    assert ours([path, io.BytesIO(open(path, "rb").read())], None) == expected + expected
    assert ours(os.fsencode(path), "blast-tab") == expected


def bad_inputs():
    """(file, the message's start "SOURCE:LINE[:COLUMN]: ...", or a piece of it) of tests/search/bad-input.txt."""
    lines = open(f"{SOURCE_DIR}/tests/search/bad-input.txt", encoding="utf-8").read().splitlines()
    return [tuple(line.split("\t")) for line in lines if not line.startswith("#")]


@pytest.mark.parametrize("name, message", bad_inputs())
def test_bad_output_raises_search_error_with_its_place(monkeypatch, name, message):
    monkeypatch.chdir(f"{SOURCE_DIR}/tests/search")
    path = "bad/" + name
    for source in (path, open(path, "rb")):
        with pytest.raises(norvext.SearchError) as caught:
            list(search.read(source))
        error = caught.value
        assert message in str(error) and error.source == path
        where = [error.source] + [str(n) for n in (error.line, error.column)[:1 + bool(error.column)] if error.line]
        assert str(error) == ":".join(where) + ": " + error.problem
        # The table gives the line and column where it gives a place.
        place = [part for part in message.split(": ")[0].split(":") if part]
        if place[0] == path:
            assert where[:len(place)] == place
        with pytest.raises(norvext.SearchError):
            search.read_frame(path)


def test_queries_before_an_error_are_given_and_the_error_comes_where_it_is(outputs):
    good = b"".join(line for line in __import__("gzip").open(outputs["blast-tab"]) if not line.startswith(b"#"))
    count = len({line.split(b"\t")[0] for line in good.splitlines()})
    bad = good + b"q\ts\t1\t2\n"
    got = []
    with pytest.raises(norvext.SearchError) as caught:
        for query in search.read(io.BytesIO(bad), format="blast-tab", fields=TAB_FIELDS):
            got.append(query.id)
    # The last good query ends at the next query's line: the bad one.
    assert len(got) == count - 1 and caught.value.line == good.count(b"\n") + 1 and caught.value.source == "-"


def test_the_picture_and_the_command():
    path = f"{SOURCE_DIR}/tests/search/inputs/blastx-minus.xml"
    picture = search.svg(search.read(path))
    assert picture.startswith("<svg") or picture.startswith("<?xml")
    assert all(query.id in picture for query in search.read(path))
    params = norvext.XBlastParams()
    params.set_defaults_blastp()
    words = search.command(params, query="q.aa", db="prot")
    assert words[0] == "blastp" and words[words.index("-db") + 1] == "prot" and "5" in words
    params.set_program("NOPE")
    with pytest.raises(ValueError):
        search.command(params, query="q.aa")
    assert not math.isnan(search.read_frame(path).bitscore.sum())
