#include "RecordPrinter.h"

namespace {
// Enough queued queries to keep both threads busy, few enough to keep
// memory small: at most this many queries, and no more alignments than
// this beyond the first query queued (a query of 200 hits holds a thousand
// alignments, each with its letters about 0.6 KB). Without the second
// bound, 32 such queries queued for a slow reader of the output took the
// import of a 116 MB BLAST XML output to a peak of 30 MB.
constexpr std::size_t kQueued = 32;
constexpr std::size_t kQueuedAlignments = 4096;
}  // namespace

RecordPrinter::RecordPrinter(std::ostream& out, NorvSearch::SearchPicture* picture) : m_out(out), m_picture(picture) {
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
    m_changed.wait(lock, [this] {
        return m_queue.empty() || (m_queue.size() < kQueued && m_queuedAlignments < kQueuedAlignments) || m_failure;
    });
    if (m_failure) {
        return;  // finish() reports it
    }
    m_queuedAlignments += result.alignments.size();
    m_queue.push_back(std::move(result));
    lock.unlock();
    m_changed.notify_all();
}

bool RecordPrinter::finish() {
    stop();
    if (m_failure) {
        std::rethrow_exception(m_failure);
    }
    m_out.flush();
    return static_cast<bool>(m_out);
}

void RecordPrinter::work() {
    std::string line;
    for (;;) {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [this] { return !m_queue.empty() || m_closed; });
        if (m_abandoned || m_queue.empty()) {
            return;
        }
        NorvSearch::QueryResult result = std::move(m_queue.front());
        m_queue.pop_front();
        m_queuedAlignments -= result.alignments.size();
        lock.unlock();
        m_changed.notify_all();
        try {
            line.clear();
            const Norv::XBlast search = NorvSearch::makeSearch(result);  // once for the line and the picture
            NorvSearch::queryToJson(result, search, line);
            line += '\n';
            m_out.write(line.data(), static_cast<std::streamsize>(line.size()));
            if (m_picture != nullptr) {
                m_picture->add(search);
            }
        } catch (...) {
            const std::lock_guard<std::mutex> failed(m_mutex);
            m_failure = std::current_exception();
            m_changed.notify_all();
            return;
        }
    }
}
