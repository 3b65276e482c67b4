#ifndef NORVEXT_PERSISTEDCLASSES_H
#define NORVEXT_PERSISTEDCLASSES_H

/// \file
/// The one list of the classes that persist themselves through an AlignedBuf.
/// Whatever must cover every such class (the JSON mapping, the tools' tables
/// of types, the typed tests, the fuzz targets) takes them from here, so that
/// a new persisted class is added to this list and nowhere else.

#include <norvext/catalogue/DBDatabase.h>
#include <norvext/catalogue/DBField.h>
#include <norvext/catalogue/QueryDBInfo.h>
#include <norvext/catalogue/XBlastDBInfo.h>
#include <norvext/params/FastAParams.h>
#include <norvext/params/XBlastParams.h>
#include <norvext/query/DBBooleanTerm.h>
#include <norvext/query/DBQuery.h>
#include <norvext/query/DBRangeTerm.h>
#include <norvext/query/DBStringTerm.h>
#include <norvext/query/Summary.h>

#include <tuple>
#include <type_traits>
#include <utility>

namespace Norv {

/// One persisted class: the class itself as `Class`, its name without the
/// namespace, and one line on what its objects hold.
template <class T>
struct PersistedClass {
    /// The class.
    using Class = T;
    /// Whether the class is a term, which is persisted behind its type code
    /// and read back through the term factory (DBTerm::create).
    static constexpr bool s_isTerm = std::is_base_of<DBTerm, T>::value;
    /// "DBField" for Norv::DBField.
    const char* name;
    /// What an object of the class holds, in a few words.
    const char* what;
};

/// Every persisted class, in the order in which tools list them: the
/// catalogue, the query terms, the query, the search parameters.
constexpr auto persistedClasses() {
    return std::make_tuple(
        PersistedClass<DBField>{"DBField", "a searchable field of a database"},
        PersistedClass<DBDatabase>{"DBDatabase", "a queryable database with its fields"},
        PersistedClass<QueryDBInfo>{"QueryDBInfo", "the catalogue of queryable databases"},
        PersistedClass<XBlastDBInfo>{"XBlastDBInfo", "a database for similarity searches"},
        PersistedClass<DBStringTerm>{"DBStringTerm", "a query term that compares a field with a text"},
        PersistedClass<DBRangeTerm>{"DBRangeTerm", "a query term that bounds a field from below and above"},
        PersistedClass<DBBooleanTerm>{"DBBooleanTerm", "a query term that joins terms with AND, OR or NOT"},
        PersistedClass<Summary>{"Summary", "the record of a database entry found"},
        PersistedClass<DBQuery>{"DBQuery", "a database query with its term tree and hits"},
        PersistedClass<XBlastParams>{"XBlastParams", "the settings of a BLAST search"},
        PersistedClass<FastAParams>{"FastAParams", "the settings of a FASTA search"});
}

/// The type of persistedClasses(): a std::tuple of PersistedClass<T>.
using PersistedClasses = decltype(persistedClasses());

/// Calls `visit(PersistedClass<T>{...})` for every persisted class, in list
/// order. `visit` is usually a generic lambda that takes `auto entry`, whose
/// member type Class is the class.
template <class Visit>
void forEachPersistedClass(Visit&& visit) {
    std::apply([&visit](const auto&... entry) { (visit(entry), ...); }, persistedClasses());
}

/// The name of the persisted class T ("DBField" for Norv::DBField); null
/// for a class that is not in the list.
template <class T>
const char* persistedClassName() {
    const char* name = nullptr;
    forEachPersistedClass([&name](auto entry) {
        if constexpr (std::is_same<typename decltype(entry)::Class, T>::value) {
            name = entry.name;
        }
    });
    return name;
}

}  // namespace Norv

#endif
