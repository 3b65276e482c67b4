#ifndef NORVEXT_TOOLS_DUMPTYPES_H
#define NORVEXT_TOOLS_DUMPTYPES_H

// The types that norvext-dump reads from a buffer, by the name given after
// --type: every persisted class, but the term classes, which are read as one
// type "term" through the term factory.

#include <iosfwd>
#include <string>
#include <vector>

namespace Norv {
class AlignedBuf;
}

namespace NorvDump {

struct DumpType {
    std::string name;
    std::string what;  // one line for --list-types
    // Reads one object of the type from the buffer's read position and
    // prints its dump at level 0. Whatever reading throws passes through,
    // before anything is printed.
    void (*readAndDump)(Norv::AlignedBuf& buf, std::ostream& os);
    // Reads one object the same way and gives its JSON; `rewritten`
    // receives the bytes that the object itself writes.
    std::string (*readAsJson)(Norv::AlignedBuf& buf, std::vector<unsigned char>& rewritten);
    // Writes the object that a JSON text describes. Throws
    // NorvJson::JsonError before writing anything when the JSON does not fit.
    void (*writeFromJson)(const std::string& json, Norv::AlignedBuf& buf);
};

// Every type, in the order --list-types shows them.
const std::vector<DumpType>& dumpTypes();
// The type named `name` exactly, or null.
const DumpType* findDumpType(const std::string& name);

}  // namespace NorvDump

#endif
