// norvext-dump: reads a file that holds the bytes of an AlignedBuf, takes one
// object of the named class from it and prints the object's dump.
//
// Exit status: 0 when the object was read and printed; 1 when the input is
// bad (the file cannot be read, reading the object fails, or bytes are left
// over behind it); 2 when the command line is wrong.
#include "DumpTypes.h"

#include <norvutil/AlignedBuf.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

namespace {

const char* const kUsage =
    "usage: norvext-dump --type CLASS FILE\n"
    "       norvext-dump --list-types\n"
    "Prints the object of class CLASS persisted in FILE, a file that holds the\n"
    "bytes of an AlignedBuf (- reads standard input).\n";

enum Status { kPrinted = 0, kBadInput = 1, kBadUsage = 2 };

int badUsage(const std::string& problem) {
    std::cerr << "norvext-dump: " << problem << '\n' << kUsage;
    return kBadUsage;
}

// The whole content of a file, or of standard input for "-". On failure
// `error` says why.
bool slurp(const std::string& path, std::vector<unsigned char>& bytes, std::string& error) {
    std::FILE* file = stdin;
    if (path == "-") {
#if defined(_WIN32)
        _setmode(_fileno(stdin), _O_BINARY);
#endif
    } else {
        file = std::fopen(path.c_str(), "rb");
        if (file == nullptr) {
            error = "cannot open " + path + ": " + std::strerror(errno);
            return false;
        }
    }
    unsigned char block[65536];
    std::size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0) {
        bytes.insert(bytes.end(), block, block + got);
    }
    const bool failed = std::ferror(file) != 0;
    if (file != stdin) {
        std::fclose(file);
    }
    if (failed) {
        error = "cannot read " + path;
        return false;
    }
    return true;
}

int listTypes() {
    std::size_t width = 0;
    for (const NorvDump::DumpType& type : NorvDump::dumpTypes()) {
        width = std::max(width, std::strlen(type.name));
    }
    for (const NorvDump::DumpType& type : NorvDump::dumpTypes()) {
        std::cout << type.name << std::string(width + 2 - std::strlen(type.name), ' ') << type.what << '\n';
    }
    return kPrinted;
}

int dumpFile(const NorvDump::DumpType& type, const std::string& path) {
    const std::string shown = path == "-" ? "standard input" : path;
    std::vector<unsigned char> bytes;
    std::string error;
    if (!slurp(path, bytes, error)) {
        std::cerr << "norvext-dump: " << error << '\n';
        return kBadInput;
    }
    Norv::AlignedBuf buf(std::move(bytes));
    try {
        type.readAndDump(buf, std::cout);
    } catch (const std::exception& e) {
        std::cerr << "norvext-dump: " << shown << ": " << e.what() << '\n'
                  << "norvext-dump: reading stopped at byte offset " << buf.tell() << " of " << buf.size() << '\n';
        return kBadInput;
    }
    std::cout.flush();
    if (buf.tell() != buf.size()) {
        std::cerr << "norvext-dump: " << shown << ": " << buf.size() - buf.tell()
                  << " bytes left over: the " << type.name << " ends at byte offset " << buf.tell() << " of "
                  << buf.size() << '\n';
        return kBadInput;
    }
    return kPrinted;
}

}  // namespace

int main(int argc, char** argv) {
    std::string typeName;
    bool haveType = false;
    bool list = false;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return kPrinted;
        } else if (arg == "--list-types") {
            list = true;
        } else if (arg == "--type" || arg.compare(0, 7, "--type=") == 0) {
            if (haveType) {
                return badUsage("--type given twice");
            }
            if (arg == "--type") {
                if (i + 1 == argc) {
                    return badUsage("--type needs a class name");
                }
                typeName = argv[++i];
            } else {
                typeName = arg.substr(7);
            }
            haveType = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return badUsage("unknown option " + arg);
        } else {
            files.push_back(arg);
        }
    }

    if (list) {
        if (haveType || !files.empty()) {
            return badUsage("--list-types takes nothing else");
        }
        return listTypes();
    }
    if (!haveType) {
        return badUsage("no --type given");
    }
    const NorvDump::DumpType* type = NorvDump::findDumpType(typeName);
    if (type == nullptr) {
        return badUsage("unknown type '" + typeName + "' (norvext-dump --list-types lists them)");
    }
    if (files.size() != 1) {
        return badUsage(files.empty() ? "no FILE given" : "more than one FILE given");
    }
    return dumpFile(*type, files.front());
}
