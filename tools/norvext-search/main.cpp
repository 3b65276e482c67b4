// norvext-search: the output of real search engines as search records.
//
//   norvext-search import [--format blast-xml|blast-tab|fasta-tab|fasta-m10|blast-xml2|blast-json|mmseqs-tab]
//                         [--fields "qseqid sseqid ..."] [--svg OUT] [-o OUT] FILE...
//
// reads BLAST XML, XML2, JSON, BLAST tabular, FASTA36 tabular or -m 10,
// DIAMOND's XML and tabular, MMseqs2's tabular output, plain or gzipped (FILE "-" is standard input; each file's format is
// recognised from its content unless given; BLAST's list of per-query files
// of -outfmt 13 and 14 is followed to the files beside it), and prints one
// search record per query as JSON Lines, one JSON object a line, in file order, as each query is read
// (docs/search.md). -o OUT writes them into OUT instead, whole or not at
// all. --svg OUT also draws the records' hits into OUT, an SVG picture
// (docs/search.md, "Pictures").
//
//   norvext-search options [--engine blast|diamond|mmseqs] (--preset PROGRAM | --params FILE)
//                          [--query FASTA] [--db NAME] [--evalue E] [--max-target-seqs N] [--threads N]
//                          [-- ENGINE_ARGUMENTS...]
//   norvext-search run [--engine blast|diamond|mmseqs] (--preset PROGRAM | --params FILE) --query FASTA
//                      --db FASTA|BLASTDB [--evalue E] [--max-target-seqs N] [--threads N] [--svg OUT]
//                      [-- ENGINE_ARGUMENTS...]
//
// print the commands that run the BLAST+ or FASTA36 program the parameters
// describe, or for blastp and blastx DIAMOND or MMseqs2 (the database made
// first when the engine is to search a FASTA file), one a line as a shell
// takes them, or run them and print the hits as import does
// (docs/engines.md).
//
// Exit status: 0 when every input was read and printed; 1 when an input is
// bad ("FILE:LINE[:COLUMN]: problem" on standard error; the lines printed
// before stand for the queries before the fault), and for options and run
// also when the parameters name no program or an engine is not installed;
// 1 too when an output cannot be written; 2 when the command line is wrong
// (a fast engine for another search than blastp or blastx too);
// 3 when run's engine (or the step that makes its database) fails: exits
// with another status, is killed, or ignores an option, its matrix or its
// library (the engine's message follows on standard error).
#include "EngineRun.h"
#include "OutputFile.h"
#include "RecordPrinter.h"

#include <norvext/search/NorvSearch.h>

#include <CLI/CLI.hpp>

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

enum Status { kPrinted = 0, kBadInput = 1, kBadUsage = 2 };

struct ImportOptions {
    std::vector<std::string> files;
    std::string format;
    std::string fields;
    std::string svg;
    std::string output;
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

// The -o option of a subcommand that prints search records.
void addOutputOption(CLI::App* command, std::string& path) {
    command->add_option("-o,--output", path,
                        "Write the records into this file instead of standard output: whole, or not at all");
}

// Throws std::runtime_error for a `path` that is no file of output: a
// folder, a device; the reader opens it (and any file it lists).
void checkInput(const std::string& path) {
    struct stat status;
    if (::stat(path.c_str(), &status) != 0) {
        throw std::runtime_error(path + ": cannot open: " + std::strerror(errno));
    }
    if (S_ISDIR(status.st_mode)) {
        throw std::runtime_error(path + ": is a folder, not a file of search output");
    }
    if (S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode)) {
        throw std::runtime_error(path + ": is a device, not a file of search output");
    }
}

// Reads every query of every file in turn and prints it as it comes, to
// standard output or into `output`, drawing into `svg` unless it is empty.
// Stops at the first bad input; the queries read before it stay printed
// (on standard output; `output` and `svg` are then left unmade).
int importFiles(const std::vector<std::string>& files, const std::function<void(NorvSearch::SearchReader&)>& setUp,
                const std::string& output, const std::string& svg) {
    try {
        std::unique_ptr<OutputFile> outputFile = output.empty() ? nullptr : std::make_unique<OutputFile>(output);
        std::unique_ptr<OutputFile> svgFile = svg.empty() ? nullptr : std::make_unique<OutputFile>(svg);
        NorvSearch::SearchPicture picture;
        std::ostream& out = outputFile ? outputFile->stream() : std::cout;
        RecordPrinter printer(out, svgFile ? &picture : nullptr);
        for (const std::string& path : files) {
            NorvSearch::SearchReader reader(path);
            setUp(reader);
            const auto print = [&printer](NorvSearch::QueryResult&& result) { printer.add(std::move(result)); };
            try {
                if (path == "-") {
                    reader.read(std::cin, print);
                } else {
                    checkInput(path);
                    reader.readFile(path, print);  // following BLAST's list of per-query files
                }
            } catch (const NorvSearch::SearchError&) {
                printer.finish();  // the queries before the fault stand
                throw;
            }
        }
        if (!printer.finish()) {
            throw std::runtime_error((output.empty() ? std::string("standard output") : output) + ": cannot write");
        }
        if (svgFile) {
            picture.write(svgFile->stream());
            svgFile->commit();
        }
        if (outputFile) {
            outputFile->commit();
        }
        return kPrinted;
    } catch (const std::exception& error) {
        std::cout.flush();
        std::cerr << error.what() << '\n';
        return kBadInput;
    }
}

int runImport(const ImportOptions& options) {
    std::vector<std::string> fields;
    try {
        if (!options.fields.empty()) {
            fields = words(options.fields);
            NorvSearch::SearchReader().setFields(fields);  // a bad list fails before anything is read
        }
    } catch (const std::invalid_argument& problem) {
        std::cerr << "norvext-search: --fields: " << problem.what() << '\n';
        return kBadUsage;
    }
    const auto setUp = [&options, &fields](NorvSearch::SearchReader& reader) {
        if (!options.format.empty()) {
            NorvSearch::SearchFormat format;
            NorvSearch::formatFromName(options.format, format);  // CLI11 checked the name
            reader.setFormat(format);
        }
        if (!fields.empty()) {
            reader.setFields(fields);
        }
    };
    return importFiles(options.files, setUp, options.output, options.svg);
}

// The records of a run's output `file`, printed as import prints them (and
// drawn into `svg` unless it is empty).
int importRun(const std::string& file, NorvSearch::SearchFormat format, const std::vector<std::string>& fields,
              const std::string& output, const std::string& svg) {
    const auto setUp = [format, &fields](NorvSearch::SearchReader& reader) {
        reader.setFormat(format);
        if (!fields.empty()) {
            reader.setFields(fields);
        }
    };
    return importFiles({file}, setUp, output, svg);
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app("Reads the output of search engines (BLAST+, FASTA36) into search records.", "norvext-search");
    app.set_version_flag("--version", NORVEXT_VERSION);
    app.require_subcommand(1);

    ImportOptions import;
    CLI::App* importCommand =
        app.add_subcommand("import", "Print each query's hits and alignments as JSON (an array, one query a line).");
    importCommand->add_option("FILE", import.files, "BLAST XML, XML2, JSON (or the list of files of -outfmt 13 "
                                                    "and 14), BLAST or DIAMOND tabular, FASTA36 tabular or -m 10, "
                                                    "MMseqs2 tabular output, plain or gzipped, read in turn; - "
                                                    "reads standard input")
        ->required();
    importCommand->add_option("--format", import.format, "The output's format; recognised from the content when "
                                                         "not given")
        ->check(CLI::IsMember(NorvSearch::formatNames()));
    importCommand->add_option("--fields", import.fields,
                              "The columns of tabular output as BLAST or DIAMOND field keywords (\"std btop\", or "
                              "BLAST's own \"6 std btop\") or MMseqs2's (\"query,target,evalue,bits\"); they "
                              "override a '# Fields:' or header line; default: that line, else the standard 12. A "
                              "query id and a subject id column are needed");
    addSvgOption(importCommand, import.svg);
    addOutputOption(importCommand, import.output);

    EngineRun options;
    CLI::App* optionsCommand = app.add_subcommand("options", "Print the command line of the search engine that "
                                                             "runs with the given parameters.");
    options.addOptions(optionsCommand, false);
    EngineRun run;
    CLI::App* runCommand = app.add_subcommand("run", "Run the search engine with the given parameters and print "
                                                     "its hits as import does.");
    run.addOptions(runCommand, true);
    std::string runSvg, runOutput;
    addSvgOption(runCommand, runSvg);
    addOutputOption(runCommand, runOutput);

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
        return run.run([&](const std::string& file, NorvSearch::SearchFormat format,
                           const std::vector<std::string>& fields) {
            return importRun(file, format, fields, runOutput, runSvg);
        }, {runSvg, runOutput});
    }
    return runImport(import);
}
