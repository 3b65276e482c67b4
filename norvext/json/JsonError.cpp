#include <norvext/json/JsonError.h>

namespace NorvJson {

JsonError::JsonError(const std::string& path, const std::string& problem)
    : std::runtime_error((path.empty() ? "(top level)" : path) + ": " + problem), m_path(path), m_problem(problem) {}

JsonError::JsonError(SyntaxTag, const std::string& message)
    : std::runtime_error(message), m_problem(message), m_syntax(true) {}

JsonError JsonError::syntax(const std::string& message) { return JsonError(SyntaxTag(), message); }

}  // namespace NorvJson
