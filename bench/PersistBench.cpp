// Persistence throughput: writing and reading a Summary, a DBQuery with a
// three-term tree and 10,000 hits, a QueryDBInfo of 100 databases with 20
// fields each, and XBlastParams with a 30,000-letter query; against cereal's
// and Boost.Serialization's binary archives over plain structs with the same
// fields, and against memcpy of as many bytes as NorvExt writes.
//
// Every contender starts each write with an empty buffer of its own and reads
// each time into a fresh object, from bytes already in memory. memcpy copies
// the bytes into a freshly allocated block: the least any writer into a new
// buffer does. A table of ratios follows Google Benchmark's own output.
#include "PeerTypes.h"
#include "PersistCases.h"
#include "RatioTable.h"

#include <norvutil/AlignedBuf.h>

#include <benchmark/benchmark.h>
#include <boost/archive/binary_iarchive.hpp>
#include <boost/archive/binary_oarchive.hpp>
#include <cereal/archives/binary.hpp>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <streambuf>
#include <string>
#include <vector>

namespace {

using PersistBench::Contender;

// The peers write to a stream: this one appends to a vector and grows like
// one, so that they pay no more for their sink than NorvExt for its buffer.
class VectorSink : public std::streambuf {
public:
    const std::vector<char>& bytes() {
        m_bytes.resize(static_cast<std::size_t>(pptr() - pbase()));
        return m_bytes;
    }

protected:
    std::streamsize xsputn(const char* data, std::streamsize n) override {
        if (epptr() - pptr() < n) {
            grow(static_cast<std::size_t>(n));
        }
        std::memcpy(pptr(), data, static_cast<std::size_t>(n));
        pbump(static_cast<int>(n));
        return n;
    }
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) {
            return traits_type::not_eof(c);
        }
        const char letter = traits_type::to_char_type(c);
        xsputn(&letter, 1);
        return c;
    }

private:
    void grow(std::size_t n) {
        const std::size_t used = static_cast<std::size_t>(pptr() - pbase());
        m_bytes.resize(std::max(2 * m_bytes.size(), used + n));
        setp(m_bytes.data(), m_bytes.data() + m_bytes.size());
        pbump(static_cast<int>(used));
    }

    std::vector<char> m_bytes;
};

// Reads bytes in place, as AlignedBuf does.
class ArraySource : public std::streambuf {
public:
    explicit ArraySource(const std::string& bytes) {
        char* begin = const_cast<char*>(bytes.data());
        setg(begin, begin, begin + bytes.size());
    }
};

// Everything a benchmark of one object needs, built before any timing.
template <class Ours>
struct Subject {
    const char* name;
    Ours ours;
    decltype(PersistBench::twin(std::declval<const Ours&>())) plain;
    std::vector<unsigned char> bytes;  // NorvExt's form
    std::string cerealBytes, boostBytes;
    std::size_t objects;
};

constexpr unsigned int kBoostFlags = boost::archive::no_header | boost::archive::no_codecvt;

template <class Plain>
std::string cerealWrite(const Plain& plain) {
    std::ostream os(nullptr);
    VectorSink sink;
    os.rdbuf(&sink);
    {
        cereal::BinaryOutputArchive archive(os);
        archive(plain);
    }
    return std::string(sink.bytes().begin(), sink.bytes().end());
}

template <class Plain>
std::string boostWrite(const Plain& plain) {
    std::ostream os(nullptr);
    VectorSink sink;
    os.rdbuf(&sink);
    {
        boost::archive::binary_oarchive archive(os, kBoostFlags);
        archive << plain;
    }
    return std::string(sink.bytes().begin(), sink.bytes().end());
}

[[noreturn]] void refuse(const char* name, const char* what) {
    std::fprintf(stderr, "persist_bench: %s: %s\n", name, what);
    std::exit(1);
}

// Builds a subject and checks that every contender reads back what it wrote,
// so that the read benchmarks read whole objects.
template <class Ours>
std::unique_ptr<Subject<Ours>> makeSubject(const char* name, Ours ours) {
    std::unique_ptr<Subject<Ours>> s(new Subject<Ours>{name, std::move(ours), {}, {}, {}, {}, 0});
    s->plain = PersistBench::twin(s->ours);
    s->objects = PersistBench::objectCount(s->ours);
    Norv::AlignedBuf buf;
    s->ours.write(buf);
    s->bytes = buf.bytes();
    s->cerealBytes = cerealWrite(s->plain);
    s->boostBytes = boostWrite(s->plain);

    Norv::AlignedBuf in(s->bytes);
    Ours back;
    back.read(in);
    Norv::AlignedBuf again;
    back.write(again);
    if (again.bytes() != s->bytes) {
        refuse(name, "NorvExt does not read back what it wrote");
    }
    decltype(s->plain) viaCereal, viaBoost;
    {
        std::istream is(nullptr);
        ArraySource source(s->cerealBytes);
        is.rdbuf(&source);
        cereal::BinaryInputArchive archive(is);
        archive(viaCereal);
    }
    {
        std::istream is(nullptr);
        ArraySource source(s->boostBytes);
        is.rdbuf(&source);
        boost::archive::binary_iarchive archive(is, kBoostFlags);
        archive >> viaBoost;
    }
    if (cerealWrite(viaCereal) != s->cerealBytes || boostWrite(viaBoost) != s->boostBytes) {
        refuse(name, "a peer does not read back what it wrote");
    }
    return s;
}

void count(benchmark::State& state, std::size_t bytes, std::size_t objects) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * objects));
}

template <class Ours>
void oursWrite(benchmark::State& state, const Subject<Ours>* s) {
    for (auto _ : state) {
        Norv::AlignedBuf buf;
        s->ours.write(buf);
        benchmark::DoNotOptimize(buf.data());
    }
    count(state, s->bytes.size(), s->objects);
}

template <class Ours>
void oursRead(benchmark::State& state, const Subject<Ours>* s) {
    Norv::AlignedBuf buf(s->bytes);
    for (auto _ : state) {
        buf.rewind();
        Ours object;
        object.read(buf);
        benchmark::DoNotOptimize(&object);
    }
    count(state, s->bytes.size(), s->objects);
}

template <class Ours>
void cerealWriteBench(benchmark::State& state, const Subject<Ours>* s) {
    std::ostream os(nullptr);
    for (auto _ : state) {
        VectorSink sink;
        os.rdbuf(&sink);
        {
            cereal::BinaryOutputArchive archive(os);
            archive(s->plain);
        }
        benchmark::DoNotOptimize(sink.bytes().data());
        os.rdbuf(nullptr);
    }
    count(state, s->cerealBytes.size(), s->objects);
}

template <class Ours>
void cerealReadBench(benchmark::State& state, const Subject<Ours>* s) {
    std::istream is(nullptr);
    for (auto _ : state) {
        ArraySource source(s->cerealBytes);
        is.rdbuf(&source);
        decltype(s->plain) object;
        {
            cereal::BinaryInputArchive archive(is);
            archive(object);
        }
        benchmark::DoNotOptimize(&object);
        is.rdbuf(nullptr);
    }
    count(state, s->cerealBytes.size(), s->objects);
}

template <class Ours>
void boostWriteBench(benchmark::State& state, const Subject<Ours>* s) {
    std::ostream os(nullptr);
    for (auto _ : state) {
        VectorSink sink;
        os.rdbuf(&sink);
        {
            boost::archive::binary_oarchive archive(os, kBoostFlags);
            archive << s->plain;
        }
        benchmark::DoNotOptimize(sink.bytes().data());
        os.rdbuf(nullptr);
    }
    count(state, s->boostBytes.size(), s->objects);
}

template <class Ours>
void boostReadBench(benchmark::State& state, const Subject<Ours>* s) {
    std::istream is(nullptr);
    for (auto _ : state) {
        ArraySource source(s->boostBytes);
        is.rdbuf(&source);
        decltype(s->plain) object;
        {
            boost::archive::binary_iarchive archive(is, kBoostFlags);
            archive >> object;
        }
        benchmark::DoNotOptimize(&object);
        is.rdbuf(nullptr);
    }
    count(state, s->boostBytes.size(), s->objects);
}

template <class Ours>
void memcpyBench(benchmark::State& state, const Subject<Ours>* s) {
    const std::size_t n = s->bytes.size();
    for (auto _ : state) {
        std::unique_ptr<unsigned char[]> copy(new unsigned char[n]);
        std::memcpy(copy.get(), s->bytes.data(), n);
        benchmark::DoNotOptimize(copy.get());
        benchmark::ClobberMemory();
    }
    count(state, n, s->objects);
}

template <class Ours>
void add(PersistBench::RatioTable& table, const Subject<Ours>* s, benchmark::TimeUnit unit) {
    typedef void (*Bench)(benchmark::State&, const Subject<Ours>*);
    struct Entry {
        const char* direction;
        Contender who;
        const char* label;
        Bench bench;
        std::size_t bytes;
    };
    const Entry entries[] = {
        {"write", Contender::NorvExt, "NorvExt", &oursWrite<Ours>, s->bytes.size()},
        {"write", Contender::Cereal, "cereal", &cerealWriteBench<Ours>, s->cerealBytes.size()},
        {"write", Contender::Boost, "Boost", &boostWriteBench<Ours>, s->boostBytes.size()},
        {"read", Contender::NorvExt, "NorvExt", &oursRead<Ours>, s->bytes.size()},
        {"read", Contender::Cereal, "cereal", &cerealReadBench<Ours>, s->cerealBytes.size()},
        {"read", Contender::Boost, "Boost", &boostReadBench<Ours>, s->boostBytes.size()},
        {"copy", Contender::Memcpy, "memcpy", &memcpyBench<Ours>, s->bytes.size()},
    };
    for (const Entry& e : entries) {
        const std::string name = std::string(s->name) + "/" + e.direction + "/" + e.label;
        benchmark::RegisterBenchmark(name.c_str(), e.bench, s)->Unit(unit);
        table.expect(name, PersistBench::Measured{s->name, e.direction, e.who, e.bytes, s->objects});
    }
}

bool given(int argc, char** argv, const char* flag) {
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], flag, std::strlen(flag)) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    // Machines are shared: by default every benchmark runs five times, the
    // runs of all benchmarks interleaved at random so that a busy spell hits
    // every contender alike, and the median counts.
    std::vector<char*> args(argv, argv + argc);
    std::string repetitions = "--benchmark_repetitions=5";
    std::string aggregates = "--benchmark_report_aggregates_only=true";
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    std::string minTime = "--benchmark_min_time=0.1";
    if (!given(argc, argv, "--benchmark_repetitions")) {
        args.push_back(&repetitions[0]);
        args.push_back(&aggregates[0]);
        args.push_back(&interleave[0]);
    }
    if (!given(argc, argv, "--benchmark_min_time")) {
        args.push_back(&minTime[0]);
    }
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) {
        return 2;
    }

    PersistBench::RatioTable table;
    const auto summary = makeSubject("Summary", PersistBench::makeSummary());
    const auto query = makeSubject("DBQuery", PersistBench::makeQuery());
    const auto catalogue = makeSubject("QueryDBInfo", PersistBench::makeCatalogue());
    const auto params = makeSubject("XBlastParams", PersistBench::makeParams());
    add(table, summary.get(), benchmark::kNanosecond);
    add(table, query.get(), benchmark::kMicrosecond);
    add(table, catalogue.get(), benchmark::kMicrosecond);
    add(table, params.get(), benchmark::kMicrosecond);
    benchmark::RunSpecifiedBenchmarks(&table);
    benchmark::Shutdown();
    return 0;
}
