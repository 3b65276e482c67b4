#ifndef NORVEXT_SEARCH_SEARCHERROR_H
#define NORVEXT_SEARCH_SEARCHERROR_H

#include <norvext/search/Export.h>

#include <stdexcept>
#include <string>

namespace NorvSearch {

/// Search output that cannot be read: bad syntax, a missing element or
/// column, a malformed number, a truncated file. what() is the whole message
/// as a tool prints it, "SOURCE:LINE:COLUMN: problem" (without ":COLUMN"
/// when the column is 0, i.e. unknown or the whole line; without ":LINE"
/// too when the line is 0, a failure of the stream itself).
class NORVSEARCH_API SearchError : public std::runtime_error {
public:
    /// `source` names the input (a file name, "-"), `line` and `column`
    /// count from 1 (0: not known), `problem` says what is wrong.
    SearchError(const std::string& source, unsigned long line, unsigned long column, const std::string& problem);

    /// The name of the input, as given to the reader.
    const std::string& source() const { return m_source; }
    /// The line at fault, from 1; 0 when not known.
    unsigned long line() const { return m_line; }
    /// The column at fault, from 1; 0 when not known or the whole line.
    unsigned long column() const { return m_column; }
    /// What is wrong, without the place.
    const std::string& problem() const { return m_problem; }

private:
    std::string m_source;
    unsigned long m_line;
    unsigned long m_column;
    std::string m_problem;
};

}  // namespace NorvSearch

#endif
