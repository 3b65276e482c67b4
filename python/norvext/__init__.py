"""NorvExt from Python: the data classes of the suite and its search-output reader.

The data classes (``XBlastParams``, ``DBQuery``, ... every class of
``PERSISTED_CLASSES``) are the C++ classes, with their operations under
snake-case names and the same bytes (``to_bytes``/``from_bytes``), JSON
(``to_json``/``from_json``) and dump text (``dump``) as the C++ library.
``norvext.search`` reads BLAST+ and FASTA36 output; ``norvext.dask`` reads
many outputs as one Dask DataFrame (imported on first use).
"""
import importlib

from ._norvext import (PERSISTED_CLASSES, DBBooleanTerm, DBDatabase, DBField, DBInfo, DBQuery, DBRangeTerm,
                       DBStringTerm, DBTerm, FastAParams, QueryDBInfo, SearchError, Summary, XBlastDBInfo,
                       XBlastParams)
from . import search

__all__ = ["PERSISTED_CLASSES", "SearchError", "search", "dask"] + list(PERSISTED_CLASSES) + ["DBInfo", "DBTerm"]


def __getattr__(name):
    """Imports ``norvext.dask`` when first asked for: Dask is slow to import and not always wanted."""
    if name == "dask":
        return importlib.import_module(".dask", __name__)
    raise AttributeError(f"module {__name__!r} has no attribute {name!r}")
