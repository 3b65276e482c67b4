#ifndef NORVEXT_BENCH_RATIOTABLE_H
#define NORVEXT_BENCH_RATIOTABLE_H

// A console reporter that, besides Google Benchmark's usual lines, collects
// the persistence results and prints after the run one table that sets the
// library's throughput against each peer and against memcpy.

#include <benchmark/benchmark.h>

#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace PersistBench {

enum class Contender { NorvExt, Cereal, Boost, Memcpy };

// What a benchmark measured: which object, which direction ("write", "read";
// memcpy has the one direction "copy"), who did it, and how much one
// iteration handled.
struct Measured {
    std::string object;
    std::string direction;
    Contender who;
    std::size_t bytes;
    std::size_t objects;
};

class RatioTable : public benchmark::ConsoleReporter {
public:
    // Announces a benchmark by its registered name, before the run.
    void expect(const std::string& name, const Measured& what);

    void ReportRuns(const std::vector<Run>& runs) override;
    // Prints the table once everything has run.
    void Finalize() override;

private:
    struct Result {
        Measured what;
        double seconds;  // CPU time of one iteration
    };
    const Result* find(const std::string& object, const std::string& direction, Contender who) const;
    void printSizes(std::ostream& out) const;

    std::map<std::string, Measured> m_expected;
    std::vector<std::string> m_objects;  // in registration order
    std::vector<Result> m_results;
};

}  // namespace PersistBench

#endif
