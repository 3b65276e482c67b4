#ifndef NORVEXT_BENCH_PEERTYPES_H
#define NORVEXT_BENCH_PEERTYPES_H

// Plain structs with the fields of the persisted classes, for the libraries a
// C++ user would pick instead: cereal and Boost.Serialization. Each struct
// lists its fields once, in persist(); both libraries read `ar & field`.
//
// The peers get their leanest setup: by-value children (no shared pointers to
// track), no class information or object tracking in Boost, and no version
// numbers in cereal (its serialize() takes no version, so it keeps no per-type
// version table).

#include <boost/serialization/level.hpp>
#include <boost/serialization/string.hpp>
#include <boost/serialization/tracking.hpp>
#include <boost/serialization/vector.hpp>

#include <cereal/types/string.hpp>
#include <cereal/types/vector.hpp>

#include <cstdint>
#include <string>
#include <vector>

namespace Peer {

struct Summary {
    std::int32_t database = -1;
    std::uint32_t id = 0, option = 0, initN = 0, init1 = 0;
    std::string dbName, sourceDB, sourceID, title, caption, extra;

    template <class Archive>
    void persist(Archive& ar) {
        ar & database & id & option & initN & init1 & dbName & sourceDB & sourceID & title & caption & extra;
    }
    template <class Archive>
    void serialize(Archive& ar) { persist(ar); }
};

// One node of a term tree. Like the library's form, a node carries its kind
// first and then only that kind's fields, so a reader knows what follows.
struct Term {
    std::int32_t kind = 0;  // 1 string term, 2 range term, 3 boolean term
    std::int32_t field = -1;
    std::string fieldName;
    std::string first, second;  // query (and nothing), or start and end
    std::int32_t compare = 0;   // string terms
    std::int32_t op = 1;        // boolean terms
    std::vector<Term> children;

    template <class Archive>
    void persist(Archive& ar) {
        ar & kind;
        switch (kind) {
        case 1:
            ar & field & fieldName & first & compare;
            break;
        case 2:
            ar & field & fieldName & first & second;
            break;
        default:
            ar & op & children;
            break;
        }
    }
    template <class Archive>
    void serialize(Archive& ar) { persist(ar); }
};

struct Query {
    std::vector<std::int32_t> databases;
    std::int32_t hitCount = 0;
    std::string dbSource, dbName;
    bool wildcard = true;
    Term term;
    std::vector<Summary> hits;

    template <class Archive>
    void persist(Archive& ar) {
        ar & databases & hitCount & dbSource & dbName & wildcard & term & hits;
    }
    template <class Archive>
    void serialize(Archive& ar) { persist(ar); }
};

struct Field {
    std::int32_t id = -1;
    std::string name, description, tag;

    template <class Archive>
    void persist(Archive& ar) { ar & id & name & description & tag; }
    template <class Archive>
    void serialize(Archive& ar) { persist(ar); }
};

struct Database {
    std::string name, description;
    std::int32_t id = -1;
    std::string tag;
    std::vector<Field> fields;

    template <class Archive>
    void persist(Archive& ar) { ar & name & description & id & tag & fields; }
    template <class Archive>
    void serialize(Archive& ar) { persist(ar); }
};

struct Catalogue {
    std::string name, description;
    std::uint32_t limit = 0;
    std::vector<Database> databases;

    template <class Archive>
    void persist(Archive& ar) { ar & name & description & limit & databases; }
    template <class Archive>
    void serialize(Archive& ar) { persist(ar); }
};

struct BlastParams {
    std::string name, locator, program, database, matrix;
    double expect = 10.0;
    std::int32_t gapOpen = 0, gapExtend = 0, xDropoff = 0, wordSize = 0, geneticCode = 1, geneticCodeDatabase = 1,
                 limit = 0;
    bool gapped = false, filter = false, protein = false, translated = false;
    std::uint32_t naMatchReward = 0, naMismatchPenalty = 0;
    std::vector<char> data;

    template <class Archive>
    void persist(Archive& ar) {
        ar & name & locator & program & database & matrix & expect & gapOpen & gapExtend & xDropoff & wordSize &
            geneticCode & geneticCodeDatabase & limit & gapped & filter & protein & translated & naMatchReward &
            naMismatchPenalty & data;
    }
    template <class Archive>
    void serialize(Archive& ar) { persist(ar); }
};

}  // namespace Peer

// Boost's entry point takes a version and lives in its own namespace, where
// cereal does not look: cereal keeps its version-free path.
#define NORV_PEER_PLAIN(T)                                                   \
    namespace boost {                                                        \
    namespace serialization {                                                \
    template <class Archive>                                                 \
    void serialize(Archive& ar, T& value, const unsigned int) {              \
        value.persist(ar);                                                   \
    }                                                                        \
    }                                                                        \
    }                                                                        \
    BOOST_CLASS_IMPLEMENTATION(T, boost::serialization::object_serializable) \
    BOOST_CLASS_TRACKING(T, boost::serialization::track_never)

NORV_PEER_PLAIN(Peer::Summary)
NORV_PEER_PLAIN(Peer::Term)
NORV_PEER_PLAIN(Peer::Query)
NORV_PEER_PLAIN(Peer::Field)
NORV_PEER_PLAIN(Peer::Database)
NORV_PEER_PLAIN(Peer::Catalogue)
NORV_PEER_PLAIN(Peer::BlastParams)

#undef NORV_PEER_PLAIN

#endif
