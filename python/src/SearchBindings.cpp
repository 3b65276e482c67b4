// The search-output side of the module: the queries of BLAST+ and FASTA36
// output as Python objects (read), as columns for a DataFrame
// (frame_columns), the picture of queries, the engine's command line, and
// SearchError.
#include "python/src/QueryStream.h"

#include <norvext/search/EngineCommand.h>
#include <norvext/search/SearchError.h>
#include <norvext/search/SearchPicture.h>
#include <norvext/query/Summary.h>

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>

namespace NorvPython {
namespace {

using namespace pybind11::literals;
using Data = std::shared_ptr<const QueryData>;

// A position, length or frame of 0 is none.
py::object positive(long long value) { return value == 0 ? py::object(py::none()) : py::object(py::int_(value)); }
template <class T>
py::object optional(const std::optional<T>& value) {
    return value ? py::cast(*value) : py::none();
}
py::object lettersOf(const std::string& text) {
    return text.empty() ? py::object(py::none()) : py::object(textOf(text));
}
py::object rangeOf(const Norv::Sequence::Range& range) {
    return range.start == 0 && range.end == 0 ? py::object(py::none())
                                              : py::object(py::make_tuple(range.start, range.end));
}

struct Alignment {
    Data data;
    std::size_t index;
    const NorvSearch::AlignmentResult& get() const { return data->result.alignments[index]; }
};

// The best alignment's scores of a hit, as the engine ranks it.
struct Best {
    std::optional<int> score;
    double evalue;
    double bitscore;
};

struct Hit {
    Data data;
    std::size_t index;
    const Norv::XBlastHit& get() const { return data->search.getHit(static_cast<unsigned int>(index)); }
    const std::vector<std::size_t>& places() const { return data->places[index]; }
};

struct Query {
    Data data;
};

// The Python iterator over a source's queries.
class QueryIterator {
public:
    explicit QueryIterator(std::unique_ptr<SearchSource> source)
        : m_source(std::move(source)), m_stream(std::make_unique<QueryStream>(*m_source)) {}
    ~QueryIterator() {
        py::gil_scoped_release release;  // the reader may wait for the GIL to read a file object
        m_stream.reset();
    }
    Query next() {
        Data query;
        {
            py::gil_scoped_release release;
            query = m_stream->next();
        }
        if (!query) {
            throw py::stop_iteration();
        }
        return Query{std::move(query)};
    }

private:
    std::unique_ptr<SearchSource> m_source;
    std::unique_ptr<QueryStream> m_stream;
};

void bindRecords(py::module_& m) {
    py::class_<Best>(m, "Best", "The scores of a hit's best alignment, as the engine ranks it.")
        .def_property_readonly(
            "score", [](const Best& self) { return optional(self.score); },
            "The raw score; None when the output gives none.")
        .def_readonly("evalue", &Best::evalue, "The E-value.")
        .def_readonly("bitscore", &Best::bitscore, "The bit score.");

    py::class_<Alignment>(m, "Alignment", "One alignment (HSP) as the output gave it; None where it says nothing.")
        .def_property_readonly(
            "score",
            [](const Alignment& self) {
                return self.get().hasScore ? py::object(py::int_(self.get().record.getScore())) : py::none();
            },
            "The raw score, or None.")
        .def_property_readonly(
            "evalue", [](const Alignment& self) { return self.get().record.getEValue(); }, "The E-value.")
        .def_property_readonly(
            "bitscore", [](const Alignment& self) { return self.get().record.getBitScore(); }, "The bit score.")
        .def_property_readonly(
            "query_range", [](const Alignment& self) { return rangeOf(self.get().record.getQueryRange()); },
            "(start, end) on the query, start <= end, from 1; or None.")
        .def_property_readonly(
            "subject_range", [](const Alignment& self) { return rangeOf(self.get().record.getSubjectRange()); },
            "(start, end) on the subject, start <= end, from 1; or None.")
        .def_property_readonly(
            "query_strand", [](const Alignment& self) { return positive(self.get().queryStrand); },
            "+1 or -1 for a nucleotide query; None for a protein or when not told.")
        .def_property_readonly(
            "subject_strand", [](const Alignment& self) { return positive(self.get().subjectStrand); },
            "+1 or -1 for a nucleotide subject; None for a protein or when not told.")
        .def_property_readonly(
            "query_frame", [](const Alignment& self) { return positive(self.get().queryFrame); },
            "The reading frame of a translated query, -3..-1 or 1..3; else None.")
        .def_property_readonly(
            "subject_frame", [](const Alignment& self) { return positive(self.get().subjectFrame); },
            "The reading frame of a translated subject, -3..-1 or 1..3; else None.")
        .def_property_readonly(
            "length", [](const Alignment& self) { return optional(self.get().alignmentLength); },
            "Columns of the alignment, or None.")
        .def_property_readonly(
            "identities", [](const Alignment& self) { return optional(self.get().identities); },
            "Identical columns, or None.")
        .def_property_readonly(
            "positives", [](const Alignment& self) { return optional(self.get().positives); },
            "Columns with a positive score, or None.")
        .def_property_readonly(
            "mismatches", [](const Alignment& self) { return optional(self.get().mismatches); },
            "Columns of two different letters, or None.")
        .def_property_readonly(
            "gap_opens", [](const Alignment& self) { return optional(self.get().gapOpens); },
            "Gaps opened in both rows, or None.")
        .def_property_readonly(
            "gaps", [](const Alignment& self) { return optional(self.get().gaps); }, "Columns with a gap, or None.")
        .def_property_readonly(
            "percent_identity", [](const Alignment& self) { return optional(self.get().percentIdentity); },
            "The percentage of identical columns as the output prints it, or None.")
        .def_property_readonly(
            "query_seq", [](const Alignment& self) { return lettersOf(self.get().queryLetters); },
            "The aligned query letters, '-' for a gap; or None.")
        .def_property_readonly(
            "subject_seq", [](const Alignment& self) { return lettersOf(self.get().subjectLetters); },
            "The aligned subject letters, '-' for a gap; or None.")
        .def_property_readonly(
            "segments",
            [](const Alignment& self) {
                Norv::SeqAlign::Segments segments;
                self.get().record.getLineSegs(segments, 1, false, false);
                return segments;
            },
            "The ungapped blocks as (from, to) query positions, ascending.");

    py::class_<Hit>(m, "Hit", "The alignments of one subject, best first as the engine ranks them.")
        .def_property_readonly(
            "id", [](const Hit& self) { return self.get().getID(); },
            "The subject's numeric id (0 when the output gives none).")
        .def_property_readonly(
            "source_id", [](const Hit& self) { return textOf(self.get().getSourceID()); },
            "The subject's id as the output gives it.")
        .def_property_readonly(
            "title",
            [](const Hit& self) {
                const auto& summary = self.get().getSummary();
                return textOf(summary ? summary->getTitle() : std::string());
            },
            "The subject's definition line; may be empty.")
        .def_property_readonly(
            "length",
            [](const Hit& self) {
                std::optional<unsigned int> length;
                for (const std::size_t place : self.places()) {
                    length = length ? length : self.data->result.alignments[place].subjectLength;
                }
                return optional(length);
            },
            "The subject's length in letters, or None.")
        .def_property_readonly(
            "best",
            [](const Hit& self) {
                const Norv::XBlastHit& hit = self.get();
                const bool scored =
                    !self.places().empty() && self.data->result.alignments[self.places().front()].hasScore;
                return Best{scored ? std::optional<int>(hit.getScore()) : std::nullopt, hit.getEValue(),
                            hit.getBitScore()};
            },
            "The scores of the best alignment (score, evalue, bitscore).")
        .def_property_readonly(
            "alignments",
            [](const Hit& self) {
                py::list alignments;
                for (const std::size_t place : self.places()) {
                    alignments.append(Alignment{self.data, place});
                }
                return alignments;
            },
            "The alignments, in output order (a new list each time).");

    py::class_<Query>(m, "Query", "What the engine reported for one query (one round of an iterated search).")
        .def_property_readonly(
            "id", [](const Query& self) { return textOf(self.data->result.id); }, "The query's id.")
        .def_property_readonly(
            "description", [](const Query& self) { return textOf(self.data->result.description); },
            "The rest of the query's definition line; may be empty.")
        .def_property_readonly(
            "length", [](const Query& self) { return positive(self.data->result.length); },
            "The query's length in letters, or None.")
        .def_property_readonly(
            "round", [](const Query& self) { return positive(self.data->result.round); },
            "The round of an iterated search (PSI-BLAST), from 1; None otherwise.")
        .def_property_readonly(
            "program", [](const Query& self) { return lettersOf(self.data->result.program); },
            "The program as the output names it, or None.")
        .def_property_readonly(
            "version", [](const Query& self) { return lettersOf(self.data->result.version); },
            "The engine's version as the output gives it, or None.")
        .def_property_readonly(
            "database", [](const Query& self) { return lettersOf(self.data->result.database); },
            "The database searched as the output names it, or None.")
        .def_property_readonly(
            "hits",
            [](const Query& self) {
                py::list hits;
                for (std::size_t i = 0; i < self.data->places.size(); ++i) {
                    hits.append(Hit{self.data, i});
                }
                return hits;
            },
            "The hits, one per subject, in the engine's order (a new list each time).");

    py::class_<QueryIterator>(m, "QueryIterator",
                              "The queries of search output, read one at a time on a thread of C++.")
        .def(
            "__iter__", [](py::object self) { return self; }, "The iterator itself.")
        .def("__next__", &QueryIterator::next, "The next query; raises SearchError where the output is bad.");
}

// One nullable integer column: values and a mask (True: missing).
struct IntColumn {
    const char* name;
    std::vector<std::int64_t> values;
    std::vector<std::uint8_t> missing;
    void add(long long value, bool none) {
        values.push_back(none ? 0 : value);
        missing.push_back(none);
    }
    template <class T>
    void add(const std::optional<T>& value) {
        add(value ? static_cast<long long>(*value) : 0, !value);
    }
};

// Texts in runs: rows of one query or one hit share their id, so a run
// keeps one copy of it (and Python one str).
struct TextColumn {
    const char* name;
    bool emptyIsNone;
    std::vector<std::string> values;
    std::vector<std::size_t> runEnds;
    void add(const std::string& text) {
        if (!values.empty() && values.back() == text) {
            ++runEnds.back();
            return;
        }
        const std::size_t end = runEnds.empty() ? 1 : runEnds.back() + 1;
        values.push_back(text);
        runEnds.push_back(end);
    }
};

struct RealColumn {
    const char* name;
    std::vector<double> values;
};

// The rows of every alignment, column by column, filled without the GIL.
struct FrameColumns {
    TextColumn qseqid{"qseqid", false, {}, {}}, sseqid{"sseqid", false, {}, {}}, stitle{"stitle", true, {}, {}};
    IntColumn qlen{"qlen", {}, {}}, slen{"slen", {}, {}}, score{"score", {}, {}};
    RealColumn evalue{"evalue", {}}, bitscore{"bitscore", {}};
    IntColumn qstart{"qstart", {}, {}}, qend{"qend", {}, {}}, sstart{"sstart", {}, {}}, send{"send", {}, {}};
    IntColumn length{"length", {}, {}}, nident{"nident", {}, {}}, positive{"positive", {}, {}};
    IntColumn mismatch{"mismatch", {}, {}}, gapopen{"gapopen", {}, {}}, gaps{"gaps", {}, {}};
    RealColumn pident{"pident", {}};
    IntColumn qframe{"qframe", {}, {}}, sframe{"sframe", {}, {}};
    TextColumn qseq{"qseq", true, {}, {}}, sseq{"sseq", true, {}, {}};

    // Takes in the rows of `result`, hit by hit as read() gives them. The
    // titles are those of makeSearch()'s hits, whose order hitAlignments()
    // keeps; without a title in the output (most tables) the record is not
    // made, which would cost a quarter of the whole.
    void add(const NorvSearch::QueryResult& result) {
        const bool titled = std::any_of(result.subjects.begin(), result.subjects.end(),
                                        [](const auto& subject) { return subject && !subject->getTitle().empty(); });
        const Norv::XBlast search = titled ? NorvSearch::makeSearch(result) : Norv::XBlast();
        const std::vector<std::vector<std::size_t>> hits = NorvSearch::hitAlignments(result);
        static const std::string s_none;
        for (std::size_t h = 0; h < hits.size(); ++h) {
            const std::vector<std::size_t>& places = hits[h];
            const auto* summary = titled ? search.getHit(static_cast<unsigned int>(h)).getSummary().get() : nullptr;
            const std::string& title = summary != nullptr ? summary->getTitle() : s_none;
            for (const std::size_t place : places) {
                const NorvSearch::AlignmentResult& a = result.alignments[place];
                const Norv::SeqAlign& record = a.record;
                qseqid.add(result.id);
                sseqid.add(record.getSubjectSourceID());
                stitle.add(title);
                qlen.add(result.length, result.length == 0);
                slen.add(a.subjectLength);
                score.add(record.getScore(), !a.hasScore);
                evalue.values.push_back(record.getEValue());
                bitscore.values.push_back(record.getBitScore());
                const Norv::Sequence::Range& q = record.getQueryRange();
                const Norv::Sequence::Range& s = record.getSubjectRange();
                qstart.add(q.start, q.start == 0);
                qend.add(q.end, q.end == 0);
                // BLAST's sstart > send for the minus strand of the subject.
                const bool minus = a.subjectStrand < 0 || a.subjectFrame < 0;
                sstart.add(minus ? s.end : s.start, s.start == 0);
                send.add(minus ? s.start : s.end, s.end == 0);
                length.add(a.alignmentLength);
                nident.add(a.identities);
                positive.add(a.positives);
                mismatch.add(a.mismatches);
                gapopen.add(a.gapOpens);
                gaps.add(a.gaps);
                pident.values.push_back(a.percentIdentity ? *a.percentIdentity
                                                          : std::numeric_limits<double>::quiet_NaN());
                qframe.add(a.queryFrame, a.queryFrame == 0);
                sframe.add(a.subjectFrame, a.subjectFrame == 0);
                qseq.add(a.queryLetters);
                sseq.add(a.subjectLetters);
            }
        }
    }
};

// (name, values, mask): numpy arrays for numbers (mask None for floats),
// a list of str (None for a missing one) for texts.
py::tuple columnOf(const IntColumn& column) {
    py::array_t<std::int64_t> values(static_cast<py::ssize_t>(column.values.size()));
    std::copy(column.values.begin(), column.values.end(), values.mutable_data());
    py::array_t<bool> mask(static_cast<py::ssize_t>(column.missing.size()));
    std::copy(column.missing.begin(), column.missing.end(), mask.mutable_data());
    return py::make_tuple(column.name, values, mask);
}

py::tuple columnOf(const RealColumn& column) {
    py::array_t<double> values(static_cast<py::ssize_t>(column.values.size()));
    std::copy(column.values.begin(), column.values.end(), values.mutable_data());
    return py::make_tuple(column.name, values, py::none());
}

py::tuple columnOf(const TextColumn& column) {
    // An array of objects, which pandas takes as it is; a list it would
    // scan to infer a type.
    const std::size_t rows = column.runEnds.empty() ? 0 : column.runEnds.back();
    py::array values(py::dtype("O"), std::vector<py::ssize_t>{static_cast<py::ssize_t>(rows)});
    auto** cells = static_cast<PyObject**>(values.mutable_data());
    std::size_t row = 0;
    for (std::size_t run = 0; run < column.values.size(); ++run) {
        const std::string& text = column.values[run];
        const py::object cell = column.emptyIsNone && text.empty() ? py::object(py::none()) : py::object(textOf(text));
        for (; row < column.runEnds[run]; ++row) {
            Py_XDECREF(cells[row]);
            cells[row] = cell.inc_ref().ptr();
        }
    }
    return py::make_tuple(column.name, values, py::none());
}

py::list frameColumns(const py::list& items, const std::string& format, const std::vector<std::string>& fields) {
    SearchSource source(items, format, fields);
    FrameColumns c;
    {
        py::gil_scoped_release release;
        source.read([&c](NorvSearch::QueryResult&& result) { c.add(result); });
    }
    py::list columns;
    for (const py::tuple& column :
         {columnOf(c.qseqid),   columnOf(c.sseqid),   columnOf(c.stitle),   columnOf(c.qlen),   columnOf(c.slen),
          columnOf(c.score),    columnOf(c.evalue),   columnOf(c.bitscore), columnOf(c.qstart), columnOf(c.qend),
          columnOf(c.sstart),   columnOf(c.send),     columnOf(c.length),   columnOf(c.pident), columnOf(c.nident),
          columnOf(c.positive), columnOf(c.mismatch), columnOf(c.gapopen),  columnOf(c.gaps),   columnOf(c.qframe),
          columnOf(c.sframe),   columnOf(c.qseq),     columnOf(c.sseq)}) {
        columns.append(column);
    }
    return columns;
}

std::vector<std::string> commandOf(const NorvSearch::EngineCommand& built, bool readable, unsigned threads) {
    NorvSearch::EngineCommand command = built;
    if (readable) {
        command.addReadableOutput();
    }
    if (threads != 0) {
        command.addThreads(threads);
    }
    std::vector<std::string> words{command.program};
    words.insert(words.end(), command.arguments.begin(), command.arguments.end());
    return words;
}

void bindFunctions(py::module_& m) {
    m.def(
        "read_queries",
        [](const py::list& items, const std::string& format, const std::vector<std::string>& fields) {
            return std::make_unique<QueryIterator>(std::make_unique<SearchSource>(items, format, fields));
        },
        "items"_a, "format"_a, "fields"_a,
        "An iterator of the queries of `items` (paths as str, binary file objects), read in turn; `format` "
        "is a format name or empty, `fields` the tabular columns or empty.");
    m.def("frame_columns", &frameColumns, "items"_a, "format"_a, "fields"_a,
          "Every alignment of `items` as columns: a list of (name, values, mask), numpy arrays filled "
          "in C++ (texts as objects; mask: a bool array of missing values, or None).");
    m.def(
        "svg",
        [](const py::iterable& queries) {
            NorvSearch::SearchPicture picture;
            for (const py::handle item : queries) {
                picture.add(item.cast<const Query&>().data->search);
            }
            return textOf(picture.toSvg());
        },
        "queries"_a, "The picture of `queries` (from read()) as one SVG document.");
    m.def(
        "blast_command",
        [](const Norv::XBlastParams& params, const std::string& query, py::object db, bool readable, unsigned threads) {
            Norv::XBlastParams settings = params;
            if (!db.is_none()) {
                settings.setDatabase(bytesOf(db));
            }
            try {
                return commandOf(NorvSearch::EngineCommand::blast(settings, query), readable, threads);
            } catch (const std::invalid_argument& e) {
                throw py::value_error(e.what());
            }
        },
        "params"_a, "query"_a, "db"_a, "readable"_a, "threads"_a, "The BLAST+ command of `params` as a list of words.");
    m.def(
        "fasta_command",
        [](const Norv::FastAParams& params, const std::string& query, py::object db, bool readable, unsigned threads) {
            Norv::FastAParams settings = params;
            if (!db.is_none()) {
                settings.setDatabase(bytesOf(db));
            }
            try {
                return commandOf(NorvSearch::EngineCommand::fasta(settings, query), readable, threads);
            } catch (const std::invalid_argument& e) {
                throw py::value_error(e.what());
            }
        },
        "params"_a, "query"_a, "db"_a, "readable"_a, "threads"_a,
        "The FASTA36 command of `params` as a list of words.");
    m.def("format_names", &NorvSearch::formatNames, "The names of the formats the reader takes.");
}

void bindErrors(py::module_& m) {
    static PyObject* s_searchError = PyErr_NewExceptionWithDoc(
        "norvext.SearchError",
        "Search output that cannot be read. Attributes: source (the file's name as given, or the file "
        "object's name, '-' without one), line and column (from 1; 0 when not known) and problem.",
        PyExc_ValueError, nullptr);
    if (s_searchError == nullptr) {
        throw py::error_already_set();
    }
    m.attr("SearchError") = py::handle(s_searchError);
    py::register_exception_translator([](std::exception_ptr error) {
        try {
            if (error) {
                std::rethrow_exception(error);
            }
        } catch (const NorvSearch::SearchError& e) {
            py::object instance = py::reinterpret_borrow<py::object>(s_searchError)(textOf(e.what()));
            instance.attr("source") = textOf(e.source());
            instance.attr("line") = e.line();
            instance.attr("column") = e.column();
            instance.attr("problem") = textOf(e.problem());
            PyErr_SetObject(s_searchError, instance.ptr());
        } catch (const OpenError& e) {
            errno = e.code;
            PyErr_SetFromErrnoWithFilenameObject(PyExc_OSError, textOf(e.what()).ptr());
        }
    });
}

}  // namespace

void bindSearch(py::module_& module) {
    bindErrors(module);
    bindRecords(module);
    bindFunctions(module);
}

}  // namespace NorvPython
