#include "RecordPrinter.h"

#include <norvext/json/SearchJson.h>

namespace {
// Enough queued queries to keep both threads busy, few enough to keep
// memory small.
constexpr std::size_t kQueued = 32;
}  // namespace

RecordPrinter::RecordPrinter(bool draw, std::size_t reserve) : m_draw(draw), m_json("[") {
    m_json.reserve(reserve);
    m_thread = std::thread(&RecordPrinter::work, this);
}

RecordPrinter::~RecordPrinter() {
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_abandoned = true;
    }
    stop();
}

void RecordPrinter::stop() {
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_closed = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void RecordPrinter::add(NorvSearch::QueryResult&& result) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_queue.size() < kQueued || m_failure; });
    if (m_failure) {
        return;  // finish() reports it
    }
    m_queue.push_back(std::move(result));
    lock.unlock();
    m_changed.notify_all();
}

std::string RecordPrinter::finish() {
    stop();
    if (m_failure) {
        std::rethrow_exception(m_failure);
    }
    m_json += "\n]\n";
    return std::move(m_json);
}

void RecordPrinter::work() {
    const char* separator = "\n";
    for (;;) {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [this] { return !m_queue.empty() || m_closed; });
        if (m_abandoned || m_queue.empty()) {
            return;
        }
        NorvSearch::QueryResult result = std::move(m_queue.front());
        m_queue.pop_front();
        lock.unlock();
        m_changed.notify_all();
        try {
            const Norv::XBlast search = NorvSearch::makeSearch(result);
            m_json += separator;
            NorvJson::searchToJson(search, m_json);
            separator = ",\n";
            if (m_draw) {
                m_picture.add(search);
            }
        } catch (...) {
            const std::lock_guard<std::mutex> failed(m_mutex);
            m_failure = std::current_exception();
            m_changed.notify_all();
            return;
        }
    }
}
