// norvext-dump: reads a file that holds the bytes of an AlignedBuf, takes one
// object of the named class from it and prints the object's dump, or its
// JSON (--json); or reads such JSON and writes the object's bytes (--encode).
//
// Exit status: 0 when the object was read and printed; 1 when the input is
// bad (the file cannot be read, reading the object fails, bytes are left
// over behind it, or the JSON does not describe an object of the class);
// 2 when the command line is wrong. On status 1 the JSON modes print nothing
// on standard output.
#include "DumpTypes.h"

#include <norvext/json/JsonError.h>

#include <norvutil/AlignedBuf.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <functional>
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
    "       norvext-dump --json --type CLASS FILE\n"
    "       norvext-dump --encode --type CLASS FILE\n"
    "       norvext-dump --version\n"
    "Prints the object of class CLASS persisted in FILE, a file that holds the\n"
    "bytes of an AlignedBuf (- reads standard input). --json prints it as JSON;\n"
    "--encode reads that JSON from FILE and writes the bytes to standard output.\n";

enum Status { kPrinted = 0, kBadInput = 1, kBadUsage = 2 };
enum Mode { kDump, kJson, kEncode };

int badUsage(const std::string& problem) {
    std::cerr << "norvext-dump: " << problem << '\n' << kUsage;
    return kBadUsage;
}

// The whole content of a file, or of standard input for "-". On failure
// `error` says why.
bool slurp(const std::string& path, std::vector<unsigned char>& bytes, std::string& error) {
    std::FILE* file = stdin;
    if (path == "-") {
#if defined(_WIN32)  // bytes pass as they are, CR LF included
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
        width = std::max(width, type.name.size());
    }
    for (const NorvDump::DumpType& type : NorvDump::dumpTypes()) {
        std::cout << type.name << std::string(width + 2 - type.name.size(), ' ') << type.what << '\n';
    }
    return kPrinted;
}

std::string sourceName(const std::string& path) { return path == "-" ? "standard input" : path; }

// Reads the object of `type` from the file at `path` with `read` and checks
// that no bytes are left over; says on standard error what went wrong.
int readFile(const NorvDump::DumpType& type, const std::string& path, std::vector<unsigned char>& bytes,
             const std::function<void(Norv::AlignedBuf&)>& read) {
    const std::string shown = sourceName(path);
    std::string error;
    if (!slurp(path, bytes, error)) {
        std::cerr << "norvext-dump: " << error << '\n';
        return kBadInput;
    }
    Norv::AlignedBuf buf(bytes);
    try {
        read(buf);
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

int dumpFile(const NorvDump::DumpType& type, const std::string& path) {
    std::vector<unsigned char> bytes;
    return readFile(type, path, bytes, [&](Norv::AlignedBuf& buf) { type.readAndDump(buf, std::cout); });
}

// Prints the JSON of the object once it has been read whole. Bytes that the
// library reads but would write otherwise (a flag word of 2, padding that is
// not zero, ...) are noted on standard error: the JSON shows the object as
// read, and --encode gives the library's own bytes for it.
int printJson(const NorvDump::DumpType& type, const std::string& path) {
    std::vector<unsigned char> bytes;
    std::vector<unsigned char> rewritten;
    std::string json;
    const int status =
        readFile(type, path, bytes, [&](Norv::AlignedBuf& buf) { json = type.readAsJson(buf, rewritten); });
    if (status != kPrinted) {
        return status;
    }
    std::cout << json << '\n';
    if (rewritten != bytes) {
        const auto differ = std::mismatch(bytes.begin(), bytes.end(), rewritten.begin(), rewritten.end());
        std::cerr << "norvext-dump: " << sourceName(path) << ": note: the library writes this " << type.name
                  << " otherwise (from byte offset " << differ.first - bytes.begin()
                  << "); --encode of the JSON gives its bytes\n";
    }
    return kPrinted;
}

// Writes the bytes of the object that the JSON in the file at `path`
// describes, or nothing when the JSON is bad.
int encodeFile(const NorvDump::DumpType& type, const std::string& path) {
    const std::string shown = sourceName(path);
    std::vector<unsigned char> text;
    std::string error;
    if (!slurp(path, text, error)) {
        std::cerr << "norvext-dump: " << error << '\n';
        return kBadInput;
    }
    Norv::AlignedBuf buf;
    try {
        type.writeFromJson(std::string(text.begin(), text.end()), buf);
    } catch (const NorvJson::JsonError& e) {
        std::cerr << "norvext-dump: " << shown << ": " << e.what() << '\n';
        return kBadInput;
    }
#if defined(_WIN32)
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    std::cout.write(reinterpret_cast<const char*>(buf.data()), static_cast<std::streamsize>(buf.size()));
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "norvext-dump: cannot write to standard output\n";
        return kBadInput;
    }
    return kPrinted;
}

}  // namespace

int main(int argc, char** argv) {
    std::string typeName;
    bool haveType = false;
    bool list = false;
    Mode mode = kDump;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return kPrinted;
        } else if (arg == "--version") {
            std::cout << "norvext-dump " << NORVEXT_VERSION << '\n';
            return kPrinted;
        } else if (arg == "--json" || arg == "--encode") {
            const Mode wanted = arg == "--json" ? kJson : kEncode;
            if (mode != kDump && mode != wanted) {
                return badUsage("--json and --encode exclude each other");
            }
            mode = wanted;
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
        if (haveType || !files.empty() || mode != kDump) {
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
    switch (mode) {
    case kJson:
        return printJson(*type, files.front());
    case kEncode:
        return encodeFile(*type, files.front());
    case kDump:
        break;
    }
    return dumpFile(*type, files.front());
}
