#ifndef NORVEXT_TESTS_SUPPORT_SAMPLETEXTS_H
#define NORVEXT_TESTS_SUPPORT_SAMPLETEXTS_H

#include <vector>

namespace NorvTest {
namespace internal {

// One file of tests/samples: "<Class>-<index>" and its JSON text.
struct SampleText {
    const char* name;
    const char* json;
};

// Every sample file, ordered by name.
const std::vector<SampleText>& sampleTexts();

}  // namespace internal
}  // namespace NorvTest

#endif
