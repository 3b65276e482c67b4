#include <norvext/json/JsonMapping.h>

#include "internal/JsonEncoding.h"
#include "internal/JsonNode.h"

#include <norvext/PersistedClasses.h>
#include <norvext/catalogue/internal/DBDatabaseFields.h>
#include <norvext/catalogue/internal/DBFieldFields.h>
#include <norvext/catalogue/internal/DBInfoFields.h>
#include <norvext/catalogue/internal/QueryDBInfoFields.h>
#include <norvext/catalogue/internal/XBlastDBInfoFields.h>
#include <norvext/params/internal/FastAParamsFields.h>
#include <norvext/params/internal/XBlastParamsFields.h>
#include <norvext/query/internal/DBBooleanTermFields.h>
#include <norvext/query/internal/DBQueryFields.h>
#include <norvext/query/internal/DBRangeTermFields.h>
#include <norvext/query/internal/DBStringTermFields.h>
#include <norvext/query/internal/SummaryFields.h>

#include <boost/make_shared.hpp>

#include <functional>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <vector>

namespace NorvJson {

namespace {

using namespace Norv;
using internal::bytesFromJson;
using internal::bytesToJson;
using internal::Json;
using internal::JsonNode;
using internal::realFromJson;
using internal::realToJson;
// The lists of the persisted fields.
namespace fields = Norv::internal;

Json termValue(const DBTerm& term);
boost::shared_ptr<DBTerm> termFromValue(const JsonNode& node);

// One JSON member of class T: its name, how it is taken from an object and
// how it is given to one.
template <class T>
struct Member {
    using Get = std::function<Json(const T&)>;
    using Set = std::function<void(T&, const JsonNode&)>;

    Member(const char* memberName, Get getter, Set setter)
        : name(memberName), get(std::move(getter)), set(std::move(setter)) {}
    // A member of a base class serves the derived class as it is.
    template <class Base, class = std::enable_if_t<std::is_base_of<Base, T>::value && !std::is_same<Base, T>::value>>
    Member(const Member<Base>& base) : name(base.name), get(base.get), set(base.set) {}

    const char* name;
    Get get;
    Set set;
};

template <class T>
using Members = std::vector<Member<T>>;

// The members of each class, in persisted order, made from its list of
// fields (defined below).
template <class T>
const Members<T>& members();

template <class T>
Json objectToJson(const T& object, Json out = Json::object()) {
    for (const Member<T>& m : members<T>()) {
        out[m.name] = m.get(object);
    }
    return out;
}

// Gives `object` every member of `node`, which must hold exactly the
// members of T (and `extra`, which the caller reads itself), then finishes
// it as read() does.
template <class T>
void fillObject(T& object, const JsonNode& node, std::vector<const char*> names = {}) {
    for (const Member<T>& m : members<T>()) {
        names.push_back(m.name);
    }
    node.expectMembers(names);
    for (const Member<T>& m : members<T>()) {
        m.set(object, node.member(m.name));
    }
    fields::forEachField<T>([&object](const auto& entry) {
        if constexpr (std::is_same<std::decay_t<decltype(entry)>, fields::AfterRead<T>>::value) {
            entry.finish(object);
        }
    });
}

template <class T>
T objectFromJson(const JsonNode& node) {
    T object;
    fillObject(object, node);
    return object;
}

// Elements of the lists: objects by value, shared objects, term trees and ids.
template <class E>
struct Tag {};

template <class T>
Json elementToJson(const T& object) {
    return objectToJson(object);
}
Json elementToJson(const boost::shared_ptr<Summary>& hit) { return objectToJson(*hit); }
Json elementToJson(const boost::shared_ptr<DBTerm>& term) { return termValue(*term); }
Json elementToJson(int id) { return id; }

template <class T>
T elementFromJson(const JsonNode& node, Tag<T>) {
    return objectFromJson<T>(node);
}
boost::shared_ptr<Summary> elementFromJson(const JsonNode& node, Tag<boost::shared_ptr<Summary>>) {
    return boost::make_shared<Summary>(objectFromJson<Summary>(node));
}
boost::shared_ptr<DBTerm> elementFromJson(const JsonNode& node, Tag<boost::shared_ptr<DBTerm>>) {
    return termFromValue(node);
}
int elementFromJson(const JsonNode& node, Tag<int>) { return node.int32(); }

// A JSON array of the elements, each taken back and appended.
template <class Elements>
Json arrayToJson(const Elements& elements) {
    Json array = Json::array();
    for (const auto& element : elements) {
        array.push_back(elementToJson(element));
    }
    return array;
}
template <class Elements>
void arrayFromJson(const JsonNode& node, Elements& elements) {
    for (const JsonNode& element : node.elements()) {
        elements.push_back(elementFromJson(element, Tag<typename Elements::value_type>()));
    }
}

// The JSON form of each kind of plain value.
Json valueToJson(fields::Text, const std::string& value) { return bytesToJson(value); }
void valueFromJson(fields::Text, const JsonNode& node, std::string& value) { value = bytesFromJson(node); }

Json valueToJson(fields::Bytes, const std::vector<char>& value) {
    return bytesToJson(std::string(value.begin(), value.end()));
}
void valueFromJson(fields::Bytes, const JsonNode& node, std::vector<char>& value) {
    const std::string bytes = bytesFromJson(node);
    value.assign(bytes.begin(), bytes.end());
}

Json valueToJson(fields::Int32, int value) { return value; }
void valueFromJson(fields::Int32, const JsonNode& node, int& value) { value = node.int32(); }

Json valueToJson(fields::UInt32, unsigned int value) { return value; }
void valueFromJson(fields::UInt32, const JsonNode& node, unsigned int& value) { value = node.uint32(); }

Json valueToJson(fields::Flag, bool value) { return value; }
void valueFromJson(fields::Flag, const JsonNode& node, bool& value) { value = node.flag(); }

Json valueToJson(fields::Real, double value) { return realToJson(value); }
void valueFromJson(fields::Real, const JsonNode& node, double& value) { value = realFromJson(node); }

// The whole value goes out, but only 32 unsigned bits come back, as in a
// buffer.
Json valueToJson(fields::Low32, long long value) { return value; }
void valueFromJson(fields::Low32, const JsonNode& node, long long& value) { value = node.uint32(); }

// An enumeration as its name; a JSON text must name a value of the range.
template <class E>
Json valueToJson(const fields::Named<E>& kind, E value) {
    return kind.nameOf(value);
}
template <class E>
void valueFromJson(const fields::Named<E>& kind, const JsonNode& node, E& value, const char* name) {
    std::string known;
    for (int code = kind.first; code <= kind.last; ++code) {
        if (node.text() == kind.nameOf(static_cast<E>(code))) {
            value = static_cast<E>(code);
            return;
        }
        known += std::string(code == kind.first ? "" : code == kind.last ? " or " : ", ") +
                 kind.nameOf(static_cast<E>(code));
    }
    node.fail("unknown " + std::string(name) + " '" + node.text() + "' (" + known + ")");
}

template <class Kind, class V>
void valueFromJson(const Kind& kind, const JsonNode& node, V& value, const char*) {
    valueFromJson(kind, node, value);
}

// The members that each entry of a list gives: a field one, a base class
// all of its own, a type code or a step after reading none.
template <class T, class V, class K>
void addMembers(Members<T>& out, const fields::Field<T, V, K>& f) {
    out.emplace_back(
        f.jsonKey(), [f](const T& o) { return valueToJson(f.kind, o.*f.member); },
        [f](T& o, const JsonNode& n) { valueFromJson(f.kind, n, o.*f.member, f.jsonKey()); });
}

template <class T, class V>
void addMembers(Members<T>& out, const fields::TextForm<T, V>& f) {
    out.emplace_back(
        f.jsonKey(), [f](const T& o) { return arrayToJson(o.*f.member); },
        [f](T& o, const JsonNode& n) { arrayFromJson(n, o.*f.member); });
}

template <class T, class E, fields::ReadMode M>
void addMembers(Members<T>& out, const fields::Children<T, E, M>& f) {
    out.emplace_back(
        f.jsonKey, [f](const T& o) { return arrayToJson(o.*f.member); },
        [f](T& o, const JsonNode& n) { arrayFromJson(n, o.*f.member); });
}

// A missing child is null.
template <class T, class E>
void addMembers(Members<T>& out, const fields::Child<T, E>& f) {
    out.emplace_back(
        f.jsonKey, [f](const T& o) { return o.*f.member ? elementToJson(o.*f.member) : Json(); },
        [f](T& o, const JsonNode& n) { o.*f.member = elementFromJson(n, Tag<boost::shared_ptr<E>>()); });
}

template <class T, class B>
void addMembers(Members<T>& out, const fields::Base<B>&) {
    for (const Member<B>& m : members<B>()) {
        out.push_back(m);
    }
}

template <class T, class Entry>
void addMembers(Members<T>&, const Entry&) {}

template <class T>
const Members<T>& members() {
    static const Members<T> table = [] {
        Members<T> all;
        fields::forEachField<T>([&all](const auto& entry) { addMembers(all, entry); });
        return all;
    }();
    return table;
}

// The term classes of the list, each under the name that its "class"
// member gives.
struct TermClass {
    const char* name;
    const std::type_info& type;
    Json (*toJson)(const DBTerm& term, Json out);
    boost::shared_ptr<DBTerm> (*fromJson)(const JsonNode& node);
};

const char kClassKey[] = "class";

template <class T>
Json termAs(const DBTerm& term, Json out) {
    return objectToJson(static_cast<const T&>(term), std::move(out));
}

template <class T>
boost::shared_ptr<DBTerm> makeTerm(const JsonNode& node) {
    const boost::shared_ptr<T> term = boost::make_shared<T>();
    fillObject(*term, node, {kClassKey});
    return term;
}

const std::vector<TermClass>& termClasses() {
    static const std::vector<TermClass> classes = [] {
        std::vector<TermClass> all;
        forEachPersistedClass([&all](auto entry) {
            using T = typename decltype(entry)::Class;
            if constexpr (decltype(entry)::s_isTerm) {
                all.push_back({entry.name, typeid(T), &termAs<T>, &makeTerm<T>});
            }
        });
        return all;
    }();
    return classes;
}

// "DBStringTerm, DBRangeTerm or DBBooleanTerm".
std::string termClassNames() {
    std::string names;
    const std::vector<TermClass>& all = termClasses();
    for (std::size_t i = 0; i < all.size(); ++i) {
        names += std::string(i == 0 ? "" : i + 1 == all.size() ? " or " : ", ") + all[i].name;
    }
    return names;
}

Json termValue(const DBTerm& term) {
    for (const TermClass& c : termClasses()) {
        if (typeid(term) == c.type) {
            Json out = Json::object();
            out[kClassKey] = c.name;
            return c.toJson(term, std::move(out));
        }
    }
    throw std::logic_error(std::string("no JSON form for the term class ") + typeid(term).name());
}

boost::shared_ptr<DBTerm> termFromValue(const JsonNode& node) {
    // The path tells how deep the term stands: the root at depth 1, one more
    // for each "terms[" step. Deeper terms would write bytes that the term
    // factory refuses to read.
    int depth = 1;
    for (std::size_t at = node.path().find("terms["); at != std::string::npos; at = node.path().find("terms[", at + 1)) {
        ++depth;
    }
    if (depth > DBTerm::s_maxDepth) {
        node.fail("a term nested deeper than " + std::to_string(DBTerm::s_maxDepth) + " levels, which the term factory does not read");
    }
    const JsonNode name = node.member(kClassKey);
    for (const TermClass& c : termClasses()) {
        if (name.text() == c.name) {
            return c.fromJson(node);
        }
    }
    name.fail("unknown term class '" + name.text() + "' (" + termClassNames() + ")");
}

std::string printed(const Json& value, int indent) { return value.dump(indent); }

// A persisted class read from a JSON node: a term through its "class".
template <class T>
T objectOf(const JsonNode& node) {
    if constexpr (PersistedClass<T>::s_isTerm) {
        const boost::shared_ptr<DBTerm> term = termFromValue(node);
        const T* typed = dynamic_cast<const T*>(term.get());
        if (typed == nullptr) {
            const JsonNode name = node.member(kClassKey);
            name.fail("'" + name.text() + "' where a " + persistedClassName<T>() + " is expected");
        }
        return *typed;
    } else {
        return objectFromJson<T>(node);
    }
}

template <class T>
Json valueOf(const T& object) {
    if constexpr (PersistedClass<T>::s_isTerm) {
        return termValue(object);
    } else {
        return objectToJson(object);
    }
}

}  // namespace

template <class T>
std::string toJson(const T& object, int indent) {
    return printed(valueOf(object), indent);
}

template <class T>
T fromJson(const std::string& text) {
    const Json value = internal::parseJson(text);
    return objectOf<T>(JsonNode(value));
}

std::string termToJson(const DBTerm& term, int indent) { return printed(termValue(term), indent); }

boost::shared_ptr<DBTerm> termFromJson(const std::string& text) {
    const Json value = internal::parseJson(text);
    return termFromValue(JsonNode(value));
}

namespace internal {

// Both directions of every class of the list, instantiated here so that the
// library holds and exports them: a variable of external linkage takes their
// addresses, which no optimisation drops.
template <class... Entry>
constexpr auto instantiate(const std::tuple<Entry...>*) {
    return std::make_tuple(std::make_pair(&toJson<typename Entry::Class>, &fromJson<typename Entry::Class>)...);
}
extern const auto kEveryClass = instantiate(static_cast<const PersistedClasses*>(nullptr));

}  // namespace internal

}  // namespace NorvJson
