#include "tests/support/Samples.h"

#include <norvutil/AlignedBuf.h>

#include <boost/make_shared.hpp>

namespace NorvTest {

namespace {

using Norv::DBBooleanTerm;
using Norv::DBTerm;
using Term = boost::shared_ptr<DBTerm>;

// Bytes that C strings would lose or mangle.
const std::string kZeroAndHigh("a\0b\xff\x80z", 6);
// Longer than 255 bytes: its length takes two bytes of its word.
const std::string kLong(261, 'L');

Norv::DBDatabase typicalDatabase() {
    Norv::DBDatabase db(4, "EMBL", "Nucleotide sequences", "EM");
    db.add(Norv::DBField(1, "AC", "Accession number", "acc"));
    db.add(Norv::DBField(4, "KW", "Keywords", "key"));
    return db;
}

Norv::DBDatabase awkwardDatabase() {
    Norv::DBDatabase db(-1, "", kZeroAndHigh, "\xfe");
    db.add(samples<Norv::DBField>()[2]);
    db.add(Norv::DBField());
    return db;
}

Norv::Summary typicalSummary(unsigned int id) {
    Norv::Summary s(3, id, "Insulin precursor", "INS_HUMAN", nullptr);
    s.setDBName("sp");
    s.setSourceDB("swissprot");
    s.setSourceID("P01308");
    return s;
}

template <class T>
Term share(const T& term) {
    return boost::make_shared<T>(term);
}

template <class T>
void addFiles(std::vector<SampleFile>& files, const char* className, const char* name) {
    const std::vector<T> all = samples<T>();
    for (std::size_t i = 0; i < all.size(); ++i) {
        Norv::AlignedBuf buf;
        all[i].write(buf);
        files.push_back({className, std::string(name) + "-" + std::to_string(i), buf.bytes()});
    }
}

}  // namespace

template <>
std::vector<Norv::DBField> samples() {
    return {Norv::DBField(), Norv::DBField(4, "KW", "Keywords", "key"), Norv::DBField(-1, kZeroAndHigh, "\x01\x02\x03", "")};
}

template <>
std::vector<Norv::DBDatabase> samples() {
    return {Norv::DBDatabase(), typicalDatabase(), awkwardDatabase()};
}

template <>
std::vector<Norv::QueryDBInfo> samples() {
    Norv::QueryDBInfo typical("text databases", 250);
    typical.setDescription("every database that text queries reach");
    typical.add(typicalDatabase());
    typical.add(Norv::DBDatabase(1, "SWISSPROT", "Protein entries", "SW"));
    Norv::QueryDBInfo awkward(kZeroAndHigh, 4294967295u);
    awkward.add(awkwardDatabase());
    awkward.add(Norv::DBDatabase());
    return {Norv::QueryDBInfo(), typical, awkward};
}

template <>
std::vector<Norv::XBlastDBInfo> samples() {
    return {Norv::XBlastDBInfo(), Norv::XBlastDBInfo("nr", "non-redundant proteins", 1234567890u, 567890u, true),
            Norv::XBlastDBInfo("", kZeroAndHigh, 4294967295u, 0x01020304u, false)};
}

template <>
std::vector<Norv::Summary> samples() {
    Norv::Summary awkward(-1, 4000000000u, kLong.c_str(), "", "\x80\x81");
    awkward.setOption(1);
    awkward.setInitN(2);
    awkward.setInit1(0x01020304u);
    awkward.setDBName("embl");
    awkward.setSourceDB(kZeroAndHigh);
    awkward.setSourceID("X56734");
    return {Norv::Summary(), typicalSummary(42), awkward};
}

template <>
std::vector<Norv::DBStringTerm> samples() {
    Norv::DBStringTerm awkward("DE", kZeroAndHigh, DBTerm::LIKE);
    awkward.setFieldId(-2);
    return {Norv::DBStringTerm(), Norv::DBStringTerm(1, "INS_HUMAN", DBTerm::EQ), awkward};
}

template <>
std::vector<Norv::DBRangeTerm> samples() {
    Norv::DBRangeTerm awkward("length", kZeroAndHigh, "");
    awkward.setFieldId(-3);
    return {Norv::DBRangeTerm(), Norv::DBRangeTerm(8, "1990", "1999"), awkward};
}

template <>
std::vector<DBBooleanTerm> samples() {
    // AND(a string term, OR(a range term, a string term named by its field name))
    const auto named = boost::make_shared<Norv::DBStringTerm>("DE", "kinase", DBTerm::LIKE);
    const auto inner = boost::make_shared<DBBooleanTerm>(share(samples<Norv::DBRangeTerm>()[1]), DBBooleanTerm::OR, named);
    const DBBooleanTerm typical(share(samples<Norv::DBStringTerm>()[1]), DBBooleanTerm::AND, inner);
    // NOT over three children of three classes, the last an empty OR
    DBBooleanTerm awkward(share(samples<Norv::DBStringTerm>()[2]), DBBooleanTerm::NOT,
                          share(samples<Norv::DBRangeTerm>()[2]));
    awkward.addTerm(boost::make_shared<DBBooleanTerm>(DBBooleanTerm::OR));
    return {DBBooleanTerm(), typical, awkward};
}

template <>
std::vector<Norv::DBQuery> samples() {
    Norv::DBQuery empty;
    empty.setTerm(boost::make_shared<DBBooleanTerm>());
    Norv::DBQuery typical(7, share(samples<DBBooleanTerm>()[1]));
    typical.setDBName("embl");
    typical.setHitCount(2);
    typical.add(boost::make_shared<Norv::Summary>(typicalSummary(10)));
    typical.add(boost::make_shared<Norv::Summary>(typicalSummary(20)));
    Norv::DBQuery awkward("nrdb", share(samples<DBBooleanTerm>()[2]));
    awkward.setDatabase(3);
    awkward.addDatabase(-17);
    awkward.addDatabase(2147483647);
    awkward.setHitCount(-1);
    awkward.setDBSource(kZeroAndHigh);
    awkward.setWildcard(false);
    awkward.add(boost::make_shared<Norv::Summary>(samples<Norv::Summary>()[2]));
    awkward.add(boost::make_shared<Norv::Summary>());
    return {empty, typical, awkward};
}

template <>
std::vector<Norv::XBlastParams> samples() {
    Norv::XBlastParams blastp;
    blastp.setAADefaults();
    blastp.setName("sp|P01308|INS_HUMAN");
    blastp.setData("MALWMRLLPLL", 11);
    Norv::XBlastParams awkward;
    awkward.setName(kZeroAndHigh);
    awkward.setLocator("chr1:100-140");
    awkward.setProgram("PROG");
    awkward.setDatabase("");
    awkward.setMatrix("MATRIX");
    awkward.setExpect(0.001);
    awkward.setGapOpen(-5);
    awkward.setGapExtend(-1);
    awkward.setXDropoff(7);
    awkward.setWordSize(8);
    awkward.setGeneticCode(2);
    awkward.setGeneticCodeDatabase(3);
    awkward.setLimit(2147483647);
    awkward.doGapped(false);
    awkward.useFilter(true);
    awkward.setProtein(true);  // no RNA fix: the letters stay as written
    awkward.setTranslated(true);
    awkward.setNAMatchReward(4);
    awkward.setNAMismatchPenalty(4294967295u);
    awkward.data() = {'A', 'C', 'G', 'U', '\0', '\xff'};
    Norv::XBlastParams blastn;
    blastn.setNADefaults();
    blastn.setData("ACGTTGCA", 8);
    return {Norv::XBlastParams(), blastp, awkward, blastn};
}

template <>
std::vector<Norv::FastAParams> samples() {
    Norv::FastAParams typical;
    typical.setDatabase("swissprot");
    typical.setAlgorithm("ssearch");
    typical.setOptimization("opt");
    typical.setTranslation("none");
    typical.setExpect(10.0);
    typical.setDatabaseType(1);
    typical.setOutputConstraint(3);
    typical.setShiftValue(30);
    typical.setLimit(100);
    typical.setWordSize(2);
    typical.setOptimizationThreshold(28);
    typical.setEarliest(50);
    typical.useEarliest(true);
    typical.setGapCreate(12);
    typical.setGapExt(2);
    typical.setMatrix("BLOSUM50");
    typical.useMatrixDiagonals(true);
    typical.data() = {'M', 'K', 'T', 'A', 'Y'};
    Norv::FastAParams awkward;
    awkward.setDatabase("");
    awkward.setAlgorithm(kZeroAndHigh);
    awkward.setOptimization("OPTI");
    awkward.setTranslation(kLong);
    awkward.setExpect(1e-300);
    awkward.setDatabaseType(-2);
    awkward.setOutputConstraint(2147483647);
    awkward.setShiftValue(4294967295u);
    awkward.setLimit(5);
    awkward.setWordSize(6);
    awkward.setOptimizationThreshold(7);
    awkward.setEarliest(4294967288LL);  // what -8 becomes once it has travelled
    awkward.useEarliest(true);
    awkward.setGapCreate(9);
    awkward.setGapExt(10);
    awkward.setMatrix("MATX");
    awkward.useTopStrand(true);
    awkward.data() = {'U', '\0', '\x80'};
    return {Norv::FastAParams(), typical, awkward};
}

std::vector<SampleFile> sampleFiles() {
    std::vector<SampleFile> files;
    addFiles<Norv::DBField>(files, "DBField", "DBField");
    addFiles<Norv::DBDatabase>(files, "DBDatabase", "DBDatabase");
    addFiles<Norv::QueryDBInfo>(files, "QueryDBInfo", "QueryDBInfo");
    addFiles<Norv::XBlastDBInfo>(files, "XBlastDBInfo", "XBlastDBInfo");
    addFiles<Norv::DBStringTerm>(files, "term", "DBStringTerm");
    addFiles<Norv::DBRangeTerm>(files, "term", "DBRangeTerm");
    addFiles<DBBooleanTerm>(files, "term", "DBBooleanTerm");
    addFiles<Norv::Summary>(files, "Summary", "Summary");
    addFiles<Norv::DBQuery>(files, "DBQuery", "DBQuery");
    addFiles<Norv::XBlastParams>(files, "XBlastParams", "XBlastParams");
    addFiles<Norv::FastAParams>(files, "FastAParams", "FastAParams");
    return files;
}

}  // namespace NorvTest
