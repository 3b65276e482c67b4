#ifndef NORVEXT_SEARCH_QUERYRESULT_H
#define NORVEXT_SEARCH_QUERYRESULT_H

#include <norvext/search/Export.h>

#include <norvext/query/Summary.h>
#include <norvext/results/XBlast.h>

#include <norvseq/SeqAlign.h>

#include <boost/shared_ptr.hpp>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace NorvSearch {

/// One alignment (HSP) as the output gave it: the record that a search takes
/// and what the output says of it besides. Values the output does not give
/// are absent (empty, 0 where so said), never made up. docs/search.md says
/// where each comes from in each format.
struct NORVSEARCH_API AlignmentResult {
    /// Subject id and source id, raw score, E-value, bit score, the query and
    /// subject ranges (start <= end, {0, 0} when the output has none) and the
    /// line segments of row 1: the ungapped blocks in query positions,
    /// ascending (one segment over the query range when the output carries
    /// no alignment).
    Norv::SeqAlign record;
    /// Whether the output gave the raw score; the record's score is 0 when not.
    bool hasScore = false;
    /// +1 or -1: the strand of a nucleotide side; 0 for a protein or when the
    /// output does not tell.
    int queryStrand = 0;
    /// As queryStrand, for the subject.
    int subjectStrand = 0;
    /// The reading frame of a translated side, -3..-1 or 1..3; 0 for a side
    /// that is not translated or whose frame the output does not tell.
    int queryFrame = 0;
    /// As queryFrame, for the subject.
    int subjectFrame = 0;
    /// Columns of the alignment (letters and gaps).
    std::optional<unsigned int> alignmentLength;
    /// Identical columns.
    std::optional<unsigned int> identities;
    /// Columns with a positive score.
    std::optional<unsigned int> positives;
    /// Columns of two different letters.
    std::optional<unsigned int> mismatches;
    /// Gaps opened, in both rows.
    std::optional<unsigned int> gapOpens;
    /// Columns with a gap.
    std::optional<unsigned int> gaps;
    /// The percentage of identical columns, as the output prints it.
    std::optional<double> percentIdentity;
    /// The subject's length in letters.
    std::optional<unsigned int> subjectLength;
    /// The aligned letters of the query and of the subject, '-' for a gap;
    /// empty when the output has none.
    std::string queryLetters;
    /// As queryLetters, for the subject.
    std::string subjectLetters;
};

/// What a search engine reported for one query (for one round of an
/// iterated search), in the form a search record takes it. docs/search.md
/// says what each value holds for each format.
struct NORVSEARCH_API QueryResult {
    /// The query's id: the output's id column, or the first word of the
    /// definition line where BLAST made the id up ("Query_1").
    std::string id;
    /// The rest of the query's definition line; may be empty.
    std::string description;
    /// The query's length in letters; 0 when the output does not say.
    unsigned int length = 0;
    /// The round of an iterated search (PSI-BLAST), from 1; 0 for a search
    /// that is not iterated.
    unsigned int round = 0;
    /// The program as the output names it ("blastx", "FASTX"); empty when
    /// it does not.
    std::string program;
    /// The engine's version as the output gives it ("BLASTX 2.12.0+").
    std::string version;
    /// The database searched, as the output names it.
    std::string database;
    /// The alignments in the order of the output (within a hit, the engine's
    /// best first: docs/search.md says how outputs without raw scores keep
    /// that rank).
    std::vector<AlignmentResult> alignments;
    /// One summary per subject, in the order of first appearance: its source
    /// id, numeric id, title and database name.
    std::vector<boost::shared_ptr<Norv::Summary>> subjects;
};

/// A search record of `result`: the query as a sequence (numeric id 0,
/// source id `id`, display name `description`, no letters), the range
/// {1, length} ({0, 0} when the length is 0), its hits grouped from the
/// alignments' records and the subjects' summaries attached. Hits are
/// grouped by source id, or by numeric id when two subjects share a source
/// id and every subject has a numeric id of its own (a database without
/// parsed ids, whose entries share a first word: the numeric id is then the
/// database's ordinal). No parameters are set.
/// Throws only what allocation throws.
NORVSEARCH_API Norv::XBlast makeSearch(const QueryResult& result);

/// Whether makeSearch() groups `result`'s hits by source id (else by
/// numeric id).
NORVSEARCH_API bool groupsBySourceID(const QueryResult& result);

/// The alignments of each hit of makeSearch(result), in hit order, as places
/// in result.alignments (in output order within a hit), grouped by the key
/// that makeSearch() groups by. Throws only what allocation throws.
NORVSEARCH_API std::vector<std::vector<std::size_t>> hitAlignments(const QueryResult& result);

}  // namespace NorvSearch

#endif
