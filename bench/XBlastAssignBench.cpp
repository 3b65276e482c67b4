// XBlast::assign of raw alignment records: grouping into hits must cost in
// proportion to the number of records, however many subjects they name.
//
// Every size has ten records per subject (100 records into 10 subjects up to
// 100,000 records into 10,000), interleaved so that no two records of one
// subject are neighbours.
#include <norvext/results/XBlast.h>

#include <benchmark/benchmark.h>
#include <boost/make_shared.hpp>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::vector<Norv::SeqAlign> makeRecords(unsigned int count) {
    const unsigned int subjects = count / 10;
    std::vector<Norv::SeqAlign> records(count);
    char sourceID[32];
    for (unsigned int i = 0; i < count; ++i) {
        const unsigned int subject = i % subjects;
        std::snprintf(sourceID, sizeof sourceID, "sp|Q%06u", subject);
        records[i].setSubjectID(subject);
        records[i].setSubjectSourceID(sourceID);
        records[i].setScore(static_cast<int>(i % 97));
        records[i].setSubjectRange(Norv::Sequence::Range(1 + i % 50, 60 + i % 50));
    }
    return records;
}

void assignRecords(benchmark::State& state, bool bySourceID) {
    const auto count = static_cast<unsigned int>(state.range(0));
    const std::vector<Norv::SeqAlign> records = makeRecords(count);
    Norv::XBlast search(boost::make_shared<Norv::Sequence>(1, "lcl|q", "query", std::string(300, 'A')),
                        Norv::Sequence::Range(1, 300));
    for (auto _ : state) {
        search.assign(records, bySourceID);
        benchmark::DoNotOptimize(search.getHits().data());
    }
    if (search.getHitCount() != count / 10) {
        state.SkipWithError("wrong number of hits");
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * count);
    state.SetComplexityN(count);
}

void BM_AssignByID(benchmark::State& state) { assignRecords(state, false); }
void BM_AssignBySourceID(benchmark::State& state) { assignRecords(state, true); }

}  // namespace

BENCHMARK(BM_AssignByID)->RangeMultiplier(10)->Range(100, 100000)->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_AssignBySourceID)->RangeMultiplier(10)->Range(100, 100000)->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);

BENCHMARK_MAIN();
