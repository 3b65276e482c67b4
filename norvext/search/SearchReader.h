#ifndef NORVEXT_SEARCH_SEARCHREADER_H
#define NORVEXT_SEARCH_SEARCHREADER_H

#include <norvext/search/Export.h>
#include <norvext/search/QueryResult.h>
#include <norvext/search/SearchError.h>
#include <norvext/search/SearchFormat.h>

#include <cstddef>
#include <functional>
#include <istream>
#include <string>
#include <vector>

namespace NorvSearch {

namespace internal {
class Input;
}

/// Reads the output of a search engine, query by query, into what a search
/// record takes (QueryResult, makeSearch()). docs/search.md says what each
/// value holds for each format.
class NORVSEARCH_API SearchReader {
public:
    /// A reader for input named `source` in its messages (a file name, "-").
    /// The format is recognised from the content unless setFormat() says it.
    explicit SearchReader(std::string source = "-");

    /// Reads `format` whatever the content looks like.
    void setFormat(SearchFormat format);
    /// The columns of tabular lines, as BLAST field keywords ("std",
    /// "qseqid", "sseqid", "btop", ...; a leading "6" or "7", as in BLAST's
    /// "-outfmt '6 std btop'", is passed over), DIAMOND's ("cigar",
    /// "qseq_gapped", ...) or MMseqs2's ("query", "target", "bits", ...,
    /// taken as MMseqs2's when one of them is its only); words are split at
    /// commas too ("query,target,evalue,bits"). They override a "# Fields:"
    /// or header line of the output. Throws std::invalid_argument for a keyword the
    /// reader does not know, or for a list without a query id, subject id,
    /// E-value or bit score column.
    void setFields(std::vector<std::string> fields);
    /// Reads the stream at most `bytes` at a time (64 KiB unless set; 0
    /// counts as 1). The records do not depend on it; tests set it small to
    /// meet every boundary of the input.
    void setReadSize(std::size_t bytes);

    /// Calls `each` with every query of `in`, in file order, as soon as the
    /// query is read: memory follows one query, not the file. Input that is
    /// gzip data (one member or several) is read decompressed. An empty
    /// input (or one of blanks only) has no query, unless the format was set
    /// to BLAST XML.
    /// Throws SearchError ("SOURCE:LINE[:COLUMN]: problem") for output it
    /// cannot read: unknown format, bad syntax, a missing element or column,
    /// a malformed number or a position past 2^31-1, a truncated file,
    /// corrupt gzip data, XML that declares entities.
    /// Queries passed to `each` before the error stay passed. An exception
    /// thrown by `each` passes through.
    void read(std::istream& in, const std::function<void(QueryResult&&)>& each) const;

    /// Reads the file at `path` as read() reads a stream, following a list
    /// of per-query files: for -outfmt 13 and 14 BLAST writes each query's
    /// report into a file of its own and a list of them into the file that
    /// -out names. A list is recognised by its own signs (an object of
    /// "BlastJSON", an `<xi:include>` first in `<BlastXML2>`), unless the
    /// format is set to one that is neither JSON nor XML2; the files it
    /// lists, which must lie beside it, are read in its order as one
    /// output, each in its own format.
    /// Throws SearchError as read() does, naming the file at fault:
    /// "PATH: cannot open: reason" for a file that cannot be opened,
    /// "PATH:LINE:COLUMN: ..." for a list that does not read or that names
    /// a file with a folder part, "." or "..".
    void readFile(const std::string& path, const std::function<void(QueryResult&&)>& each) const;

    /// Every query of `in`, in file order; throws as read() does.
    std::vector<QueryResult> readAll(std::istream& in) const;

private:
    // read() of `input`, named `source` in messages.
    void readInput(internal::Input& input, const std::string& source,
                   const std::function<void(QueryResult&&)>& each) const;

    std::string m_source;
    bool m_formatGiven = false;
    SearchFormat m_format = SearchFormat::BlastXml;
    std::vector<std::string> m_fields;
    std::size_t m_readSize;
};

}  // namespace NorvSearch

#endif
