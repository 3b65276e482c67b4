// Writes the starting corpus of every fuzz target: the bytes of real objects,
// one file each, under <dir>/<target>/.
#include <norvext/NorvExt.h>
#include <norvutil/AlignedBuf.h>

#include <boost/make_shared.hpp>

#include <cstdio>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <sys/stat.h>

namespace {

std::string g_root;

void save(const std::string& target, const std::string& name, const std::function<void(Norv::AlignedBuf&)>& fill) {
    const std::string dir = g_root + "/" + target;
    ::mkdir(dir.c_str(), 0755);
    Norv::AlignedBuf buf;
    fill(buf);
    std::ofstream out(dir + "/" + name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(buf.bytes().data()), static_cast<std::streamsize>(buf.size()));
}

void summaries() {
    save("summary", "default", [](Norv::AlignedBuf& buf) { Norv::Summary().write(buf); });
    save("summary", "filled", [](Norv::AlignedBuf& buf) {
        Norv::Summary s(7, 42, "Insulin precursor", "INS_HUMAN", "extra");
        s.setDBName("swissprot");
        s.setSourceDB("sp");
        s.setSourceID(std::string("P0\0" "1308", 7));
        s.setOption(1);
        s.setInitN(2);
        s.setInit1(3);
        s.write(buf);
    });
}


void xblastParams() {
    save("xblast_params", "default", [](Norv::AlignedBuf& buf) { Norv::XBlastParams().write(buf); });
    save("xblast_params", "blastp", [](Norv::AlignedBuf& buf) {
        Norv::XBlastParams p;
        p.setAADefaults();
        p.setName("sp|P01308|INS_HUMAN");
        p.setData("MALWMRLLPLLALLALWGPDPAAA", 24);
        p.write(buf);
    });
    save("xblast_params", "blastn_rna", [](Norv::AlignedBuf& buf) {
        Norv::XBlastParams p;
        p.setNADefaults();
        p.setLocator("chr1:100-140");
        p.setGapOpen(-3);
        p.setNAMatchReward(1);
        p.setNAMismatchPenalty(3);
        p.data().assign({'A', 'C', 'G', 'U', 'u'});  // the U is fixed on reading
        p.write(buf);
    });
}

void fastaParams() {
    save("fasta_params", "default", [](Norv::AlignedBuf& buf) { Norv::FastAParams().write(buf); });
    save("fasta_params", "filled", [](Norv::AlignedBuf& buf) {
        Norv::FastAParams p;
        p.setDatabase("swissprot");
        p.setAlgorithm("ssearch");
        p.setOptimization("opt");
        p.setTranslation("none");
        p.setExpect(0.001);
        p.setDatabaseType(-2);
        p.setOutputConstraint(3);
        p.setShiftValue(4);
        p.setLimit(100);
        p.setWordSize(2);
        p.setOptimizationThreshold(28);
        p.setEarliest(-1);
        p.useEarliest(true);
        p.setGapCreate(10);
        p.setGapExt(2);
        p.setMatrix("BLOSUM50");
        p.useMatrixDiagonals(true);
        p.useSmithWaterman(true);
        p.data().assign({'M', 'K', 'T', 'A', 'Y'});
        p.write(buf);
    });
}

Norv::DBDatabase embl() {
    Norv::DBDatabase db(4, "EMBL", "nucleotide entries", "EM");
    db.add(Norv::DBField(1, "ID", "entry id", "id"));
    db.add(Norv::DBField(2, "DE", "description", "de"));
    db.add(Norv::DBField(-1, std::string("K\0W", 3), "keywords", "kw"));
    return db;
}

void catalogue() {
    save("db_field", "default", [](Norv::AlignedBuf& buf) { Norv::DBField().write(buf); });
    save("db_field", "filled", [](Norv::AlignedBuf& buf) { Norv::DBField(12, "AC", "accession", "ac").write(buf); });
    save("db_database", "empty", [](Norv::AlignedBuf& buf) { Norv::DBDatabase().write(buf); });
    save("db_database", "embl", [](Norv::AlignedBuf& buf) { embl().write(buf); });
    save("query_db_info", "empty", [](Norv::AlignedBuf& buf) { Norv::QueryDBInfo().write(buf); });
    save("query_db_info", "two_databases", [](Norv::AlignedBuf& buf) {
        Norv::QueryDBInfo cat("text databases", 250);
        cat.setDescription("every database that text queries reach");
        cat.add(embl());
        Norv::DBDatabase sw(1, "SWISSPROT", "protein entries", "SW");
        sw.add(Norv::DBField(1, "ID", "entry id", "id"));
        cat.add(sw);
        cat.write(buf);
    });
    save("xblast_db_info", "default", [](Norv::AlignedBuf& buf) { Norv::XBlastDBInfo().write(buf); });
    save("xblast_db_info", "filled", [](Norv::AlignedBuf& buf) {
        Norv::XBlastDBInfo("nr", "non-redundant proteins", 4294967295u, 1234567, true).write(buf);
    });
}

boost::shared_ptr<Norv::DBTerm> stringTerm(int field, const std::string& query, Norv::DBTerm::Compare compare) {
    return boost::make_shared<Norv::DBStringTerm>(field, query, compare);
}

// AND(a string term, OR(a range term, a string term named by its field name)).
boost::shared_ptr<Norv::DBTerm> tree() {
    const auto range = boost::make_shared<Norv::DBRangeTerm>(8, "1990", "1999");
    const auto named = boost::make_shared<Norv::DBStringTerm>("DE", "kinase", Norv::DBTerm::LIKE);
    const auto inner = boost::make_shared<Norv::DBBooleanTerm>(range, Norv::DBBooleanTerm::OR, named);
    return boost::make_shared<Norv::DBBooleanTerm>(stringTerm(1, "INS_HUMAN", Norv::DBTerm::EQ),
                                                   Norv::DBBooleanTerm::AND, inner);
}

void terms() {
    save("term", "string", [](Norv::AlignedBuf& buf) { stringTerm(-1, "P01308", Norv::DBTerm::GE)->write(buf); });
    save("term", "range", [](Norv::AlignedBuf& buf) { Norv::DBRangeTerm("DT", "2001", "2004").write(buf); });
    save("term", "tree", [](Norv::AlignedBuf& buf) { tree()->write(buf); });
    save("term", "not", [](Norv::AlignedBuf& buf) {
        Norv::DBBooleanTerm(stringTerm(2, "human", Norv::DBTerm::NEQ), Norv::DBBooleanTerm::NOT).write(buf);
    });
}

void queries() {
    save("db_query", "typical", [](Norv::AlignedBuf& buf) {
        const auto range = boost::make_shared<Norv::DBRangeTerm>(2, "10", "20");
        Norv::DBQuery(7, boost::make_shared<Norv::DBBooleanTerm>(stringTerm(1, "a", Norv::DBTerm::LIKE),
                                                                 Norv::DBBooleanTerm::AND, range))
            .write(buf);
    });
    save("db_query", "with_hits", [](Norv::AlignedBuf& buf) {
        Norv::DBQuery query("embl", tree());
        query.setDatabase(3);
        query.addDatabase(-17);
        query.setHitCount(12);
        query.setDBSource("srs");
        query.setWildcard(false);
        query.add(boost::make_shared<Norv::Summary>(3, 10, "Insulin", "INS_HUMAN", nullptr));
        query.add(boost::make_shared<Norv::Summary>("embl", 20, "Proinsulin", nullptr, "x"));
        query.write(buf);
    });
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_corpus DIR\n";
        return 2;
    }
    g_root = argv[1];
    ::mkdir(g_root.c_str(), 0755);
    summaries();
    xblastParams();
    fastaParams();
    catalogue();
    terms();
    queries();
    return 0;
}
