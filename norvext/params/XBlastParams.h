#ifndef NORVEXT_PARAMS_XBLASTPARAMS_H
#define NORVEXT_PARAMS_XBLASTPARAMS_H

#include <norvext/Export.h>
#include <norvext/common/VisitableBase.h>

#include <iosfwd>
#include <string>
#include <vector>

namespace Norv {

class AlignedBuf;

namespace internal {
template <class T>
struct FieldList;
}  // namespace internal

/// The settings of one BLAST search: program, database, scoring matrix, gap
/// costs, word size, X-dropoff, expectation threshold, genetic codes, and the
/// query letters themselves. A plain value; it runs no search.
///
/// Query letters given through setData() or read() are taken from RNA to DNA:
/// unless the protein flag is set at that moment, every upper-case 'U' becomes
/// 'T' (a lower-case 'u' stays). Changes made through data() are left as they
/// are.
class NORVEXT_API XBlastParams : public Common::VisitableBase {
public:
    /// Name "lcl", empty texts and letters, expect 10.0, gapOpen 11,
    /// gapExtend 1, xDropoff 20, wordSize 3, both genetic codes 1, limit 50,
    /// gapped and filter on, protein and translated off, NA reward and
    /// penalty 0. These are not the values of any preset.
    XBlastParams();
    /// Every setting and the letters as read(buf) gives them. Throws what
    /// read() throws.
    explicit XBlastParams(AlignedBuf& buf);
    /// Copies every setting and the letters.
    XBlastParams(const XBlastParams&) = default;
    /// Replaces every setting and the letters.
    XBlastParams& operator=(const XBlastParams&) = default;
    ~XBlastParams() override;

    /// The name.
    const std::string& getName() const { return m_name; }
    /// Replaces the name.
    void setName(const std::string& name) { m_name = name; }
    /// The program: BLASTN, BLASTX, TBLASTX, BLASTP or TBLASTN after a preset.
    const std::string& getProgram() const { return m_program; }
    /// Replaces the program; no preset is applied.
    void setProgram(const std::string& program) { m_program = program; }
    /// The locator.
    const std::string& getLocator() const { return m_locator; }
    /// Replaces the locator.
    void setLocator(const std::string& locator) { m_locator = locator; }
    /// The database searched.
    const std::string& getDatabase() const { return m_database; }
    /// Replaces the database.
    void setDatabase(const std::string& database) { m_database = database; }
    /// The scoring matrix name.
    const std::string& getMatrix() const { return m_matrix; }
    /// Replaces the scoring matrix name.
    void setMatrix(const std::string& matrix) { m_matrix = matrix; }

    /// The query letters, one per byte, no terminator.
    const std::vector<char>& getData() const { return m_data; }
    /// The query letters for direct change; no RNA fix runs on them.
    std::vector<char>& data() { return m_data; }
    /// The letters become the `count` bytes at `bytes` (which may be null
    /// when `count` is 0); then the RNA fix runs.
    void setData(const char* bytes, unsigned int count);
    /// The letters become source[from] up to but not including source[to];
    /// then the RNA fix runs. Any range with from <= to <= source.size() is
    /// taken, so to == source.size() takes in the last byte and from == to
    /// gives no letters. Any other range throws std::out_of_range naming this
    /// operation, both bounds and the source's size, and leaves the letters
    /// as they were.
    void setData(const std::vector<char>& source, unsigned int from, unsigned int to);

    /// The expectation threshold.
    double getExpect() const { return m_expect; }
    /// Replaces the expectation threshold.
    void setExpect(double expect) { m_expect = expect; }
    /// The cost of opening a gap.
    int getGapOpen() const { return m_gapOpen; }
    /// Replaces the cost of opening a gap.
    void setGapOpen(int gapOpen) { m_gapOpen = gapOpen; }
    /// The cost of extending a gap.
    int getGapExtend() const { return m_gapExtend; }
    /// Replaces the cost of extending a gap.
    void setGapExtend(int gapExtend) { m_gapExtend = gapExtend; }
    /// The X-dropoff.
    int getXDropoff() const { return m_xDropoff; }
    /// Replaces the X-dropoff.
    void setXDropoff(int xDropoff) { m_xDropoff = xDropoff; }
    /// The word size.
    int getWordSize() const { return m_wordSize; }
    /// Replaces the word size.
    void setWordSize(int wordSize) { m_wordSize = wordSize; }
    /// The genetic code of the query.
    int getGeneticCode() const { return m_geneticCode; }
    /// Replaces the genetic code of the query.
    void setGeneticCode(int geneticCode) { m_geneticCode = geneticCode; }
    /// The genetic code of the database.
    int getGeneticCodeDatabase() const { return m_geneticCodeDatabase; }
    /// Replaces the genetic code of the database.
    void setGeneticCodeDatabase(int geneticCode) { m_geneticCodeDatabase = geneticCode; }
    /// Hits expected; a search record reserves room for this many. Not a cap.
    int getLimit() const { return m_limit; }
    /// Replaces the limit.
    void setLimit(int limit) { m_limit = limit; }

    /// True for a gapped search.
    bool doGapped() const { return m_gapped; }
    /// Switches gapped search on or off.
    void doGapped(bool gapped) { m_gapped = gapped; }
    /// The filter switch.
    bool useFilter() const { return m_filter; }
    /// Switches the filter on or off.
    void useFilter(bool filter) { m_filter = filter; }
    /// The protein flag; while it is set, setData() and read() leave 'U' alone.
    bool isProtein() const { return m_protein; }
    /// Sets the protein flag; the letters already held stay as they are.
    void setProtein(bool protein) { m_protein = protein; }
    /// The translated flag.
    bool isTranslated() const { return m_translated; }
    /// Sets the translated flag.
    void setTranslated(bool translated) { m_translated = translated; }

    /// The reward for a nucleic-acid match.
    unsigned int getNAMatchReward() const { return m_naMatchReward; }
    /// Replaces the nucleic-acid match reward.
    void setNAMatchReward(unsigned int reward) { m_naMatchReward = reward; }
    /// The penalty for a nucleic-acid mismatch.
    unsigned int getNAMismatchPenalty() const { return m_naMismatchPenalty; }
    /// Replaces the nucleic-acid mismatch penalty.
    void setNAMismatchPenalty(unsigned int penalty) { m_naMismatchPenalty = penalty; }

    /// Offers the object to Common::Visitor<XBlastParams>; other visitors are
    /// ignored.
    void accept(Common::VisitorBase& visitor) override;
    /// Writes an "XBlastParams" block with every setting and the number of
    /// query letters (not the letters themselves).
    virtual void dump(std::ostream& os, int level) const;
    /// Appends name, locator, program, database, matrix, expect, the seven
    /// integers, the four flags, NA reward and penalty, then the letters.
    virtual void write(AlignedBuf& buf) const;
    /// Reads the fields in write() order, replacing them, then applies the
    /// RNA fix. A buffer failure (std::out_of_range) leaves the fields before
    /// the failing one replaced, the rest as they were, and skips the fix.
    virtual void read(AlignedBuf& buf);

    /// The preset of a nucleic-acid query: calls setDefaultsBLASTN(), so an
    /// override of it in a derived class runs.
    virtual void setNADefaults();
    /// The preset of an amino-acid query: calls setDefaultsBLASTP(), so an
    /// override of it in a derived class runs.
    virtual void setAADefaults();

    /// @name Program presets
    /// Each program preset sets program, database "nr", matrix, expect, gap
    /// costs, X-dropoff, word size, genetic codes, limit, the four flags and
    /// the NA reward and penalty (0) to that program's values; name, locator
    /// and the query letters stay as they are.
    /** @{ */
    /// BLASTN: no matrix, gaps 5/2, X-dropoff 30, word size 11.
    virtual void setDefaultsBLASTN();
    /// BLASTX: translated nucleic-acid query against proteins.
    virtual void setDefaultsBLASTX();
    /// TBLASTX: translated both ways, ungapped (gap costs and X-dropoff 0).
    virtual void setDefaultsTBLASTX();
    /// BLASTP: protein query against proteins.
    virtual void setDefaultsBLASTP();
    /// TBLASTN: protein query against a translated database.
    virtual void setDefaultsTBLASTN();
    /** @} */

private:
    // Its persisted fields are listed once, in internal/XBlastParamsFields.h.
    friend struct internal::FieldList<XBlastParams>;

    /// The RNA fix: 'U' to 'T' unless the protein flag is set.
    void fixData();

    std::string m_name;
    std::string m_program;
    std::string m_locator;
    std::string m_database;
    std::string m_matrix;
    std::vector<char> m_data;
    double m_expect;
    int m_gapOpen;
    int m_gapExtend;
    int m_xDropoff;
    int m_wordSize;
    int m_geneticCode;
    int m_geneticCodeDatabase;
    int m_limit;
    bool m_gapped;
    bool m_filter;
    bool m_protein;
    bool m_translated;
    unsigned int m_naMatchReward;
    unsigned int m_naMismatchPenalty;
};

}  // namespace Norv

#endif
