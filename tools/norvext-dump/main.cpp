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

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <functional>
#include <iostream>
#include <memory>
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
    "       norvext-dump --version\n";

enum Status { kPrinted = 0, kBadInput = 1, kBadUsage = 2 };

// CLI11's help with the usage lines above in place of its one usage line.
class DumpHelp : public CLI::Formatter {
public:
    std::string make_usage(const CLI::App*, std::string) const override { return kUsage; }
};

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
    CLI::App app("Prints the object of class CLASS persisted in FILE, a file that holds the bytes\n"
                 "of an AlignedBuf, as its dump or as JSON; or turns such JSON back into bytes.",
                 "norvext-dump");
    app.formatter(std::make_shared<DumpHelp>());
    app.footer("Exit status: 0 when printed, 1 when the input is bad, 2 when the command line is wrong.");
    app.set_version_flag("--version", std::string("norvext-dump ") + NORVEXT_VERSION);
    // What CLI11 cannot place is kept, to be named below: an unknown option
    // as such, a second FILE as one too many.
    app.allow_extras();

    std::string path;
    CLI::Option* file = app.add_option("FILE", path, "The file to read; - reads standard input");
    std::string typeName;
    CLI::Option* type = app.add_option("--type", typeName, "The class of the object (--list-types lists them)")
                            ->type_name("CLASS");
    CLI::Option* json = app.add_flag("--json", "Print the object as JSON");
    CLI::Option* encode =
        app.add_flag("--encode", "Read the object's JSON from FILE; write its bytes to standard output");
    json->excludes(encode);
    CLI::Option* list = app.add_flag("--list-types", "List the classes, one a line");

    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& done) {
        return app.exit(done);
    } catch (const CLI::ParseError& error) {
        return badUsage(error.what());
    }
    const std::vector<std::string> extras = app.remaining();
    const auto unknown = std::find_if(extras.begin(), extras.end(),
                                      [](const std::string& arg) { return arg.size() > 1 && arg[0] == '-'; });
    if (unknown != extras.end()) {
        return badUsage("unknown option " + *unknown);
    }
    if (*list) {
        if (*type || *file || *json || *encode) {
            return badUsage("--list-types takes nothing else");
        }
        return listTypes();
    }
    if (!*type) {
        return badUsage("no --type given");
    }
    const NorvDump::DumpType* found = NorvDump::findDumpType(typeName);
    if (found == nullptr) {
        return badUsage("unknown type '" + typeName + "' (norvext-dump --list-types lists them)");
    }
    if (!*file || !extras.empty()) {
        return badUsage(*file ? "more than one FILE given" : "no FILE given");
    }
    if (*json) {
        return printJson(*found, path);
    }
    if (*encode) {
        return encodeFile(*found, path);
    }
    return dumpFile(*found, path);
}
