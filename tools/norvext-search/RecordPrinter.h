#ifndef NORVEXT_TOOLS_SEARCH_RECORDPRINTER_H
#define NORVEXT_TOOLS_SEARCH_RECORDPRINTER_H

#include <norvext/search/NorvSearch.h>

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <string>
#include <thread>

// Turns the queries that a reader passes on into search records, their JSON
// and their picture, on a thread of its own while the reader reads on: the
// two halves of an import take about as long as each other. Each record is
// let go once printed and drawn, so memory follows the output text.
class RecordPrinter {
public:
    // `draw`: also draw every record into picture(). `reserve`: room for
    // the JSON text made at once.
    RecordPrinter(bool draw, std::size_t reserve);
    // Stops at once, dropping what is queued (the reader failed).
    ~RecordPrinter();
    RecordPrinter(const RecordPrinter&) = delete;
    RecordPrinter& operator=(const RecordPrinter&) = delete;

    // Queues a query; waits while many are queued.
    void add(NorvSearch::QueryResult&& result);
    // Waits until every query is printed; the JSON array, one query a line.
    // Rethrows what printing threw (an allocation failure).
    std::string finish();
    // The picture of every record; complete after finish().
    const NorvSearch::SearchPicture& picture() const { return m_picture; }

private:
    void work();
    void stop();

    const bool m_draw;
    std::string m_json;
    NorvSearch::SearchPicture m_picture;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<NorvSearch::QueryResult> m_queue;
    bool m_closed = false;
    bool m_abandoned = false;
    std::exception_ptr m_failure;
    std::thread m_thread;
};

#endif
