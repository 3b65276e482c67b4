#include <norvext/json/JsonMapping.h>

#include "internal/JsonEncoding.h"
#include "internal/JsonNode.h"

#include <norvext/PersistedClasses.h>

#include <boost/make_shared.hpp>

#include <functional>
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

// The members of each class, in persisted order (defined below, per class).
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
// members of T (and `extra`, which the caller reads itself).
template <class T>
void fillObject(T& object, const JsonNode& node, std::vector<const char*> names = {}) {
    for (const Member<T>& m : members<T>()) {
        names.push_back(m.name);
    }
    node.expectMembers(names);
    for (const Member<T>& m : members<T>()) {
        m.set(object, node.member(m.name));
    }
}

template <class T>
T objectFromJson(const JsonNode& node) {
    T object;
    fillObject(object, node);
    return object;
}

// Elements of the lists: objects by value, shared objects, term trees and ids.
template <class T>
Json elementToJson(const T& object) {
    return objectToJson(object);
}
Json elementToJson(const boost::shared_ptr<Summary>& hit) { return objectToJson(*hit); }
Json elementToJson(const boost::shared_ptr<DBTerm>& term) { return termValue(*term); }
Json elementToJson(int id) { return id; }

// Member makers, one per kind of field. A setter may be a member function
// or a callable (for a class that takes the field only through a
// constructor); the default Set picks the setter out of an overloaded name
// such as useFilter.
template <class T, class Set>
Member<T> int32(const char* name, int (T::*get)() const, Set set) {
    return {name, [get](const T& o) { return Json((o.*get)()); },
            [set](T& o, const JsonNode& n) { std::invoke(set, o, n.int32()); }};
}

template <class T, class Set = void (T::*)(unsigned int)>
Member<T> uint32(const char* name, unsigned int (T::*get)() const, Set set) {
    return {name, [get](const T& o) { return Json((o.*get)()); },
            [set](T& o, const JsonNode& n) { std::invoke(set, o, n.uint32()); }};
}

template <class T, class Set = void (T::*)(bool)>
Member<T> flag(const char* name, bool (T::*get)() const, Set set) {
    return {name, [get](const T& o) { return Json((o.*get)()); },
            [set](T& o, const JsonNode& n) { std::invoke(set, o, n.flag()); }};
}

template <class T>
Member<T> real(const char* name, double (T::*get)() const, void (T::*set)(double)) {
    return {name, [get](const T& o) { return realToJson((o.*get)()); },
            [set](T& o, const JsonNode& n) { (o.*set)(realFromJson(n)); }};
}

template <class T, class Text, class Set>
Member<T> text(const char* name, Text (T::*get)() const, Set set) {
    return {name, [get](const T& o) { return bytesToJson((o.*get)()); },
            [set](T& o, const JsonNode& n) { std::invoke(set, o, bytesFromJson(n)); }};
}

template <class T, class Set>
Member<T> blob(const char* name, const std::vector<char>& (T::*get)() const, Set set) {
    return {name,
            [get](const T& o) {
                const std::vector<char>& data = (o.*get)();
                return bytesToJson(std::string(data.begin(), data.end()));
            },
            [set](T& o, const JsonNode& n) {
                const std::string bytes = bytesFromJson(n);
                std::invoke(set, o, std::vector<char>(bytes.begin(), bytes.end()));
            }};
}

// A JSON array of the elements that `get` gives; `add` takes each back.
template <class T, class Get, class Add>
Member<T> list(const char* name, Get get, Add add) {
    return {name,
            [get](const T& o) {
                Json array = Json::array();
                for (const auto& element : std::invoke(get, o)) {
                    array.push_back(elementToJson(element));
                }
                return array;
            },
            [add](T& o, const JsonNode& n) {
                for (const JsonNode& element : n.elements()) {
                    add(o, element);
                }
            }};
}

// An enumeration as the name that `nameOf` gives its value; a JSON text
// must be the name of a value from `first` to `last`.
template <class T, class E, class Set>
Member<T> named(const char* name, E (T::*get)() const, const char* (*nameOf)(E), int first, int last, Set set) {
    return {name, [get, nameOf](const T& o) { return Json(nameOf((o.*get)())); },
            [=](T& o, const JsonNode& n) {
                std::string known;
                for (int value = first; value <= last; ++value) {
                    if (n.text() == nameOf(static_cast<E>(value))) {
                        set(o, static_cast<E>(value));
                        return;
                    }
                    known += std::string(value == first ? "" : value == last ? " or " : ", ") + nameOf(static_cast<E>(value));
                }
                n.fail("unknown " + std::string(name) + " '" + n.text() + "' (" + known + ")");
            }};
}

// Name and description, which every database description writes first.
const Member<DBInfo> kInfoName = text("name", &DBInfo::getName, &DBInfo::setName);
const Member<DBInfo> kInfoDescription = text("description", &DBInfo::getDescription, &DBInfo::setDescription);

// The classes without a setter for some fields take them through a
// constructor: a changed value makes a new object from the others.
void remake(DBStringTerm& t, const std::string& query, DBTerm::Compare compare) {
    DBStringTerm made(t.getField(), query, compare);
    made.setFieldName(t.getFieldName());
    t = made;
}
void remake(DBRangeTerm& t, const std::string& start, const std::string& end) {
    DBRangeTerm made(t.getField(), start, end);
    made.setFieldName(t.getFieldName());
    t = made;
}
void remake(DBBooleanTerm& t, DBBooleanTerm::Op op) {
    DBBooleanTerm made(op);
    for (const auto& child : t.getTerms()) {
        made.addTerm(child);
    }
    t = made;
}
void remake(XBlastDBInfo& d, unsigned int length, unsigned int sequenceCount, bool isProtein) {
    d = XBlastDBInfo(d.getName(), d.getDescription(), length, sequenceCount, isProtein);
}

template <>
const Members<DBField>& members() {
    static const Members<DBField> table = {
        int32("id", &DBField::getID, &DBField::setID),
        text("name", &DBField::getName, &DBField::setName),
        text("description", &DBField::getDescription, &DBField::setDescription),
        text("tag", &DBField::getTag, &DBField::setTag),
    };
    return table;
}

template <>
const Members<DBDatabase>& members() {
    static const Members<DBDatabase> table = {
        kInfoName,
        kInfoDescription,
        int32("id", &DBDatabase::getID, &DBDatabase::setID),
        text("tag", &DBDatabase::getTag, &DBDatabase::setTag),
        list<DBDatabase>("fields", &DBDatabase::getFields,
                         [](DBDatabase& d, const JsonNode& n) { d.add(objectFromJson<DBField>(n)); }),
    };
    return table;
}

template <>
const Members<QueryDBInfo>& members() {
    static const Members<QueryDBInfo> table = {
        kInfoName,
        kInfoDescription,
        uint32("limit", &QueryDBInfo::getLimit, &QueryDBInfo::setLimit),
        list<QueryDBInfo>("info", &QueryDBInfo::getInfo,
                          [](QueryDBInfo& c, const JsonNode& n) { c.add(objectFromJson<DBDatabase>(n)); }),
    };
    return table;
}

template <>
const Members<XBlastDBInfo>& members() {
    static const Members<XBlastDBInfo> table = {
        kInfoName,
        kInfoDescription,
        uint32("length", &XBlastDBInfo::getLength,
               [](XBlastDBInfo& d, unsigned int v) { remake(d, v, d.getSequenceCount(), d.isProtein()); }),
        uint32("sequenceCount", &XBlastDBInfo::getSequenceCount,
               [](XBlastDBInfo& d, unsigned int v) { remake(d, d.getLength(), v, d.isProtein()); }),
        flag("isProtein", &XBlastDBInfo::isProtein,
             [](XBlastDBInfo& d, bool v) { remake(d, d.getLength(), d.getSequenceCount(), v); }),
    };
    return table;
}

template <>
const Members<Summary>& members() {
    static const Members<Summary> table = {
        int32("database", &Summary::getDatabase, &Summary::setDatabase),
        uint32("id", &Summary::getID, &Summary::setID),
        uint32("option", &Summary::getOption, &Summary::setOption),
        uint32("initN", &Summary::getInitN, &Summary::setInitN),
        uint32("init1", &Summary::getInit1, &Summary::setInit1),
        text("dbName", &Summary::getDBName, &Summary::setDBName),
        text("sourceDB", &Summary::getSourceDB, &Summary::setSourceDB),
        text("sourceID", &Summary::getSourceID, &Summary::setSourceID),
        text("title", &Summary::getTitle, &Summary::setTitle),
        text("caption", &Summary::getCaption, &Summary::setCaption),
        text("extra", &Summary::getExtra, &Summary::setExtra),
    };
    return table;
}

template <>
const Members<DBStringTerm>& members() {
    static const Members<DBStringTerm> table = {
        int32("field", &DBStringTerm::getField, &DBStringTerm::setFieldId),
        text("fieldName", &DBStringTerm::getFieldName, &DBStringTerm::setFieldName),
        text("query", &DBStringTerm::getQuery,
             [](DBStringTerm& t, const std::string& v) { remake(t, v, t.getCompare()); }),
        named("compare", &DBStringTerm::getCompare, &DBTerm::compName, DBTerm::EQ, DBTerm::LIKE,
              [](DBStringTerm& t, DBTerm::Compare v) { remake(t, t.getQuery(), v); }),
    };
    return table;
}

template <>
const Members<DBRangeTerm>& members() {
    static const Members<DBRangeTerm> table = {
        int32("field", &DBRangeTerm::getField, &DBRangeTerm::setFieldId),
        text("fieldName", &DBRangeTerm::getFieldName, &DBRangeTerm::setFieldName),
        text("begin", &DBRangeTerm::getStart, [](DBRangeTerm& t, const std::string& v) { remake(t, v, t.getEnd()); }),
        text("end", &DBRangeTerm::getEnd, [](DBRangeTerm& t, const std::string& v) { remake(t, t.getStart(), v); }),
    };
    return table;
}

template <>
const Members<DBBooleanTerm>& members() {
    static const Members<DBBooleanTerm> table = {
        named("op", &DBBooleanTerm::getOp, &DBBooleanTerm::opName, DBBooleanTerm::AND, DBBooleanTerm::NOT,
              [](DBBooleanTerm& t, DBBooleanTerm::Op v) { remake(t, v); }),
        list<DBBooleanTerm>("terms", &DBBooleanTerm::getTerms,
                            [](DBBooleanTerm& t, const JsonNode& n) { t.addTerm(termFromValue(n)); }),
    };
    return table;
}

template <>
const Members<DBQuery>& members() {
    static const Members<DBQuery> table = {
        list<DBQuery>("databases", &DBQuery::getDatabases,
                      [](DBQuery& q, const JsonNode& n) { q.addDatabase(n.int32()); }),
        int32("hitCount", &DBQuery::getHitCount, &DBQuery::setHitCount),
        text("dbSource", &DBQuery::getDBSource, &DBQuery::setDBSource),
        text("dbName", &DBQuery::getDBName, &DBQuery::setDBName),
        flag("wildcard", &DBQuery::isWildcard, &DBQuery::setWildcard),
        Member<DBQuery>("term", [](const DBQuery& q) { return q.getTerm() ? termValue(*q.getTerm()) : Json(); },
                        [](DBQuery& q, const JsonNode& n) { q.setTerm(termFromValue(n)); }),
        list<DBQuery>("hits", &DBQuery::getHits,
                      [](DBQuery& q, const JsonNode& n) { q.add(boost::make_shared<Summary>(objectFromJson<Summary>(n))); }),
    };
    return table;
}

template <>
const Members<XBlastParams>& members() {
    static const Members<XBlastParams> table = {
        text("name", &XBlastParams::getName, &XBlastParams::setName),
        text("locator", &XBlastParams::getLocator, &XBlastParams::setLocator),
        text("program", &XBlastParams::getProgram, &XBlastParams::setProgram),
        text("database", &XBlastParams::getDatabase, &XBlastParams::setDatabase),
        text("matrix", &XBlastParams::getMatrix, &XBlastParams::setMatrix),
        real("expect", &XBlastParams::getExpect, &XBlastParams::setExpect),
        int32("gapOpen", &XBlastParams::getGapOpen, &XBlastParams::setGapOpen),
        int32("gapExtend", &XBlastParams::getGapExtend, &XBlastParams::setGapExtend),
        int32("xDropoff", &XBlastParams::getXDropoff, &XBlastParams::setXDropoff),
        int32("wordSize", &XBlastParams::getWordSize, &XBlastParams::setWordSize),
        int32("geneticCode", &XBlastParams::getGeneticCode, &XBlastParams::setGeneticCode),
        int32("geneticCode DB", &XBlastParams::getGeneticCodeDatabase, &XBlastParams::setGeneticCodeDatabase),
        int32("limit", &XBlastParams::getLimit, &XBlastParams::setLimit),
        flag("doGapped", &XBlastParams::doGapped, &XBlastParams::doGapped),
        flag("useFilter", &XBlastParams::useFilter, &XBlastParams::useFilter),
        flag("isProtein", &XBlastParams::isProtein, &XBlastParams::setProtein),
        flag("isTranslated", &XBlastParams::isTranslated, &XBlastParams::setTranslated),
        uint32("matchReward", &XBlastParams::getNAMatchReward, &XBlastParams::setNAMatchReward),
        uint32("mismatchPenalty", &XBlastParams::getNAMismatchPenalty, &XBlastParams::setNAMismatchPenalty),
        // Last, as read() does it: setData applies the RNA fix by the flag set above.
        blob("data", &XBlastParams::getData, [](XBlastParams& p, const std::vector<char>& v) {
            p.setData(v.data(), static_cast<unsigned int>(v.size()));
        }),
    };
    return table;
}

template <>
const Members<FastAParams>& members() {
    static const Members<FastAParams> table = {
        text("database", &FastAParams::getDatabase, &FastAParams::setDatabase),
        text("algorithm", &FastAParams::getAlgorithm, &FastAParams::setAlgorithm),
        text("optimization", &FastAParams::getOptimization, &FastAParams::setOptimization),
        text("translation", &FastAParams::getTranslation, &FastAParams::setTranslation),
        real("expect", &FastAParams::getExpect, &FastAParams::setExpect),
        int32("dbType", &FastAParams::getDatabaseType, &FastAParams::setDatabaseType),
        int32("constraint", &FastAParams::getOutputConstraint, &FastAParams::setOutputConstraint),
        uint32("shiftVal", &FastAParams::getShiftValue, &FastAParams::setShiftValue),
        uint32("limit", &FastAParams::getLimit, &FastAParams::setLimit),
        uint32("wordSize", &FastAParams::getWordSize, &FastAParams::setWordSize),
        uint32("optThreshold", &FastAParams::getOptimizationThreshold, &FastAParams::setOptimizationThreshold),
        // Only the low 32 bits travel, and they read back as an unsigned value.
        Member<FastAParams>("earliest", [](const FastAParams& p) { return Json(p.getEarliest()); },
                            [](FastAParams& p, const JsonNode& n) { p.setEarliest(n.uint32()); }),
        flag("useEarliest", &FastAParams::useEarliest, &FastAParams::useEarliest),
        uint32("gapCreate", &FastAParams::getGapCreate, &FastAParams::setGapCreate),
        uint32("gapExt", &FastAParams::getGapExt, &FastAParams::setGapExt),
        text("matrix", &FastAParams::getMatrix, &FastAParams::setMatrix),
        flag("matrixDiagonals", &FastAParams::useMatrixDiagonals, &FastAParams::useMatrixDiagonals),
        flag("topStrand", &FastAParams::useTopStrand, &FastAParams::useTopStrand),
        flag("smithWaterman", &FastAParams::useSmithWaterman, &FastAParams::useSmithWaterman),
        blob("data", &FastAParams::getData, [](FastAParams& p, const std::vector<char>& v) { p.data() = v; }),
    };
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
