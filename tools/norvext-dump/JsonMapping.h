#ifndef NORVEXT_TOOLS_JSONMAPPING_H
#define NORVEXT_TOOLS_JSONMAPPING_H

// The persisted classes as JSON: one member per persisted field, in the
// order in which the class writes them, named after the field's dump key
// (or after the field where the dump prints something else or nothing);
// docs/json.md lists them. Terms are objects whose member "class" names the
// term class.

#include "JsonNode.h"

#include <boost/shared_ptr.hpp>

namespace Norv {
class DBTerm;
}

namespace NorvJson {

// The JSON of an object of one of the persisted classes DBField, DBDatabase,
// QueryDBInfo, XBlastDBInfo, Summary, DBQuery, XBlastParams, FastAParams.
template <class T>
Json toJson(const T& object);
// The object that `node` describes, in the form toJson gives. Throws
// JsonError, naming the path, for a value that does not fit: a member
// missing or unknown, a wrong JSON type, a number outside the field's range,
// an unknown term class or operator.
template <class T>
T fromJson(const JsonNode& node);

// The same for a term tree of any term class.
Json termToJson(const Norv::DBTerm& term);
boost::shared_ptr<Norv::DBTerm> termFromJson(const JsonNode& node);

}  // namespace NorvJson

#endif
