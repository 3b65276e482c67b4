"""BLAST+ and FASTA36 output (BLAST XML, BLAST and FASTA36 tabular; plain or gzipped), read by NorvExt's C++ reader.

A source is a path (``str`` or ``os.PathLike``), a binary file object, or a
list of them, read in turn. Bad output raises ``norvext.SearchError`` with
``source``, ``line`` and ``column``.
"""
import os

import pandas

from . import _norvext
from ._norvext import Alignment, Best, FastAParams, Hit, Query, SearchError, XBlastParams

__all__ = ["read", "read_frame", "svg", "command", "formats", "COLUMNS",
           "Query", "Hit", "Alignment", "Best", "SearchError"]

# The columns of read_frame, as BLAST's tabular keywords, and their dtypes.
COLUMNS = {
    "qseqid": "object", "sseqid": "object", "stitle": "object", "qlen": "Int64", "slen": "Int64",
    "score": "Int64", "evalue": "float64", "bitscore": "float64", "qstart": "Int64", "qend": "Int64",
    "sstart": "Int64", "send": "Int64", "length": "Int64", "pident": "float64", "nident": "Int64",
    "positive": "Int64", "mismatch": "Int64", "gapopen": "Int64", "gaps": "Int64", "qframe": "Int64",
    "sframe": "Int64", "qseq": "object", "sseq": "object",
}


def _items(source):
    """The source as a list of paths (str) and binary file objects."""
    if isinstance(source, (list, tuple)):
        return [item for one in source for item in _items(one)]
    if isinstance(source, (str, bytes, os.PathLike)):
        return [os.fsdecode(os.fspath(source))]
    if hasattr(source, "read"):
        return [source]
    raise TypeError(f"a search source is a path, a binary file object or a list of them, not {type(source).__name__}")


def _fields(fields):
    """The tabular columns as a list of keywords (none: the output's own)."""
    if fields is None:
        return []
    return fields.split() if isinstance(fields, str) else list(fields)


def formats():
    """The names of the formats that ``format=`` takes: "blast-xml", "blast-tab", "fasta-tab"."""
    return _norvext.format_names()


def read(source, format=None, fields=None):
    """An iterator of the queries of ``source``, one at a time, in file order.

    ``format`` names the format (see formats()); without it, each file's own
    content tells. ``fields`` gives the columns of tabular output as BLAST
    keywords ("std qlen slen" or a list), overriding a "# Fields:" line.
    C++ reads on a thread of its own, a few queries ahead, without the GIL.
    Each query has ``id``, ``description``, ``length``, ``round`` and
    ``hits``; each hit ``source_id``, ``title``, ``best`` and ``alignments``;
    each alignment ``score``, ``evalue``, ``bitscore``, ``query_range``,
    ``subject_range``, the strands and frames, counts, letters and
    ``segments``. Raises SearchError when it meets bad output, after the
    queries before it; OSError for a file that does not open.
    """
    return _norvext.read_queries(_items(source), format or "", _fields(fields))


def _frame(columns):
    """The DataFrame of the C++ columns: (name, values, mask), a mask making a nullable Int64 column."""
    data = {name: pandas.arrays.IntegerArray(values, mask) if mask is not None else values
            for name, values, mask in columns}
    # Not DataFrame(data, columns=...): that path turns each Int64 column into objects and back.
    return pandas.DataFrame(data, copy=False)


def read_frame(source, format=None, fields=None):
    """A pandas DataFrame of every alignment of ``source``, one row each, in the order of read().

    The columns are named as BLAST's tabular keywords (see COLUMNS): ids,
    title, lengths, scores, ranges (``sstart`` > ``send`` on a minus strand,
    as BLAST prints them), counts, percent identity, frames and aligned
    letters. A value the output does not give is <NA> (integers), NaN
    (floats) or None (texts). The columns are filled in C++. Raises
    SearchError for bad output, and then returns nothing.
    """
    return _frame(_norvext.frame_columns(_items(source), format or "", _fields(fields)))


def empty_frame():
    """A DataFrame with read_frame's columns and no rows (a Dask meta frame)."""
    return _frame(_norvext.frame_columns([], "", []))


def svg(queries):
    """The picture of ``queries`` (Query objects from read()) as one SVG document, as text."""
    return _norvext.svg(queries)


def command(params, query="", db=None, readable=True, threads=0):
    """The engine command of ``params`` as a list of words for ``subprocess``.

    An XBlastParams gives the BLAST+ command (its program field names the
    program), a FastAParams the FASTA36 one. ``query`` is the query file
    (BLAST+ reads standard input when it is empty), ``db`` replaces the
    database (a BLAST database's prefix, a FASTA file for FASTA36).
    ``readable`` puts in front the options that make the engine write what
    read() reads; ``threads`` the number of threads. Raises ValueError for a
    program that the settings do not describe.
    """
    if isinstance(params, XBlastParams):
        return _norvext.blast_command(params, query, db, readable, threads)
    if isinstance(params, FastAParams):
        return _norvext.fasta_command(params, query, db, readable, threads)
    raise TypeError(f"command() takes XBlastParams or FastAParams, not {type(params).__name__}")
