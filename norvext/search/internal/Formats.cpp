#include "Formats.h"

#include "BlastJsonParser.h"
#include "BlastXml2Parser.h"
#include "BlastXmlParser.h"
#include "FastaM10Parser.h"
#include "TabularParser.h"

namespace NorvSearch {
namespace internal {

const std::vector<FormatEntry>& formatTable() {
    static const std::vector<FormatEntry> table = {
        {SearchFormat::BlastXml, "blast-xml", isBlastXml,
         [](Input& in, const ReadContext& context, const EachQuery& each) { parseBlastXml(in, context.source, each); },
         false},
        {SearchFormat::BlastTab, "blast-tab", [](std::string_view head) { return isTabular(head, Dialect::Blast); },
         [](Input& in, const ReadContext& context, const EachQuery& each) {
             parseTabular(in, Dialect::Blast, context.fields, context.source, each);
         },
         true},
        // FASTA's text outputs (-m 10 among them) also begin with a
        // "# fasta36 ..." comment.
        {SearchFormat::FastaTab, "fasta-tab",
         [](std::string_view head) { return isTabular(head, Dialect::Fasta) && !hasFastaBanner(head); },
         [](Input& in, const ReadContext& context, const EachQuery& each) {
             parseTabular(in, Dialect::Fasta, context.fields, context.source, each);
         },
         true},
        {SearchFormat::FastaM10, "fasta-m10", isFastaM10,
         [](Input& in, const ReadContext& context, const EachQuery& each) { parseFastaM10(in, context.source, each); },
         false},
        {SearchFormat::BlastXml2, "blast-xml2", isBlastXml2, parseBlastXml2, false},
        {SearchFormat::BlastJson, "blast-json", isBlastJson, parseBlastJson, false},
        {SearchFormat::MMseqsTab, "mmseqs-tab", [](std::string_view head) { return isTabular(head, Dialect::MMseqs); },
         [](Input& in, const ReadContext& context, const EachQuery& each) {
             parseTabular(in, Dialect::MMseqs, context.fields, context.source, each);
         },
         true},
    };
    return table;
}

}  // namespace internal
}  // namespace NorvSearch
