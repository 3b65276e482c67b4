#include <norvext/search/SearchReader.h>

#include "internal/Fields.h"
#include "internal/Formats.h"
#include "internal/Input.h"
#include "internal/ReportList.h"
#include "internal/TabularParser.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace NorvSearch {
namespace {

// The bytes the format is recognised from, so that a stream's first query
// is read as soon as it arrives; and, when they tell no format, the bytes
// looked at further: FASTA's -m 10 shows its first key line only after the
// first query's banner and best scores.
constexpr std::size_t kHeadSize = 512;
constexpr std::size_t kLongHeadSize = 1 << 16;

}  // namespace

SearchReader::SearchReader(std::string source)
    : m_source(std::move(source)), m_readSize(internal::Input::kDefaultReadSize) {}

void SearchReader::setReadSize(std::size_t bytes) { m_readSize = bytes; }

void SearchReader::setFormat(SearchFormat format) {
    m_format = format;
    m_formatGiven = true;
}

void SearchReader::setFields(std::vector<std::string> fields) {
    internal::checkFields(fields);  // fails before any input is read
    m_fields = std::move(fields);
}

void SearchReader::read(std::istream& in, const std::function<void(QueryResult&&)>& each) const {
    internal::Input input(in, m_source, m_readSize);
    readInput(input, m_source, each);
}

namespace {

// `path` opened for reading; throws SearchError naming it when it cannot be.
void openFile(const std::string& path, std::ifstream& file) {
    file.open(path, std::ios::binary);
    if (!file) {
        throw SearchError(path, 0, 0, std::string("cannot open: ") + std::strerror(errno));
    }
}

}  // namespace

void SearchReader::readFile(const std::string& path, const std::function<void(QueryResult&&)>& each) const {
    std::ifstream file;
    openFile(path, file);
    internal::Input input(file, path, m_readSize);
    const std::string_view head = internal::trimmed(input.peek(4096));
    input.checkStream();
    const bool mayList = !m_formatGiven || m_format == SearchFormat::BlastXml2 || m_format == SearchFormat::BlastJson;
    if (!mayList || !internal::isReportList(head)) {
        readInput(input, path, each);
        return;
    }
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    for (const std::string& name : internal::listedFiles(input, path)) {
        const std::string listed = (folder / name).string();
        std::ifstream part;
        openFile(listed, part);
        internal::Input partInput(part, listed, m_readSize);
        readInput(partInput, listed, each);
    }
}

void SearchReader::readInput(internal::Input& input, const std::string& source,
                             const std::function<void(QueryResult&&)>& each) const {
    SearchFormat format = m_format;
    std::size_t asked = kHeadSize;
    std::string_view head = input.peek(asked);
    input.checkStream();
    bool known = m_formatGiven || detectFormat(head, format);
    if (!known && head.size() == asked) {
        asked = kLongHeadSize;
        head = input.peek(asked);
        input.checkStream();
        known = detectFormat(head, format);
    }
    // Blanks only, the whole input.
    const bool blank = internal::trimmed(head).empty() && head.size() < asked;
    if (!known) {
        if (blank) {
            return;  // no output: BLAST's tabular output of a search without hits
        }
        std::string names;
        for (const std::string& name : formatNames()) {
            names += (names.empty() ? "" : ", ") + name;
        }
        throw SearchError(source, 1, 0, "unknown format: none of " + names);
    }
    const internal::FormatEntry& entry = internal::formatTable()[static_cast<int>(format)];
    if (blank && entry.emptyHasNoQuery) {
        return;
    }
    const internal::ReadContext context{source, m_fields};
    entry.read(input, context, each);
}

std::vector<QueryResult> SearchReader::readAll(std::istream& in) const {
    std::vector<QueryResult> results;
    read(in, [&results](QueryResult&& result) { results.push_back(std::move(result)); });
    return results;
}

}  // namespace NorvSearch
