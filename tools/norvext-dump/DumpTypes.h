#ifndef NORVEXT_TOOLS_DUMPTYPES_H
#define NORVEXT_TOOLS_DUMPTYPES_H

// The classes that norvext-dump can read from a buffer, by the name given
// after --type.

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
};

// Every type, in the order --list-types shows them.
const std::vector<DumpType>& dumpTypes();
// The type named `name` exactly, or null.
const DumpType* findDumpType(const std::string& name);

}  // namespace NorvDump

#endif
