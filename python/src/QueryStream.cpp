#include "python/src/QueryStream.h"

namespace NorvPython {

QueryData::QueryData(NorvSearch::QueryResult&& read)
    : result(std::move(read)), search(NorvSearch::makeSearch(result)), places(NorvSearch::hitAlignments(result)) {}

QueryStream::QueryStream(const SearchSource& source) : m_thread([this, &source] { run(source); }) {}

QueryStream::~QueryStream() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void QueryStream::run(const SearchSource& source) {
    std::exception_ptr error;
    try {
        source.read([this](NorvSearch::QueryResult&& result) {
            // The record is made here, off the GIL, not when Python asks.
            auto query = std::make_shared<const QueryData>(std::move(result));
            std::unique_lock<std::mutex> lock(m_mutex);
            m_changed.wait(lock, [this] { return m_stop || m_queue.size() < s_capacity; });
            if (m_stop) {
                throw Stopped();
            }
            m_queue.push_back(std::move(query));
            lock.unlock();
            m_changed.notify_all();
        });
    } catch (const Stopped&) {
    } catch (...) {
        error = std::current_exception();
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_done = true;
        m_error = error;
    }
    m_changed.notify_all();
}

std::shared_ptr<const QueryData> QueryStream::next() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_queue.empty() || m_done; });
    if (m_queue.empty()) {
        if (m_error) {
            std::exception_ptr error = m_error;
            m_error = nullptr;
            std::rethrow_exception(error);
        }
        return nullptr;
    }
    auto query = std::move(m_queue.front());
    m_queue.pop_front();
    lock.unlock();
    m_changed.notify_all();
    return query;
}

}  // namespace NorvPython
