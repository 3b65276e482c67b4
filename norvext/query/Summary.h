#ifndef NORVEXT_QUERY_SUMMARY_H
#define NORVEXT_QUERY_SUMMARY_H

#include <norvext/Export.h>
#include <norvext/common/VisitableBase.h>

#include <iosfwd>
#include <string>

namespace Norv {

class AlignedBuf;

namespace internal {
template <class T>
struct FieldList;
}  // namespace internal

/// The record of one database entry found by a search: the database holding
/// it (by id and/or name), the entry's id, its source database and source id,
/// its display texts, and three values carried for the caller (option, initN,
/// init1). A plain value; where it is shared it is held by
/// boost::shared_ptr<Summary>.
class NORVEXT_API Summary : public Common::VisitableBase {
public:
    /// Every field at its default: database -1, numbers 0, strings empty.
    Summary();
    /// A record of database `database`; null texts give empty strings.
    Summary(int database, unsigned int id, const char* title, const char* caption, const char* extra);
    /// A record of the database named `dbName` (database -1); null texts give
    /// empty strings.
    Summary(const char* dbName, unsigned int id, const char* title, const char* caption, const char* extra);
    /// The defaults, then read(buf). Throws what read() throws.
    explicit Summary(AlignedBuf& buf);
    /// Copies every field.
    Summary(const Summary&) = default;
    /// Replaces every field.
    Summary& operator=(const Summary&) = default;
    ~Summary() override;

    /// The id of the database holding the entry; -1 when none was given.
    int getDatabase() const { return m_database; }
    /// Replaces the database id.
    void setDatabase(int database) { m_database = database; }
    /// The entry's id.
    unsigned int getID() const { return m_id; }
    /// Replaces the entry's id.
    void setID(unsigned int id) { m_id = id; }
    /// The option value, carried for the caller.
    unsigned int getOption() const { return m_option; }
    /// Replaces the option value.
    void setOption(unsigned int option) { m_option = option; }
    /// The initN value, carried for the caller.
    unsigned int getInitN() const { return m_initN; }
    /// Replaces the initN value.
    void setInitN(unsigned int initN) { m_initN = initN; }
    /// The init1 value, carried for the caller.
    unsigned int getInit1() const { return m_init1; }
    /// Replaces the init1 value.
    void setInit1(unsigned int init1) { m_init1 = init1; }
    /// The name of the database holding the entry.
    const std::string& getDBName() const { return m_dbName; }
    /// Replaces the database name.
    void setDBName(const std::string& dbName) { m_dbName = dbName; }
    /// The entry's source database.
    const std::string& getSourceDB() const { return m_sourceDB; }
    /// Replaces the source database.
    void setSourceDB(const std::string& sourceDB) { m_sourceDB = sourceDB; }
    /// The entry's id in its source database.
    const std::string& getSourceID() const { return m_sourceID; }
    /// Replaces the source id.
    void setSourceID(const std::string& sourceID) { m_sourceID = sourceID; }
    /// The title, a display text.
    const std::string& getTitle() const { return m_title; }
    /// Replaces the title.
    void setTitle(const std::string& title) { m_title = title; }
    /// The caption, a display text.
    const std::string& getCaption() const { return m_caption; }
    /// Replaces the caption.
    void setCaption(const std::string& caption) { m_caption = caption; }
    /// The extra display text.
    const std::string& getExtra() const { return m_extra; }
    /// Replaces the extra text.
    void setExtra(const std::string& extra) { m_extra = extra; }

    /// Offers the record to Common::Visitor<Summary>; other visitors are
    /// ignored.
    void accept(Common::VisitorBase& visitor) override;
    /// Writes a "Summary" block with every field, in persisted order.
    virtual void dump(std::ostream& os, int level) const;
    /// Appends database, id, option, initN, init1, then the six strings.
    virtual void write(AlignedBuf& buf) const;
    /// Reads the fields in write() order, replacing them. A buffer failure
    /// (std::out_of_range) leaves the fields before the failing one replaced.
    virtual void read(AlignedBuf& buf);

private:
    // Its persisted fields are listed once, in internal/SummaryFields.h.
    friend struct internal::FieldList<Summary>;

    int m_database;
    unsigned int m_id;
    unsigned int m_option;
    unsigned int m_initN;
    unsigned int m_init1;
    std::string m_dbName;
    std::string m_sourceDB;
    std::string m_sourceID;
    std::string m_title;
    std::string m_caption;
    std::string m_extra;
};

}  // namespace Norv

#endif
