#include <norvext/search/SearchReader.h>

#include "internal/BlastXmlParser.h"
#include "internal/Fields.h"
#include "internal/Input.h"
#include "internal/TabularParser.h"


namespace NorvSearch {

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
    SearchFormat format = m_format;
    const std::string_view head = input.peek(512);
    input.checkStream();
    if (internal::trimmed(head).empty() && head.size() < 512 && !(m_formatGiven && format == SearchFormat::BlastXml)) {
        return;  // no output: BLAST's tabular output of a search without hits
    }
    if (!m_formatGiven && !detectFormat(head, format)) {
        throw SearchError(m_source, 1, 0, "unknown format: neither BLAST XML nor BLAST or FASTA tabular");
    }
    if (format == SearchFormat::BlastXml) {
        internal::parseBlastXml(input, m_source, each);
    } else {
        internal::parseTabular(input,
                               format == SearchFormat::BlastTab ? internal::Dialect::Blast : internal::Dialect::Fasta,
                               m_fields, m_source, each);
    }
}

std::vector<QueryResult> SearchReader::readAll(std::istream& in) const {
    std::vector<QueryResult> results;
    read(in, [&results](QueryResult&& result) { results.push_back(std::move(result)); });
    return results;
}

}  // namespace NorvSearch
