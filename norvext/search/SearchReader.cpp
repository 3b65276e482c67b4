#include <norvext/search/SearchReader.h>

#include "internal/BlastXmlParser.h"
#include "internal/Input.h"
#include "internal/TabularParser.h"


namespace NorvSearch {

SearchReader::SearchReader(std::string source) : m_source(std::move(source)) {}

void SearchReader::setFormat(SearchFormat format) {
    m_format = format;
    m_formatGiven = true;
}

void SearchReader::setFields(std::vector<std::string> fields) {
    internal::checkFields(fields);  // fails before any input is read
    m_fields = std::move(fields);
}

void SearchReader::read(std::istream& in, const std::function<void(QueryResult&&)>& each) const {
    internal::Input input(in, m_source);
    SearchFormat format = m_format;
    if (!m_formatGiven && !detectFormat(input.peek(512), format)) {
        input.checkStream();
        throw SearchError(m_source, 1, 0,
                          input.peek(1).empty() ? "empty input: no search output"
                                                : "unknown format: neither BLAST XML nor BLAST or FASTA tabular");
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
