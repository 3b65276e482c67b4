#include "PersistCases.h"

#include <norvext/query/DBBooleanTerm.h>
#include <norvext/query/DBRangeTerm.h>
#include <norvext/query/DBStringTerm.h>

#include <boost/make_shared.hpp>

#include <cstdint>
#include <stdexcept>
#include <string>

namespace PersistBench {

namespace {

std::string numbered(const char* prefix, unsigned int number) { return prefix + std::to_string(number); }

Peer::Term twinTerm(const Norv::DBTerm& term) {
    Peer::Term out;
    if (const auto* text = dynamic_cast<const Norv::DBStringTerm*>(&term)) {
        out.kind = 1;
        out.field = text->getField();
        out.fieldName = text->getFieldName();
        out.first = text->getQuery();
        out.compare = text->getCompare();
    } else if (const auto* range = dynamic_cast<const Norv::DBRangeTerm*>(&term)) {
        out.kind = 2;
        out.field = range->getField();
        out.fieldName = range->getFieldName();
        out.first = range->getStart();
        out.second = range->getEnd();
    } else if (const auto* node = dynamic_cast<const Norv::DBBooleanTerm*>(&term)) {
        out.kind = 3;
        out.op = node->getOp();
        for (const auto& child : node->getTerms()) {
            out.children.push_back(twinTerm(*child));
        }
    } else {
        throw std::logic_error("unknown term class");
    }
    return out;
}

std::size_t termCount(const Norv::DBTerm& term) {
    std::size_t count = 1;
    if (const auto* node = dynamic_cast<const Norv::DBBooleanTerm*>(&term)) {
        for (const auto& child : node->getTerms()) {
            count += termCount(*child);
        }
    }
    return count;
}

}  // namespace

Norv::Summary makeSummary() {
    Norv::Summary summary(7, 1041, "Ribosomal protein S6 kinase alpha-1", "KS6A1_HUMAN", "Homo sapiens");
    summary.setDBName("uniprot");
    summary.setSourceDB("swissprot");
    summary.setSourceID("Q15418");
    summary.setOption(3);
    summary.setInitN(12);
    summary.setInit1(1);
    return summary;
}

Norv::DBQuery makeQuery() {
    using Norv::DBTerm;
    const auto description = boost::make_shared<Norv::DBStringTerm>("description", "kinase*", DBTerm::LIKE);
    const auto date = boost::make_shared<Norv::DBRangeTerm>("date", "2001", "2005");
    Norv::DBQuery query(7, boost::make_shared<Norv::DBBooleanTerm>(description, Norv::DBBooleanTerm::AND, date));
    query.setDBSource("swissprot");
    const unsigned int hits = 10000;
    for (unsigned int i = 0; i < hits; ++i) {
        auto hit = boost::make_shared<Norv::Summary>(7, 100000 + i,
                                                     numbered("Serine/threonine-protein kinase ", i).c_str(),
                                                     numbered("KS", i).append("_HUMAN").c_str(), nullptr);
        hit->setSourceDB("swissprot");
        hit->setSourceID(numbered("Q", 10000 + i));
        query.add(hit);
    }
    query.setHitCount(static_cast<int>(hits));
    return query;
}

Norv::QueryDBInfo makeCatalogue() {
    Norv::QueryDBInfo catalogue("Text databases", 500);
    catalogue.setDescription("Databases open to text queries");
    for (unsigned int d = 0; d < 100; ++d) {
        Norv::DBDatabase database(static_cast<int>(d), numbered("database_", d),
                                  numbered("Sequences of collection ", d), numbered("T", d));
        for (unsigned int f = 0; f < 20; ++f) {
            database.add(Norv::DBField(static_cast<int>(f), numbered("F", f),
                                       numbered("Field ", f).append(" of collection ").append(std::to_string(d)),
                                       numbered("f", f)));
        }
        catalogue.add(database);
    }
    return catalogue;
}

Norv::XBlastParams makeParams() {
    Norv::XBlastParams params;
    params.setDefaultsBLASTN();
    params.setName("contig_0042");
    params.setLocator("chr7:1000000-1030000");
    std::string letters(30000, 'A');
    std::uint32_t state = 42;
    for (char& letter : letters) {
        state = state * 1664525u + 1013904223u;  // a fixed pseudo-random sequence
        letter = "ACGT"[state >> 30];
    }
    params.setData(letters.data(), static_cast<unsigned int>(letters.size()));
    return params;
}

Peer::Summary twin(const Norv::Summary& summary) {
    Peer::Summary out;
    out.database = summary.getDatabase();
    out.id = summary.getID();
    out.option = summary.getOption();
    out.initN = summary.getInitN();
    out.init1 = summary.getInit1();
    out.dbName = summary.getDBName();
    out.sourceDB = summary.getSourceDB();
    out.sourceID = summary.getSourceID();
    out.title = summary.getTitle();
    out.caption = summary.getCaption();
    out.extra = summary.getExtra();
    return out;
}

Peer::Query twin(const Norv::DBQuery& query) {
    Peer::Query out;
    out.databases.assign(query.getDatabases().begin(), query.getDatabases().end());
    out.hitCount = query.getHitCount();
    out.dbSource = query.getDBSource();
    out.dbName = query.getDBName();
    out.wildcard = query.isWildcard();
    out.term = twinTerm(*query.getTerm());
    for (const auto& hit : query.getHits()) {
        out.hits.push_back(twin(*hit));
    }
    return out;
}

Peer::Catalogue twin(const Norv::QueryDBInfo& catalogue) {
    Peer::Catalogue out;
    out.name = catalogue.getName();
    out.description = catalogue.getDescription();
    out.limit = catalogue.getLimit();
    for (const Norv::DBDatabase& database : catalogue) {
        Peer::Database db;
        db.name = database.getName();
        db.description = database.getDescription();
        db.id = database.getID();
        db.tag = database.getTag();
        for (const Norv::DBField& field : database) {
            db.fields.push_back(Peer::Field{field.getID(), field.getName(), field.getDescription(), field.getTag()});
        }
        out.databases.push_back(db);
    }
    return out;
}

Peer::BlastParams twin(const Norv::XBlastParams& params) {
    Peer::BlastParams out;
    out.name = params.getName();
    out.locator = params.getLocator();
    out.program = params.getProgram();
    out.database = params.getDatabase();
    out.matrix = params.getMatrix();
    out.expect = params.getExpect();
    out.gapOpen = params.getGapOpen();
    out.gapExtend = params.getGapExtend();
    out.xDropoff = params.getXDropoff();
    out.wordSize = params.getWordSize();
    out.geneticCode = params.getGeneticCode();
    out.geneticCodeDatabase = params.getGeneticCodeDatabase();
    out.limit = params.getLimit();
    out.gapped = params.doGapped();
    out.filter = params.useFilter();
    out.protein = params.isProtein();
    out.translated = params.isTranslated();
    out.naMatchReward = params.getNAMatchReward();
    out.naMismatchPenalty = params.getNAMismatchPenalty();
    out.data = params.getData();
    return out;
}

std::size_t objectCount(const Norv::Summary&) { return 1; }

std::size_t objectCount(const Norv::DBQuery& query) { return 1 + termCount(*query.getTerm()) + query.size(); }

std::size_t objectCount(const Norv::QueryDBInfo& catalogue) {
    std::size_t count = 1;
    for (const Norv::DBDatabase& database : catalogue) {
        count += 1 + database.size();
    }
    return count;
}

std::size_t objectCount(const Norv::XBlastParams&) { return 1; }

}  // namespace PersistBench
