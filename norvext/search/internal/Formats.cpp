#include "Formats.h"

#include "BlastXmlParser.h"
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
        {SearchFormat::FastaTab, "fasta-tab", [](std::string_view head) { return isTabular(head, Dialect::Fasta); },
         [](Input& in, const ReadContext& context, const EachQuery& each) {
             parseTabular(in, Dialect::Fasta, context.fields, context.source, each);
         },
         true},
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
