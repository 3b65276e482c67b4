#include "DumpTypes.h"

#include "JsonMapping.h"

#include <norvext/NorvExt.h>
#include <norvutil/AlignedBuf.h>

#include <ostream>

namespace NorvDump {

namespace {

// Every persisted class has a default constructor and read(): the object is
// printed only once it has been read whole.
template <class T>
void readAndDump(Norv::AlignedBuf& buf, std::ostream& os) {
    T object;
    object.read(buf);
    object.dump(os, 0);
}

template <class T>
NorvJson::Json readAsJson(Norv::AlignedBuf& buf, std::vector<unsigned char>& rewritten) {
    T object;
    object.read(buf);
    Norv::AlignedBuf again;
    object.write(again);
    rewritten = again.bytes();
    return NorvJson::toJson(object);
}

template <class T>
void writeFromJson(const NorvJson::JsonNode& node, Norv::AlignedBuf& buf) {
    NorvJson::fromJson<T>(node).write(buf);
}

// A term of any class, behind its type code, through the term factory.
void termAndDump(Norv::AlignedBuf& buf, std::ostream& os) { Norv::DBTerm::create(buf)->dump(os, 0); }

NorvJson::Json termAsJson(Norv::AlignedBuf& buf, std::vector<unsigned char>& rewritten) {
    const boost::shared_ptr<Norv::DBTerm> term = Norv::DBTerm::create(buf);
    Norv::AlignedBuf again;
    term->write(again);
    rewritten = again.bytes();
    return NorvJson::termToJson(*term);
}

void termFromJson(const NorvJson::JsonNode& node, Norv::AlignedBuf& buf) { NorvJson::termFromJson(node)->write(buf); }

// The three operations of a class with read(), write() and dump().
#define NORV_OBJECT_TYPE(T) &readAndDump<T>, &readAsJson<T>, &writeFromJson<T>

}  // namespace

const std::vector<DumpType>& dumpTypes() {
    static const std::vector<DumpType> types = {
        {"DBField", "a searchable field of a database", NORV_OBJECT_TYPE(Norv::DBField)},
        {"DBDatabase", "a queryable database with its fields", NORV_OBJECT_TYPE(Norv::DBDatabase)},
        {"QueryDBInfo", "the catalogue of queryable databases", NORV_OBJECT_TYPE(Norv::QueryDBInfo)},
        {"XBlastDBInfo", "a database for similarity searches", NORV_OBJECT_TYPE(Norv::XBlastDBInfo)},
        {"term", "a query term of any class, type code first (the term factory)", &termAndDump, &termAsJson, &termFromJson},
        {"Summary", "the record of a database entry found", NORV_OBJECT_TYPE(Norv::Summary)},
        {"DBQuery", "a database query with its term tree and hits", NORV_OBJECT_TYPE(Norv::DBQuery)},
        {"XBlastParams", "the settings of a BLAST search", NORV_OBJECT_TYPE(Norv::XBlastParams)},
        {"FastAParams", "the settings of a FASTA search", NORV_OBJECT_TYPE(Norv::FastAParams)},
    };
    return types;
}
#undef NORV_OBJECT_TYPE

const DumpType* findDumpType(const std::string& name) {
    for (const DumpType& type : dumpTypes()) {
        if (name == type.name) {
            return &type;
        }
    }
    return nullptr;
}

}  // namespace NorvDump
