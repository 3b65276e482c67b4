#!/usr/bin/python3
"""A real blastp run's saved XML (examples/data/blastp-gst.xml, or the file
given) read from Python: query by query with its hits, then as a pandas
DataFrame of every alignment."""
import os
import sys

import norvext

path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "data", "blastp-gst.xml")

for query in norvext.search.read(path):
    for hit in query.hits[:3]:
        print(query.id, hit.source_id, hit.best.evalue, len(hit.alignments))

frame = norvext.search.read_frame(path)
strong = frame[frame.evalue < 1e-20]
print(strong[["qseqid", "sseqid", "nident", "length", "qstart", "qend", "bitscore"]].to_string(index=False))
