#include "DumpTypes.h"

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

// A term of any class, behind its type code, through the term factory.
void termAndDump(Norv::AlignedBuf& buf, std::ostream& os) { Norv::DBTerm::create(buf)->dump(os, 0); }

}  // namespace

const std::vector<DumpType>& dumpTypes() {
    static const std::vector<DumpType> types = {
        {"DBField", "a searchable field of a database", &readAndDump<Norv::DBField>},
        {"DBDatabase", "a queryable database with its fields", &readAndDump<Norv::DBDatabase>},
        {"QueryDBInfo", "the catalogue of queryable databases", &readAndDump<Norv::QueryDBInfo>},
        {"XBlastDBInfo", "a database for similarity searches", &readAndDump<Norv::XBlastDBInfo>},
        {"term", "a query term of any class, type code first (the term factory)", &termAndDump},
        {"Summary", "the record of a database entry found", &readAndDump<Norv::Summary>},
        {"DBQuery", "a database query with its term tree and hits", &readAndDump<Norv::DBQuery>},
        {"XBlastParams", "the settings of a BLAST search", &readAndDump<Norv::XBlastParams>},
        {"FastAParams", "the settings of a FASTA search", &readAndDump<Norv::FastAParams>},
    };
    return types;
}

const DumpType* findDumpType(const std::string& name) {
    for (const DumpType& type : dumpTypes()) {
        if (name == type.name) {
            return &type;
        }
    }
    return nullptr;
}

}  // namespace NorvDump
