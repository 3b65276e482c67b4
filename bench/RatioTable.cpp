#include "RatioTable.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

namespace PersistBench {

namespace {

// Throughput targets: at least cereal's, three times Boost's, and writing at
// no less than a quarter of memcpy's.
constexpr double kVersusCereal = 1.0;
constexpr double kVersusBoost = 3.0;
constexpr double kWriteVersusMemcpy = 0.25;

std::string format(const char* pattern, double value) {
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

// 1234567 -> "1.23 M"
std::string rate(double perSecond) {
    if (perSecond >= 1e9) {
        return format("%.2f G", perSecond / 1e9);
    }
    if (perSecond >= 1e6) {
        return format("%.2f M", perSecond / 1e6);
    }
    if (perSecond >= 1e3) {
        return format("%.1f k", perSecond / 1e3);
    }
    return format("%.0f", perSecond);
}

// "2.41", with " (short)" when below the target.
std::string ratio(double value, double target) {
    std::string text = format("%.2f", value);
    if (target > 0 && value < target) {
        text += " (short)";
    }
    return text;
}

}  // namespace

void RatioTable::expect(const std::string& name, const Measured& what) {
    m_expected[name] = what;
    if (std::find(m_objects.begin(), m_objects.end(), what.object) == m_objects.end()) {
        m_objects.push_back(what.object);
    }
}

void RatioTable::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        const auto expected = m_expected.find(run.run_name.function_name);
        if (expected == m_expected.end() || run.error_occurred) {
            continue;
        }
        // With repetitions the median stands for the benchmark; without, the
        // single run does.
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
        if (!median && !single) {
            continue;
        }
        const double seconds = run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
        m_results.push_back(Result{expected->second, seconds});
    }
}

const RatioTable::Result* RatioTable::find(const std::string& object, const std::string& direction,
                                           Contender who) const {
    for (const Result& result : m_results) {
        if (result.what.object == object && result.what.direction == direction && result.what.who == who) {
            return &result;
        }
    }
    return nullptr;
}

void RatioTable::printSizes(std::ostream& out) const {
    out << "\n| object | objects | NorvExt bytes | cereal bytes | Boost bytes |\n|---|--:|--:|--:|--:|\n";
    for (const std::string& object : m_objects) {
        const Result* ours = find(object, "write", Contender::NorvExt);
        const Result* cereal = find(object, "write", Contender::Cereal);
        const Result* boost = find(object, "write", Contender::Boost);
        if (ours == nullptr || cereal == nullptr || boost == nullptr) {
            continue;
        }
        out << "| " << object << " | " << ours->what.objects << " | " << ours->what.bytes << " | "
            << cereal->what.bytes << " | " << boost->what.bytes << " |\n";
    }
}

void RatioTable::Finalize() {
    ConsoleReporter::Finalize();
    if (m_results.empty()) {
        return;
    }
    std::ostream& out = GetOutputStream();
    out << "\nNorvExt against the peers and memcpy (CPU time; ratio = NorvExt throughput / the other's,\n"
           "the same objects handled, so objects/s and bytes/s give the same ratio; above 1 NorvExt is faster).\n"
           "Targets: cereal >= "
        << kVersusCereal << ", Boost >= " << kVersusBoost << ", writing vs memcpy >= " << kWriteVersusMemcpy
        << "; \"(short)\" marks a miss.\n\n"
           "| object | direction | NorvExt objects/s | NorvExt MB/s | vs cereal | vs Boost | vs memcpy |\n"
           "|---|---|--:|--:|--:|--:|--:|\n";
    for (const std::string& object : m_objects) {
        const Result* copy = find(object, "copy", Contender::Memcpy);
        for (const char* direction : {"write", "read"}) {
            const Result* ours = find(object, direction, Contender::NorvExt);
            if (ours == nullptr) {
                continue;
            }
            const Result* cereal = find(object, direction, Contender::Cereal);
            const Result* boost = find(object, direction, Contender::Boost);
            const bool writing = std::string(direction) == "write";
            out << "| " << object << " | " << direction << " | " << rate(ours->what.objects / ours->seconds) << " | "
                << format("%.0f", ours->what.bytes / ours->seconds / 1e6) << " | "
                << (cereal ? ratio(cereal->seconds / ours->seconds, kVersusCereal) : "-") << " | "
                << (boost ? ratio(boost->seconds / ours->seconds, kVersusBoost) : "-") << " | "
                << (copy ? ratio(copy->seconds / ours->seconds, writing ? kWriteVersusMemcpy : 0) : "-") << " |\n";
        }
    }
    printSizes(out);
    out.flush();
}

}  // namespace PersistBench
