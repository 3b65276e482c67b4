#include "JsonNode.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <set>

namespace NorvJson {
namespace internal {

namespace {

// How an unexpected value is named in a message: numbers as they stand (so
// that a fraction or an overflow can be seen), other values by their type.
std::string described(const Json& value) {
    if (value.is_number()) {
        return "the number " + value.dump();
    }
    const std::string type = value.type_name();
    return (type == "object" || type == "array" ? "an " : "a ") + type;
}

// The value's integer, when it is one that JSON gives without a fraction.
bool integerOf(const Json& value, std::int64_t& signedValue, std::uint64_t& unsignedValue, bool& isUnsigned) {
    if (value.is_number_unsigned()) {
        unsignedValue = value.get<std::uint64_t>();
        isUnsigned = true;
        return true;
    }
    if (value.is_number_integer()) {
        signedValue = value.get<std::int64_t>();
        isUnsigned = false;
        return true;
    }
    return false;
}

// The value as a 64-bit integer within [low, high], or a JsonError.
std::int64_t ranged(const JsonNode& node, const Json& value, std::int64_t low, std::int64_t high, const char* expected) {
    std::int64_t s = 0;
    std::uint64_t u = 0;
    bool isUnsigned = false;
    if (!integerOf(value, s, u, isUnsigned)) {
        node.fail(std::string("expected ") + expected + ", found " + described(value));
    }
    if (isUnsigned ? u > static_cast<std::uint64_t>(high) : (s < low || s > high)) {
        node.fail(value.dump() + " is outside the range of " + expected + " (" + std::to_string(low) + " to " +
                  std::to_string(high) + ")");
    }
    return isUnsigned ? static_cast<std::int64_t>(u) : s;
}

std::string joined(const std::string& path, const char* name) { return path.empty() ? name : path + "." + name; }

// Where the parser stands, for the path of a member given twice: one step
// per open object (its current key) or array (its current index).
class ParsePosition {
public:
    bool step(Json::parse_event_t event, const Json& parsed) {
        using Event = Json::parse_event_t;
        switch (event) {
        case Event::object_start:
        case Event::array_start:
            countElement();
            m_steps.push_back({event == Event::array_start, -1, std::string(), {}});
            break;
        case Event::object_end:
        case Event::array_end:
            m_steps.pop_back();
            break;
        case Event::key: {
            Step& object = m_steps.back();
            object.key = parsed.get<std::string>();
            if (!object.keys.insert(object.key).second) {
                throw JsonError(path(), "given twice");
            }
            break;
        }
        case Event::value:
            countElement();
            break;
        }
        return true;
    }

private:
    struct Step {
        bool array;
        long index;
        std::string key;
        std::set<std::string> keys;
    };
    void countElement() {
        if (!m_steps.empty() && m_steps.back().array) {
            ++m_steps.back().index;
        }
    }
    std::string path() const {
        std::string out;
        for (const Step& step : m_steps) {
            out = step.array ? out + "[" + std::to_string(step.index) + "]" : joined(out, step.key.c_str());
        }
        return out;
    }

    std::vector<Step> m_steps;
};

}  // namespace

Json parseJson(const std::string& text) {
    ParsePosition position;
    try {
        return Json::parse(text, [&position](int, Json::parse_event_t event, Json& parsed) {
            return position.step(event, parsed);
        });
    } catch (const Json::exception& e) {
        // "[json.exception.parse_error.101] parse error at line 1, ...": the
        // text behind "] " says it all.
        const std::string what = e.what();
        const std::size_t at = what.find("] ");
        throw JsonError::syntax(at == std::string::npos ? what : what.substr(at + 2));
    }
}

void JsonNode::fail(const std::string& what) const { throw JsonError(m_path, what); }

void JsonNode::mismatch(const char* expected) const {
    fail(std::string("expected ") + expected + ", found " + described(m_value));
}

int JsonNode::int32() const {
    return static_cast<int>(ranged(*this, m_value, std::numeric_limits<std::int32_t>::min(),
                                   std::numeric_limits<std::int32_t>::max(), "a signed 32-bit integer"));
}

unsigned int JsonNode::uint32() const {
    return static_cast<unsigned int>(
        ranged(*this, m_value, 0, std::numeric_limits<std::uint32_t>::max(), "an unsigned 32-bit integer"));
}

bool JsonNode::flag() const {
    if (!m_value.is_boolean()) {
        mismatch("true or false");
    }
    return m_value.get<bool>();
}

const std::string& JsonNode::text() const {
    if (!m_value.is_string()) {
        mismatch("a string");
    }
    return m_value.get_ref<const std::string&>();
}

std::vector<JsonNode> JsonNode::elements() const {
    if (!m_value.is_array()) {
        mismatch("an array");
    }
    std::vector<JsonNode> nodes;
    nodes.reserve(m_value.size());
    for (std::size_t i = 0; i < m_value.size(); ++i) {
        nodes.emplace_back(m_value[i], m_path + "[" + std::to_string(i) + "]");
    }
    return nodes;
}

void JsonNode::expectMembers(const std::vector<const char*>& names) const {
    if (!m_value.is_object()) {
        mismatch("an object");
    }
    for (const char* name : names) {
        if (!m_value.contains(name)) {
            throw JsonError(joined(m_path, name), "missing");
        }
    }
    for (const auto& item : m_value.items()) {
        const bool known = std::any_of(names.begin(), names.end(), [&](const char* name) { return item.key() == name; });
        if (!known) {
            throw JsonError(joined(m_path, item.key().c_str()), "unknown member");
        }
    }
}

JsonNode JsonNode::member(const char* name) const {
    if (!m_value.is_object()) {
        mismatch("an object");
    }
    const auto found = m_value.find(name);
    if (found == m_value.end()) {
        throw JsonError(joined(m_path, name), "missing");
    }
    return JsonNode(*found, joined(m_path, name));
}

}  // namespace internal
}  // namespace NorvJson
