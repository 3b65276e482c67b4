#ifndef NORVEXT_TOOLS_DUMPTYPES_H
#define NORVEXT_TOOLS_DUMPTYPES_H

// The classes that norvext-dump can read from a buffer, by the name given
// after --type, with their dump and their JSON form.

#include "JsonNode.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace Norv {
class AlignedBuf;
}

namespace NorvDump {

struct DumpType {
    const char* name;
    const char* what;  // one line for --list-types
    // Reads one object of the type from the buffer's read position and
    // prints its dump at level 0. Whatever reading throws passes through,
    // before anything is printed.
    void (*readAndDump)(Norv::AlignedBuf& buf, std::ostream& os);
    // Reads one object the same way and gives its JSON; `rewritten`
    // receives the bytes that the object itself writes.
    NorvJson::Json (*readAsJson)(Norv::AlignedBuf& buf, std::vector<unsigned char>& rewritten);
    // Writes the object that a JSON document describes. Throws
    // NorvJson::JsonError before writing anything when the JSON does not fit.
    void (*writeFromJson)(const NorvJson::JsonNode& node, Norv::AlignedBuf& buf);
};

// Every type, in the order --list-types shows them.
const std::vector<DumpType>& dumpTypes();
// The type named `name` exactly, or null.
const DumpType* findDumpType(const std::string& name);

}  // namespace NorvDump

#endif
