#ifndef NORVEXT_JSON_INTERNAL_JSONNODE_H
#define NORVEXT_JSON_INTERNAL_JSONNODE_H

// A value of a JSON document together with its path from the top, read as
// the persisted types need it. Every read checks the JSON type and range and
// throws JsonError naming the path on a mismatch.

#include <norvext/json/JsonError.h>

#include <nlohmann/json.hpp>

#include <cstddef>
#include <string>
#include <vector>

namespace NorvJson {
namespace internal {

// Member order matters: objects print their members in persisted order.
using Json = nlohmann::ordered_json;

// The JSON document in `text`. Throws JsonError for bad syntax, a number
// too large for a double, and a member that an object gives twice (which the
// JSON library would take once).
Json parseJson(const std::string& text);

class JsonNode {
public:
    // The value must outlive the node and every node taken from it.
    explicit JsonNode(const Json& value, std::string path = std::string()) : m_value(value), m_path(std::move(path)) {}

    const Json& value() const { return m_value; }
    const std::string& path() const { return m_path; }
    // Throws JsonError at this node's path.
    [[noreturn]] void fail(const std::string& what) const;

    // The value as a number in the range of a signed or an unsigned 32-bit
    // integer; throws for another JSON type, a fraction or a value outside.
    int int32() const;
    unsigned int uint32() const;
    // The value as true or false; throws for another JSON type.
    bool flag() const;
    // The value as a JSON string; throws for another JSON type.
    const std::string& text() const;
    // The elements of a JSON array, in order; throws for another JSON type.
    std::vector<JsonNode> elements() const;
    // Checks that the value is an object with exactly the members `names`
    // (none missing, none other); throws naming the first one at fault.
    void expectMembers(const std::vector<const char*>& names) const;
    // The object's member `name`, which must be present.
    JsonNode member(const char* name) const;

private:
    // "expected <expected>, found <what the value is>".
    [[noreturn]] void mismatch(const char* expected) const;

    const Json& m_value;
    std::string m_path;
};

}  // namespace internal
}  // namespace NorvJson

#endif
