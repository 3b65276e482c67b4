#ifndef NORVEXT_SEARCH_INTERNAL_WORDS_H
#define NORVEXT_SEARCH_INTERNAL_WORDS_H

// The words of engine command lines: names in lower case, numbers as short
// as they read back.

#include <string>

namespace NorvSearch {
namespace internal {

// `text` with ASCII letters in lower case.
std::string lowerCase(std::string text);

// The shortest text that reads back as `value`: 10.0 prints as "10".
std::string shortestNumber(double value);

}  // namespace internal
}  // namespace NorvSearch

#endif
