"""Every data class writes the same bytes, JSON and dump as the C++ library: the wire corpus
(tests/wire) and the golden files of the samples (tests/golden)."""
import glob
import os
import re

import pytest

import norvext

SOURCE_DIR = os.environ["NORVEXT_SOURCE_DIR"]
# The presets in the golden file's order: Python name, C++ name.
PRESETS = [("set_defaults_blastn", "setDefaultsBLASTN"), ("set_defaults_blastx", "setDefaultsBLASTX"),
           ("set_defaults_tblastx", "setDefaultsTBLASTX"), ("set_defaults_blastp", "setDefaultsBLASTP"),
           ("set_defaults_tblastn", "setDefaultsTBLASTN"), ("set_na_defaults", "setNADefaults"),
           ("set_aa_defaults", "setAADefaults")]


def text(path):
    with open(path, encoding="utf-8", errors="surrogateescape", newline="") as f:
        return f.read()


def hex_lines(data):
    """The bytes as the golden files print them: 32 a line, in words of 4."""
    lines = []
    for at in range(0, len(data), 32):
        chunk = data[at:at + 32]
        lines.append("  " + " ".join(chunk[i:i + 4].hex() for i in range(0, len(chunk), 4)) + "\n")
    return "".join(lines)


@pytest.mark.parametrize("name", norvext.PERSISTED_CLASSES)
def test_every_wire_buffer_reads_dumps_and_writes_back_as_in_cpp(name):
    cls = getattr(norvext, name)
    files = [path for path in glob.glob(f"{SOURCE_DIR}/tests/wire/*/*.bin")
             if os.path.basename(path).rsplit("-", 1)[0] == name]
    assert files, f"no buffer of {name}"
    for path in files:
        data = open(path, "rb").read()
        obj = cls.from_bytes(data)
        assert obj.to_bytes() == data, path
        assert obj.dump() == text(path[:-4] + ".dump"), path
        assert cls.from_json(obj.to_json()).to_bytes() == data, path
        assert cls.from_json(obj.to_json(-1)) == obj
    with pytest.raises(ValueError):
        cls.from_bytes(data + b"\0\0\0\0")
    with pytest.raises(ValueError):
        cls.from_bytes(data[:-4])


@pytest.mark.parametrize("name", norvext.PERSISTED_CLASSES)
def test_every_sample_has_its_golden_bytes_and_dump(name):
    cls = getattr(norvext, name)
    golden = text(f"{SOURCE_DIR}/tests/golden/{name}.txt")
    samples = sorted(glob.glob(f"{SOURCE_DIR}/tests/samples/{name}-*.json"))
    assert len(samples) >= 3
    for path in samples:
        index = int(re.search(r"-(\d+)\.json$", path)[1])
        obj = cls.from_json(text(path))
        data = obj.to_bytes()
        assert f"sample {index}: {len(data)} bytes\n{hex_lines(data)}{obj.dump()}" in golden, path


def test_each_preset_sets_the_row_the_golden_file_shows():
    golden = ""
    for preset, cpp in PRESETS:
        params = norvext.XBlastParams.from_json(text(f"{SOURCE_DIR}/tests/samples/XBlastParams-2.json"))
        getattr(params, preset)()
        golden += f"{cpp}:\n" + params.dump(1)
    assert golden == text(f"{SOURCE_DIR}/tests/golden/XBlastParams-presets.txt")


def test_accessors_change_what_is_written():
    params = norvext.XBlastParams()
    before = params.to_bytes()
    for setter, value in (("set_gap_open", -7), ("set_name", "a b\udcffz"), ("do_gapped", False),
                          ("set_na_match_reward", 4), ("set_expect", 1 / 3)):
        getattr(params, setter)(value)
        getter = setter.replace("set_", "get_") if setter.startswith("set_") else setter
        assert getattr(params, getter)() == value
    assert params.to_bytes() != before and norvext.XBlastParams.from_bytes(params.to_bytes()) == params
    assert b"b\xffz" in params.to_bytes()
    description = norvext.DBStringTerm("description", "kinase*", norvext.DBTerm.LIKE)
    date = norvext.DBRangeTerm("date", "2001", "2005")
    query = norvext.DBQuery(7, norvext.DBBooleanTerm(description, norvext.DBBooleanTerm.AND, date))
    query.add(norvext.Summary(7, 42, "title", "caption", "extra"))
    again = norvext.DBQuery.from_bytes(query.to_bytes())
    assert [type(t).__name__ for t in again.get_term().get_terms()] == ["DBStringTerm", "DBRangeTerm"]
    assert [hit.get_id() for hit in again.get_hits()] == [42] and again.get_database() == 7
