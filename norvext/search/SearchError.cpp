#include <norvext/search/SearchError.h>

namespace NorvSearch {
namespace {

std::string place(const std::string& source, unsigned long line, unsigned long column) {
    std::string text = source;
    if (line != 0) {
        text += ':' + std::to_string(line);
    }
    if (line != 0 && column != 0) {
        text += ':' + std::to_string(column);
    }
    return text;
}

}  // namespace

SearchError::SearchError(const std::string& source, unsigned long line, unsigned long column,
                         const std::string& problem)
    : std::runtime_error(place(source, line, column) + ": " + problem),
      m_source(source),
      m_line(line),
      m_column(column),
      m_problem(problem) {}

}  // namespace NorvSearch
