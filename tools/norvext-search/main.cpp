// norvext-search: the output of real search engines as search records.
//
//   norvext-search import [--format blast-xml|blast-tab|fasta-tab]
//                         [--fields "qseqid sseqid ..."] [--svg OUT] FILE
//
// reads BLAST XML, BLAST tabular or FASTA36 tabular output (FILE "-" is
// standard input; the format is recognised from the content unless given),
// builds one search record per query and prints them as a JSON array, one
// query per line, in file order (docs/search.md). --svg OUT also draws the
// records' hits into OUT, an SVG picture (docs/search.md, "Pictures").
//
//   norvext-search options (--preset PROGRAM | --params FILE) [--query FASTA] [--db NAME]
//                          [--evalue E] [--max-target-seqs N] [--threads N] [-- ENGINE_ARGUMENTS...]
//   norvext-search run (--preset PROGRAM | --params FILE) --query FASTA --db FASTA|BLASTDB
//                      [--evalue E] [--max-target-seqs N] [--threads N] [--svg OUT] [-- ENGINE_ARGUMENTS...]
//
// print the commands that run the BLAST+ or FASTA36 program the parameters
// describe (makeblastdb first when BLAST+ is to search a FASTA file), one a
// line as a shell takes them, or run them and print the hits as import does
// (docs/engines.md).
//
// Exit status: 0 when the output was read and printed; 1 when the input is
// bad ("FILE:LINE[:COLUMN]: problem" on standard error, nothing on standard
// output), and for options and run also when the parameters name no program,
// an output cannot be written or an engine is not installed; 2 when the
// command line is wrong; 3 when run's engine (or makeblastdb) fails: exits
// with another status, is killed, or ignores an option, its matrix or its
// library (the engine's message follows on standard error).
#include "EngineRun.h"
#include "RecordPrinter.h"

#include <norvext/search/NorvSearch.h>

#include <CLI/CLI.hpp>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

enum Status { kPrinted = 0, kBadInput = 1, kBadUsage = 2 };

struct ImportOptions {
    std::string file;
    std::string format;
    std::string fields;
    std::string svg;
};

std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> list;
    for (std::string word; in >> word;) {
        list.push_back(word);
    }
    return list;
}

// The --svg option of a subcommand that prints search records.
void addSvgOption(CLI::App* command, std::string& path) {
    command->add_option("--svg", path, "Also draw the hits of every query into this file, as an SVG picture");
}

// Writes `picture` to `path`; kBadInput, with a message, when the file
// cannot be written, leaving none.
int writePicture(const NorvSearch::SearchPicture& picture, const std::string& path) {
    errno = 0;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const bool opened = static_cast<bool>(out);
    if (opened) {
        picture.write(out);
        out.close();
    }
    if (!out) {
        const int error = errno;
        if (opened) {
            std::remove(path.c_str());  // a cut picture would pass for a whole one
        }
        std::cerr << path << ": cannot write: " << (error != 0 ? std::strerror(error) : "write failed") << '\n';
        return kBadInput;
    }
    return kPrinted;
}

// Reads every query of `in` into a search record and prints them as a JSON
// array, one query a line, after drawing them into `svg` unless it is empty.
// Nothing is printed when the input is bad.
int importFrom(std::istream& in, const NorvSearch::SearchReader& reader, const std::string& svg) {
    // The JSON of BLAST XML is about a quarter of its size: room made once
    // saves copying the text as it grows.
    std::size_t reserve = 0;
    const std::istream::pos_type start = in.tellg();
    if (start != std::istream::pos_type(-1) && in.seekg(0, std::ios::end)) {
        reserve = static_cast<std::size_t>(in.tellg() - start) / 4;
        in.seekg(start);
    }
    in.clear();
    RecordPrinter printer(!svg.empty(), reserve);
    std::string json;
    try {
        reader.read(in, [&printer](NorvSearch::QueryResult&& result) { printer.add(std::move(result)); });
        json = printer.finish();
    } catch (const NorvSearch::SearchError& error) {
        std::cerr << error.what() << '\n';
        return kBadInput;
    }
    if (!svg.empty() && writePicture(printer.picture(), svg) != kPrinted) {
        return kBadInput;
    }
    std::cout << json << std::flush;
    return std::cout ? kPrinted : kBadInput;
}

int runImport(const ImportOptions& options) {
    NorvSearch::SearchReader reader(options.file);
    if (!options.format.empty()) {
        NorvSearch::SearchFormat format;
        NorvSearch::formatFromName(options.format, format);  // CLI11 checked the name
        reader.setFormat(format);
    }
    try {
        if (!options.fields.empty()) {
            reader.setFields(words(options.fields));
        }
    } catch (const std::invalid_argument& problem) {
        std::cerr << "norvext-search: --fields: " << problem.what() << '\n';
        return kBadUsage;
    }
    std::ifstream file;
    if (options.file != "-") {
        file.open(options.file, std::ios::binary);
        if (!file) {
            std::cerr << options.file << ": cannot open: " << std::strerror(errno) << '\n';
            return kBadInput;
        }
    }
    return importFrom(options.file == "-" ? std::cin : file, reader, options.svg);
}

// The records of a run's output `file`, printed as import prints them (and
// drawn into `svg` unless it is empty).
int importRun(const std::string& file, NorvSearch::SearchFormat format, const std::string& svg) {
    NorvSearch::SearchReader reader(file);
    reader.setFormat(format);
    std::ifstream in(file, std::ios::binary);
    return importFrom(in, reader, svg);
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app("Reads the output of search engines (BLAST+, FASTA36) into search records.", "norvext-search");
    app.set_version_flag("--version", NORVEXT_VERSION);
    app.require_subcommand(1);

    ImportOptions import;
    CLI::App* importCommand =
        app.add_subcommand("import", "Print each query's hits and alignments as JSON (an array, one query a line).");
    importCommand->add_option("FILE", import.file, "BLAST XML, BLAST tabular or FASTA36 tabular output; - reads "
                                                   "standard input")
        ->required();
    importCommand->add_option("--format", import.format, "The output's format; recognised from the content when "
                                                         "not given")
        ->check(CLI::IsMember({"blast-xml", "blast-tab", "fasta-tab"}));
    importCommand->add_option("--fields", import.fields,
                              "The columns of tabular output without a '# Fields:' line, as BLAST field keywords "
                              "(\"std btop\"); default: the standard 12");
    addSvgOption(importCommand, import.svg);

    EngineRun options;
    CLI::App* optionsCommand = app.add_subcommand("options", "Print the command line of the search engine that "
                                                             "runs with the given parameters.");
    options.addOptions(optionsCommand, false);
    EngineRun run;
    CLI::App* runCommand = app.add_subcommand("run", "Run the search engine with the given parameters and print "
                                                     "its hits as import does.");
    run.addOptions(runCommand, true);
    std::string runSvg;
    addSvgOption(runCommand, runSvg);

    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& done) {
        return app.exit(done);
    } catch (const CLI::ParseError& error) {
        app.exit(error);
        return kBadUsage;
    }
    if (optionsCommand->parsed()) {
        return options.printCommands();
    }
    if (runCommand->parsed()) {
        return run.run([&](const std::string& file, NorvSearch::SearchFormat format) {
            return importRun(file, format, runSvg);
        }, {runSvg});
    }
    return runImport(import);
}
