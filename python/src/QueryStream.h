#ifndef NORVEXT_PYTHON_QUERYSTREAM_H
#define NORVEXT_PYTHON_QUERYSTREAM_H

#include "python/src/SearchSource.h"

#include <norvext/results/XBlast.h>
#include <norvext/search/QueryResult.h>

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace NorvPython {

/// One query as Python sees it: what the output said, its search record
/// (makeSearch) and the places of each hit's alignments (hitAlignments).
struct QueryData {
    /// Takes `read` in and makes its record and hits.
    explicit QueryData(NorvSearch::QueryResult&& read);
    /// What the output said.
    NorvSearch::QueryResult result;
    /// makeSearch(result).
    Norv::XBlast search;
    /// hitAlignments(result): per hit of `search`, its alignments' places.
    std::vector<std::vector<std::size_t>> places;
};

/// The queries of a SearchSource, read on a thread of their own into a
/// small bounded queue, so that memory follows a few queries and Python
/// runs while C++ reads.
class QueryStream {
public:
    /// Starts reading `source`, which must outlive the stream.
    explicit QueryStream(const SearchSource& source);
    /// Stops the reading and waits for the thread; call without the GIL.
    ~QueryStream();
    QueryStream(const QueryStream&) = delete;
    QueryStream& operator=(const QueryStream&) = delete;

    /// The next query, waiting for it; null after the last. Rethrows what
    /// the reading threw, once, after the queries read before it. Call
    /// without the GIL.
    std::shared_ptr<const QueryData> next();

private:
    // Thrown from the reader's callback to end the reading early.
    struct Stopped {};

    void run(const SearchSource& source);

    static constexpr std::size_t s_capacity = 4;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::shared_ptr<const QueryData>> m_queue;
    bool m_done = false;
    bool m_stop = false;
    std::exception_ptr m_error;
    std::thread m_thread;
};

}  // namespace NorvPython

#endif
