// The search-output readers against the least work over the same bytes:
// BLAST XML read by SearchReader against pugixml's bare parse of the same
// bytes (in place in a copy, as the reader parses its pieces), and BLAST
// tabular output read by SearchReader against splitting its lines into
// tab-separated fields; then the JSON that norvext-search import prints of
// the same queries (queryToJson), against reading them; BLAST's XML2 and
// JSON reports of the same searches read by SearchReader against its BLAST
// XML, and the JSON against nlohmann-json's bare SAX pass over the same
// bytes (when the build found nlohmann-json: the parser the JSON reader
// does not use, for why); and FASTA36's -m 10 of the search of big.* read by
// SearchReader, against the BLAST XML reader on big.xml (MB/s: Google
// Benchmark's bytes per second). Both sides read from memory. After Google
// Benchmark's lines a table gives each one's CPU
// time over its baseline's.
//
// The inputs are those of bench/make-search-input: big.* (9 hits a query)
// and hits.* (203 hits a query), in the folder NORVEXT_SEARCH_INPUT names,
// else in the one the build names. The fast engines' outputs of big.*'s
// search (diamond.xml, diamond.tab, mmseqs.tab, mmseqs4.tab) are read by
// SearchReader alone: their MB/s against the BLAST XML reader's.
#include <norvext/search/NorvSearch.h>

#include <benchmark/benchmark.h>
#include <pugixml.hpp>
#ifdef NORV_BENCH_NLOHMANN
#include <nlohmann/json.hpp>
#endif

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::string readFile(const std::string& name) {
    const char* folder = std::getenv("NORVEXT_SEARCH_INPUT");
    const std::string path = std::string(folder != nullptr ? folder : NORV_SEARCH_INPUT) + '/' + name;
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw std::runtime_error(path + ": cannot open (run bench/make-search-input first)");
    }
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// Sets what one iteration handled: the input's bytes and `items` records.
void count(benchmark::State& state, const std::string& bytes, std::size_t items) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * items));
    state.counters["records"] = static_cast<double>(items);
}

// SearchReader over `bytes`, from a stream rewound each iteration; the
// callback counts the alignments. Input it cannot read is reported as the
// benchmark's error.
void readerBench(benchmark::State& state, const std::string* bytes) {
    const NorvSearch::SearchReader reader("big");
    std::istringstream in(*bytes);
    std::size_t alignments = 0;
    for (auto _ : state) {
        in.clear();
        in.seekg(0);
        alignments = 0;
        try {
            reader.read(in, [&](NorvSearch::QueryResult&& result) { alignments += result.alignments.size(); });
        } catch (const NorvSearch::SearchError& error) {
            state.SkipWithError(error.what());
            break;
        }
    }
    count(state, *bytes, alignments);
}

// pugixml over the whole file at its fastest: parsed in place in a copy of
// the bytes whose memory, like the document's, is reused from one
// iteration to the next (fresh memory would cost more than the parse).
void pugixmlBench(benchmark::State& state, const std::string* bytes) {
    std::string copy;
    pugi::xml_document document;
    for (auto _ : state) {
        copy.assign(*bytes);
        const pugi::xml_parse_result result =
            document.load_buffer_inplace(&copy[0], copy.size(), pugi::parse_default | pugi::parse_doctype);
        if (!result) {
            state.SkipWithError(result.description());
            return;
        }
        benchmark::DoNotOptimize(document.first_child());
    }
    count(state, *bytes, 0);
}

#ifdef NORV_BENCH_NLOHMANN
// Every event of nlohmann-json's SAX parser, taken and dropped: the least
// that reader would do. Counts the numbers.
struct NullSax : nlohmann::json_sax<nlohmann::json> {
    std::size_t numbers = 0;
    bool null() override { return true; }
    bool boolean(bool) override { return true; }
    bool number_integer(number_integer_t) override { return ++numbers != 0; }
    bool number_unsigned(number_unsigned_t) override { return ++numbers != 0; }
    bool number_float(number_float_t, const string_t&) override { return ++numbers != 0; }
    bool string(string_t&) override { return true; }
    bool binary(binary_t&) override { return true; }
    bool start_object(std::size_t) override { return true; }
    bool key(string_t&) override { return true; }
    bool end_object() override { return true; }
    bool start_array(std::size_t) override { return true; }
    bool end_array() override { return true; }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override { return false; }
};

void nlohmannBench(benchmark::State& state, const std::string* bytes) {
    std::size_t numbers = 0;
    for (auto _ : state) {
        NullSax sax;
        if (!nlohmann::json::sax_parse(bytes->begin(), bytes->end(), &sax)) {
            state.SkipWithError("not JSON");
            return;
        }
        numbers = sax.numbers;
    }
    count(state, *bytes, numbers);
}
#endif

// queryToJson over every query of the BLAST XML `bytes` (read before the
// clock starts, and let go after, so that the other benchmarks run in the
// same memory as without this one), into a string reused from one query to
// the next, as norvext-search's printer does.
void printBench(benchmark::State& state, const std::string* bytes) {
    std::istringstream in(*bytes);
    const std::vector<NorvSearch::QueryResult> queries = NorvSearch::SearchReader("big").readAll(in);
    std::string line;
    std::size_t alignments = 0;
    for (auto _ : state) {
        alignments = 0;
        for (const NorvSearch::QueryResult& query : queries) {
            line.clear();
            NorvSearch::queryToJson(query, line);
            alignments += query.alignments.size();
            benchmark::DoNotOptimize(line.data());
        }
    }
    count(state, *bytes, alignments);
}

// Each line into its tab-separated fields, from a stream rewound each
// iteration; counts the lines that are not comments.
void splitBench(benchmark::State& state, const std::string* bytes) {
    std::istringstream in(*bytes);
    std::string line;
    std::vector<std::string_view> fields;
    std::size_t rows = 0;
    for (auto _ : state) {
        in.clear();
        in.seekg(0);
        rows = 0;
        while (std::getline(in, line)) {
            fields.clear();
            for (std::size_t from = 0;;) {
                const std::size_t tab = line.find('\t', from);
                fields.emplace_back(line.data() + from, (tab == std::string::npos ? line.size() : tab) - from);
                if (tab == std::string::npos) {
                    break;
                }
                from = tab + 1;
            }
            rows += line.compare(0, 1, "#") != 0;
            benchmark::DoNotOptimize(fields.data());
        }
    }
    count(state, *bytes, rows);
}

// A benchmark and its baseline, and the most it may take of the baseline's
// time (0: no goal).
struct Pair {
    const char* reader;
    const char* baseline;
    double limit;
};
const Pair kPairs[] = {{"xml/big/SearchReader", "xml/big/pugixml_bare", 1.5},
                       {"xml/hits/SearchReader", "xml/hits/pugixml_bare", 1.5},
                       {"tab/big/SearchReader", "tab/big/split", 2},
                       {"tab/hits/SearchReader", "tab/hits/split", 2},
                       {"xml2/big/SearchReader", "xml/big/SearchReader", 0},
                       {"xml2/hits/SearchReader", "xml/hits/SearchReader", 0},
                       {"blast-json/big/SearchReader", "xml/big/SearchReader", 0},
                       {"blast-json/hits/SearchReader", "xml/hits/SearchReader", 0},
                       {"blast-json/big/SearchReader", "blast-json/big/nlohmann_sax", 0},
                       {"blast-json/hits/SearchReader", "blast-json/hits/nlohmann_sax", 0},
                       {"json/big/queryToJson", "xml/big/SearchReader", 0},
                       {"json/hits/queryToJson", "xml/hits/SearchReader", 0},
                       {"m10/big/SearchReader", "xml/big/SearchReader", 0}};

// Google Benchmark's lines, then each benchmark's time over its baseline's.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            if ((median || single) && !run.error_occurred) {
                m_seconds[run.run_name.function_name] =
                    run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            }
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::ostream& out = GetOutputStream();
        out << "\n| benchmark | baseline | ms | baseline ms | ratio | most |\n|---|---|--:|--:|--:|--:|\n";
        for (const Pair& pair : kPairs) {
            const auto reader = m_seconds.find(pair.reader);
            const auto baseline = m_seconds.find(pair.baseline);
            if (reader == m_seconds.end() || baseline == m_seconds.end()) {
                continue;
            }
            const double ratio = reader->second / baseline->second;
            char line[200];
            std::snprintf(line, sizeof line, "| %s | %s | %.1f | %.1f | %.2f%s | ", pair.reader, pair.baseline,
                          reader->second * 1e3, baseline->second * 1e3, ratio,
                          pair.limit > 0 && ratio > pair.limit ? " (over)" : "");
            out << line << (pair.limit > 0 ? std::to_string(pair.limit).substr(0, 3) : "-") << " |\n";
        }
        out.flush();
    }

private:
    std::map<std::string, double> m_seconds;
};

}  // namespace

// An input's name and bytes.
struct Input {
    std::string name;
    std::string xml, tab, xml2, json;
};

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 2;
    }
    std::vector<Input> inputs{{"big", "", "", "", ""}, {"hits", "", "", "", ""}};
    std::string m10;
    // DIAMOND's XML and table; MMseqs2's default columns and --format-mode 4.
    std::vector<std::pair<std::string, std::string>> fast{
        {"diamond.xml", ""}, {"diamond.tab", ""}, {"mmseqs.tab", ""}, {"mmseqs4.tab", ""}};
    try {
        m10 = readFile("big.m10");
        for (Input& input : inputs) {
            input.xml = readFile(input.name + ".xml");
            input.tab = readFile(input.name + ".tab");
            input.xml2 = readFile(input.name + ".xml2");
            input.json = readFile(input.name + ".json");
        }
        for (auto& [name, bytes] : fast) {
            bytes = readFile(name);
        }
    } catch (const std::runtime_error& problem) {
        std::fprintf(stderr, "%s\n", problem.what());
        return 1;
    }
    for (const Input& input : inputs) {
        const std::string& name = input.name;
        benchmark::RegisterBenchmark(("xml/" + name + "/SearchReader").c_str(), readerBench, &input.xml)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("xml/" + name + "/pugixml_bare").c_str(), pugixmlBench, &input.xml)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("tab/" + name + "/SearchReader").c_str(), readerBench, &input.tab)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("tab/" + name + "/split").c_str(), splitBench, &input.tab)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("json/" + name + "/queryToJson").c_str(), printBench, &input.xml)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("xml2/" + name + "/SearchReader").c_str(), readerBench, &input.xml2)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("blast-json/" + name + "/SearchReader").c_str(), readerBench, &input.json)
            ->Unit(benchmark::kMillisecond);
#ifdef NORV_BENCH_NLOHMANN
        benchmark::RegisterBenchmark(("blast-json/" + name + "/nlohmann_sax").c_str(), nlohmannBench, &input.json)
            ->Unit(benchmark::kMillisecond);
#endif
    }
    benchmark::RegisterBenchmark("m10/big/SearchReader", readerBench, &m10)->Unit(benchmark::kMillisecond);
    for (const auto& [name, bytes] : fast) {
        const std::string kind = name.substr(name.find('.') + 1);
        benchmark::RegisterBenchmark((kind + '/' + name.substr(0, name.find('.')) + "/SearchReader").c_str(),
                                     readerBench, &bytes)
            ->Unit(benchmark::kMillisecond);
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
