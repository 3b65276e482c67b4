#ifndef NORVEXT_QUERY_INTERNAL_SUMMARYTEXT_H
#define NORVEXT_QUERY_INTERNAL_SUMMARYTEXT_H

// The line-oriented text form of a Summary. Internal to the library: not
// exported, and called by nothing else in it.
//
//   database id option initN init1\n       (decimal, single spaces)
//   <length>:<bytes>\n                     six times: dbName, sourceDB,
//                                          sourceID, title, caption, extra

#include <iosfwd>

namespace Norv {

class Summary;

namespace internal {

std::ostream& operator<<(std::ostream& os, const Summary& summary);
// Reads the five numbers, drops the one character behind them, then the six
// strings. The stream state is not tested between fields: a failed
// extraction leaves the stream failed for the caller to see.
std::istream& operator>>(std::istream& is, Summary& summary);

}  // namespace internal
}  // namespace Norv

#endif
