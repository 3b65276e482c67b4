#ifndef NORVEXT_JSON_JSONMAPPING_H
#define NORVEXT_JSON_JSONMAPPING_H

/// \file
/// The persisted classes as JSON, and back. An object is a JSON object with
/// one member per persisted field, in the order in which the class writes
/// them; a term carries its class in a first member "class". Byte strings
/// that are not UTF-8 travel as {"base64": "..."}, doubles without loss
/// ("NaN", "Infinity" where JSON has no number). docs/json.md gives every
/// class's members and an example of each.

#include <norvext/json/Export.h>
#include <norvext/json/JsonError.h>

#include <boost/shared_ptr.hpp>

#include <string>

namespace Norv {
class DBTerm;
}

namespace NorvJson {

/// The JSON text of `object`. T is one of the classes of
/// Norv::persistedClasses() (another class does not link). `indent` is the
/// number of blanks per level, each member on a line of its own; -1 gives
/// one line without blanks. Never fails.
template <class T>
NORVJSON_API std::string toJson(const T& object, int indent = 2);

/// The object that the JSON text `text` describes, in the form that toJson()
/// gives. Throws JsonError for a text that is not JSON, and for JSON that
/// does not fit, naming the path of the value at fault: a member missing,
/// unknown or given twice, a value of the wrong JSON type, a number outside
/// the field's range or with a fraction, an unknown term class or operator,
/// bytes that are not canonical base64, a term tree deeper than
/// Norv::DBTerm::s_maxDepth. For a term class, a term of another class is
/// refused too.
template <class T>
NORVJSON_API T fromJson(const std::string& text);

/// The JSON text of a term of any class (as toJson() of its class).
NORVJSON_API std::string termToJson(const Norv::DBTerm& term, int indent = 2);

/// The term of any class that `text` describes; never null. Throws JsonError
/// as fromJson() does.
NORVJSON_API boost::shared_ptr<Norv::DBTerm> termFromJson(const std::string& text);

}  // namespace NorvJson

#endif
