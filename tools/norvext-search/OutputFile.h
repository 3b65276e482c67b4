#ifndef NORVEXT_TOOLS_SEARCH_OUTPUTFILE_H
#define NORVEXT_TOOLS_SEARCH_OUTPUTFILE_H

#include <fstream>
#include <string>

// A file that appears whole or not at all: written under a temporary name
// beside it, renamed to its own name by commit(), removed when the file is
// let go uncommitted (the run failed).
class OutputFile {
public:
    // Opens the temporary file beside `path`; throws std::runtime_error
    // ("PATH: cannot write: reason") when it cannot be made.
    explicit OutputFile(const std::string& path);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    std::ostream& stream() { return m_stream; }
    // Closes the file and gives it its name; throws std::runtime_error
    // when it could not be written whole.
    void commit();

private:
    std::string m_path;
    std::string m_temporary;
    std::ofstream m_stream;
    bool m_committed = false;
};

#endif
