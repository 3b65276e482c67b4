"""Many search outputs as one Dask DataFrame, one partition per file.

Each partition is ``norvext.search.read_frame`` of one file, computed by
whatever scheduler the caller has (a ``distributed.Client`` of a
``LocalCluster`` or a real cluster, threads, processes). Every worker must
import norvext and reach the files by the same paths.
"""
import os

import dask
import dask.dataframe

from . import search

__all__ = ["read_frame"]


def read_frame(paths, format=None, fields=None):
    """A Dask DataFrame of every alignment of ``paths``, one partition per file, in the order given.

    ``format`` and ``fields`` are those of norvext.search.read_frame. A file
    with bad output makes the computation raise SearchError.
    """
    paths = [os.fsdecode(os.fspath(path)) for path in paths]
    if not paths:
        raise ValueError("read_frame needs at least one path")
    parts = [dask.delayed(search.read_frame)(path, format=format, fields=fields) for path in paths]
    return dask.dataframe.from_delayed(parts, meta=search.empty_frame())
