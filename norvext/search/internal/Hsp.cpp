#include "Hsp.h"

#include "Blocks.h"
#include "Fields.h"

#include <boost/make_shared.hpp>

#include <algorithm>
#include <stdexcept>

namespace NorvSearch {
namespace internal {

Molecule Sides::query() const {
    if (program == nullptr) {
        return Molecule::Either;
    }
    return program->query == Molecule::Either && either ? *either : program->query;
}

Molecule Sides::subject() const {
    if (program == nullptr) {
        return Molecule::Either;
    }
    return program->subject == Molecule::Either && either ? *either : program->subject;
}

std::string_view definitionOf(std::string_view text) {
    const std::string_view definition = trimmed(text);
    return definition == "No definition line" ? std::string_view() : definition;
}

void nameQuery(std::string_view id, std::string_view definition, QueryResult& query) {
    if ((id.empty() || isMadeUpQueryID(id)) && !definition.empty()) {
        splitFirstWord(definition, query.id, query.description);
    } else {
        query.id.assign(id);
        query.description.assign(definition);
    }
}

void nameSubject(std::string_view id, std::string_view definition, Hsp& hsp, std::string& title) {
    hsp.subjectNumber = numberInID(id);
    if (isOrdinalID(id) && !definition.empty()) {
        splitFirstWord(definition, hsp.subjectSourceID, title);
    } else {
        hsp.subjectSourceID.assign(id);
        title.assign(definition);
    }
}

namespace {

// One side's positions as printed, made ascending, with its strand and frame.
struct Side {
    unsigned int lower = 0, upper = 0;
    int strand = 0;
    int frame = 0;
};

Side sideOf(unsigned int from, unsigned int to, int printedFrame, unsigned int length, Molecule molecule) {
    Side side;
    side.lower = std::min(from, to);
    side.upper = std::max(from, to);
    const bool descending = from > to || printedFrame < 0;
    switch (molecule) {
    case Molecule::Protein:
        return side;
    case Molecule::Nucleotide:
        side.strand = descending ? -1 : 1;
        return side;
    case Molecule::Translated:
        side.strand = descending ? -1 : 1;
        if (printedFrame != 0) {
            side.frame = printedFrame;
        } else if (side.lower != 0 && !descending) {
            side.frame = static_cast<int>((side.lower - 1) % 3) + 1;
        } else if (side.lower != 0 && length >= side.upper) {
            // Frame -1 reads from the last nucleotide down.
            side.frame = -(static_cast<int>((length - side.upper) % 3) + 1);
        }
        return side;
    case Molecule::Either:
        // Nothing but a descending range or a frame tells a strand.
        side.strand = descending ? -1 : printedFrame > 0 ? 1 : 0;
        return side;
    }
    return side;
}

bool hasLetters(const Hsp& hsp) { return !hsp.queryLetters.empty() && !hsp.subjectLetters.empty(); }

Blocks alignmentBlocks(const Hsp& hsp, const QueryWalk& walk) {
    if (!hsp.btop.empty()) {
        return blocksFromBtop(hsp.btop, walk);
    }
    return hasLetters(hsp) ? blocksFromLetters(hsp.queryLetters, hsp.subjectLetters, walk)
                           : blocksFromCigar(hsp.cigar, walk);
}

// The ungapped blocks of the alignment in query positions, or one segment
// over the range when the output has no alignment or its letters do not
// fill the range.
Norv::SeqAlign::Segments segmentsOf(const Hsp& hsp, const Side& query, const Sides& sides) {
    const Molecule molecule = sides.query();
    if (query.lower == 0) {
        return {};
    }
    const Norv::SeqAlign::Segments whole{{static_cast<int>(query.lower), static_cast<int>(query.upper)}};
    if (hsp.btop.empty() && !hasLetters(hsp) && hsp.cigar.empty()) {
        return whole;
    }
    const int direction = query.strand < 0 ? -1 : 1;
    QueryWalk walk{direction > 0 ? static_cast<long>(query.lower) : static_cast<long>(query.upper), direction,
                   molecule == Molecule::Translated ? 3 : 1};
    const unsigned long span = query.upper - query.lower + 1UL;
    Blocks blocks = alignmentBlocks(hsp, walk);
    if (sides.program == nullptr && blocks.queryLetters * 3 == span) {
        walk.step = 3;  // an unknown program that translates the query
        blocks = alignmentBlocks(hsp, walk);
    }
    if (static_cast<long>(blocks.queryLetters) * walk.step + blocks.frameshift != static_cast<long>(span)) {
        return whole;
    }
    return std::move(blocks.segments);
}

}  // namespace

void makeAlignment(const Hsp& hsp, const Sides& sides, AlignmentResult& result) {
    const Side query = sideOf(hsp.queryFrom, hsp.queryTo, hsp.queryFrame, hsp.queryLength, sides.query());
    const Side subject = sideOf(hsp.subjectFrom, hsp.subjectTo, hsp.subjectFrame, hsp.subjectLength.value_or(0),
                                sides.subject());
    Norv::SeqAlign& record = result.record;
    record.setSubjectSourceID(hsp.subjectSourceID);
    record.setSubjectID(hsp.subjectNumber);
    record.setScore(hsp.score.value_or(0));
    record.setEValue(hsp.eValue);
    record.setBitScore(hsp.bitScore);
    record.setQueryRange(Norv::Sequence::Range(query.lower, query.upper));
    record.setSubjectRange(Norv::Sequence::Range(subject.lower, subject.upper));
    record.setLineSegs(1, segmentsOf(hsp, query, sides));
    result.hasScore = hsp.score.has_value();
    result.queryStrand = query.strand;
    result.subjectStrand = subject.strand;
    result.queryFrame = query.frame;
    result.subjectFrame = subject.frame;
    result.subjectLength = hsp.subjectLength;
    if (!hsp.queryLetters.empty()) {
        result.queryLetters.assign(hsp.queryLetters);
    }
    if (!hsp.subjectLetters.empty()) {
        result.subjectLetters.assign(hsp.subjectLetters);
    }
}

boost::shared_ptr<Norv::Summary> makeSubject(const Hsp& hsp, std::string_view title, const std::string& database) {
    auto summary = boost::make_shared<Norv::Summary>();
    summary->setID(hsp.subjectNumber);
    summary->setSourceID(hsp.subjectSourceID);
    summary->setTitle(std::string(title));
    summary->setDBName(database);
    return summary;
}

}  // namespace internal
}  // namespace NorvSearch
