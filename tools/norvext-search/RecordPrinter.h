#ifndef NORVEXT_TOOLS_SEARCH_RECORDPRINTER_H
#define NORVEXT_TOOLS_SEARCH_RECORDPRINTER_H

#include <norvext/search/NorvSearch.h>

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>

// Prints the queries that a reader passes on as JSON Lines, one search
// record a line, on a thread of its own while the reader reads on: the two
// halves of an import take about as long as each other. Each query is let
// go once printed (and drawn), so memory follows the few queries queued
// (bounded by their number and by their alignments).
class RecordPrinter {
public:
    // Prints to `out`; also draws every record into `picture` unless it is
    // null. Both must outlive the printer.
    RecordPrinter(std::ostream& out, NorvSearch::SearchPicture* picture);
    // Stops at once, dropping what is queued.
    ~RecordPrinter();
    RecordPrinter(const RecordPrinter&) = delete;
    RecordPrinter& operator=(const RecordPrinter&) = delete;

    // Queues a query; waits while many are queued.
    void add(NorvSearch::QueryResult&& result);
    // Waits until every query queued is printed. Rethrows what printing
    // threw (an allocation failure); false when the output could not be
    // written.
    bool finish();

private:
    void work();
    void stop();

    std::ostream& m_out;
    NorvSearch::SearchPicture* const m_picture;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<NorvSearch::QueryResult> m_queue;
    // The alignments of the queries in m_queue.
    std::size_t m_queuedAlignments = 0;
    bool m_closed = false;
    bool m_abandoned = false;
    std::exception_ptr m_failure;
    std::thread m_thread;
};

#endif
