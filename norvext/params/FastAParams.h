#ifndef NORVEXT_PARAMS_FASTAPARAMS_H
#define NORVEXT_PARAMS_FASTAPARAMS_H

#include <norvext/Export.h>
#include <norvext/common/VisitableBase.h>

#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

namespace Norv {

class AlignedBuf;

namespace internal {
template <class T>
struct FieldList;
}  // namespace internal

/// The settings of one FASTA-family search: database, algorithm with its
/// optimisation and translation choices, word size, expectation threshold,
/// gap costs, scoring matrix, an optional earliest bound, strand and
/// Smith-Waterman switches, and the query letters. A plain value; it runs no
/// search, has no presets and never changes the letters it holds.
class NORVEXT_API FastAParams : public Common::VisitableBase {
public:
    /// Every number 0, every flag false, every text and the letters empty.
    FastAParams();
    /// Copies every setting and the letters.
    FastAParams(const FastAParams&) = default;
    /// Replaces every setting and the letters.
    FastAParams& operator=(const FastAParams&) = default;
    ~FastAParams() override;

    /// The database searched.
    const std::string& getDatabase() const { return m_database; }
    /// Replaces the database.
    void setDatabase(const std::string& database) { m_database = database; }
    /// The algorithm.
    const std::string& getAlgorithm() const { return m_algorithm; }
    /// Replaces the algorithm.
    void setAlgorithm(const std::string& algorithm) { m_algorithm = algorithm; }
    /// The optimisation choice.
    const std::string& getOptimization() const { return m_optimization; }
    /// Replaces the optimisation choice.
    void setOptimization(const std::string& optimization) { m_optimization = optimization; }
    /// The translation choice.
    const std::string& getTranslation() const { return m_translation; }
    /// Replaces the translation choice.
    void setTranslation(const std::string& translation) { m_translation = translation; }

    /// The query letters, one per byte, no terminator.
    const std::vector<char>& getData() const { return m_data; }
    /// The query letters for direct change; the only way to set them.
    std::vector<char>& data() { return m_data; }

    /// The expectation threshold.
    double getExpect() const { return m_expect; }
    /// Replaces the expectation threshold.
    void setExpect(double expect) { m_expect = expect; }
    /// The database type code.
    int getDatabaseType() const { return m_databaseType; }
    /// Replaces the database type code.
    void setDatabaseType(int databaseType) { m_databaseType = databaseType; }
    /// The output constraint code.
    int getOutputConstraint() const { return m_outputConstraint; }
    /// Replaces the output constraint code.
    void setOutputConstraint(int outputConstraint) { m_outputConstraint = outputConstraint; }
    /// The shift value.
    unsigned int getShiftValue() const { return m_shiftValue; }
    /// Replaces the shift value.
    void setShiftValue(unsigned int shiftValue) { m_shiftValue = shiftValue; }
    /// Hits expected; a search record reserves room for this many. Not a cap.
    unsigned int getLimit() const { return m_limit; }
    /// Replaces the limit.
    void setLimit(unsigned int limit) { m_limit = limit; }
    /// The word size.
    unsigned int getWordSize() const { return m_wordSize; }
    /// Replaces the word size.
    void setWordSize(unsigned int wordSize) { m_wordSize = wordSize; }
    /// The optimisation threshold.
    unsigned int getOptimizationThreshold() const { return m_optimizationThreshold; }
    /// Replaces the optimisation threshold.
    void setOptimizationThreshold(unsigned int threshold) { m_optimizationThreshold = threshold; }

    /// The earliest bound; it applies when useEarliest() is set. Only its low
    /// 32 bits are persisted.
    long long getEarliest() const { return m_earliest; }
    /// Replaces the earliest bound.
    void setEarliest(long long earliest) { m_earliest = earliest; }
    /// True when the earliest bound applies.
    bool useEarliest() const { return m_useEarliest; }
    /// Switches the earliest bound on or off.
    void useEarliest(bool use) { m_useEarliest = use; }

    /// The cost of opening a gap.
    unsigned int getGapCreate() const { return m_gapCreate; }
    /// Replaces the cost of opening a gap.
    void setGapCreate(unsigned int gapCreate) { m_gapCreate = gapCreate; }
    /// The cost of extending a gap.
    unsigned int getGapExt() const { return m_gapExt; }
    /// Replaces the cost of extending a gap.
    void setGapExt(unsigned int gapExt) { m_gapExt = gapExt; }

    /// A copy of the matrix name: changing it leaves the object alone.
    std::string getMatrix() const { return m_matrix; }
    /// Replaces the matrix name.
    void setMatrix(std::string matrix) { m_matrix = std::move(matrix); }

    /// The matrix diagonals switch.
    bool useMatrixDiagonals() const { return m_matrixDiagonals; }
    /// Sets the matrix diagonals switch.
    void useMatrixDiagonals(bool use) { m_matrixDiagonals = use; }
    /// The top strand switch.
    bool useTopStrand() const { return m_topStrand; }
    /// Sets the top strand switch.
    void useTopStrand(bool use) { m_topStrand = use; }
    /// The Smith-Waterman switch.
    bool useSmithWaterman() const { return m_smithWaterman; }
    /// Sets the Smith-Waterman switch.
    void useSmithWaterman(bool use) { m_smithWaterman = use; }

    /// Offers the object to Common::Visitor<FastAParams>; other visitors are
    /// ignored.
    void accept(Common::VisitorBase& visitor) override;
    /// Writes a "FastAParams" block with every setting and the number of
    /// query letters (not the letters themselves); earliest shows as its low
    /// 32 bits read as a signed int.
    virtual void dump(std::ostream& os, int level) const;
    /// Appends the four texts, expect, databaseType, outputConstraint,
    /// shiftValue, limit, wordSize, optimizationThreshold, the low 32 bits of
    /// earliest, its flag, gapCreate, gapExt, matrix, the three switches, then
    /// the letters.
    virtual void write(AlignedBuf& buf) const;
    /// Reads the fields in write() order, replacing them; earliest comes back
    /// as the 32 bits read, widened with zeros. A buffer failure
    /// (std::out_of_range) leaves the fields before the failing one replaced
    /// and the rest as they were.
    virtual void read(AlignedBuf& buf);

    /** @{ */
    /// There are no presets: these do nothing (a derived class may add some).
    virtual void setNADefaults();
    virtual void setAADefaults();
    /** @} */

private:
    // Its persisted fields are listed once, in internal/FastAParamsFields.h.
    friend struct internal::FieldList<FastAParams>;

    std::string m_database;
    std::string m_algorithm;
    std::string m_optimization;
    std::string m_translation;
    std::vector<char> m_data;
    double m_expect;
    int m_databaseType;
    int m_outputConstraint;
    unsigned int m_shiftValue;
    unsigned int m_limit;
    unsigned int m_wordSize;
    unsigned int m_optimizationThreshold;
    long long m_earliest;
    bool m_useEarliest;
    unsigned int m_gapCreate;
    unsigned int m_gapExt;
    std::string m_matrix;
    bool m_matrixDiagonals;
    bool m_topStrand;
    bool m_smithWaterman;
};

}  // namespace Norv

#endif
