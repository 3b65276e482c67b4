#ifndef NORVEXT_JSON_JSONERROR_H
#define NORVEXT_JSON_JSONERROR_H

#include <norvext/json/Export.h>

#include <stdexcept>
#include <string>

namespace NorvJson {

/// A JSON text that does not describe an object: bad syntax, or a value that
/// does not fit the member it stands for. what() is the whole message, as a
/// tool prints it: "hits[3].title: missing", "(top level): expected an
/// object, found an array", "parse error at line 5, column 17: ...".
class NORVJSON_API JsonError : public std::runtime_error {
public:
    /// A value at fault: `path` leads to it from the top ("hits[3].title",
    /// empty for the top level), `problem` says what is wrong with it.
    JsonError(const std::string& path, const std::string& problem);

    /// A text that is not JSON at all; `message` names line and column.
    static JsonError syntax(const std::string& message);

    /// The path of the value at fault; empty for the top level and for a
    /// syntax error.
    const std::string& path() const { return m_path; }
    /// What is wrong, without the path.
    const std::string& problem() const { return m_problem; }
    /// Whether the text is not JSON at all (rather than JSON that does not fit).
    bool isSyntax() const { return m_syntax; }

private:
    struct SyntaxTag {};
    JsonError(SyntaxTag, const std::string& message);

    std::string m_path;
    std::string m_problem;
    bool m_syntax = false;
};

}  // namespace NorvJson

#endif
