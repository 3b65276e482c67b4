#ifndef NORVEXT_JSON_INTERNAL_JSONENCODING_H
#define NORVEXT_JSON_INTERNAL_JSONENCODING_H

// How byte strings and doubles, which JSON cannot always hold as they are,
// travel in JSON without loss:
// - bytes that are valid UTF-8 (zero bytes included) are a JSON string;
//   others are an object {"base64": "..."} (RFC 4648, with padding);
// - a finite double is a JSON number, printed in its shortest form that
//   reads back to the same bits; infinities are the strings "Infinity" and
//   "-Infinity", the default quiet NaN is "NaN", and any other NaN is
//   "NaN:" followed by its 64 bits in 16 lower-case hex digits.

#include "JsonNode.h"

#include <string>

namespace NorvJson {
namespace internal {

// RFC 4648 base64 with padding.
std::string base64(const std::string& bytes);

Json bytesToJson(const std::string& bytes);
// The bytes of a value written by bytesToJson; throws JsonError for any
// other value (a base64 text that is not canonical included).
std::string bytesFromJson(const JsonNode& node);

Json realToJson(double value);
// The double of a value written by realToJson; a JSON integer is taken as
// the nearest double. Throws JsonError for any other value.
double realFromJson(const JsonNode& node);

}  // namespace internal
}  // namespace NorvJson

#endif
