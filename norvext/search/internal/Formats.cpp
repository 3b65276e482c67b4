#include "Formats.h"

#include "BlastJsonParser.h"
#include "BlastXml2Parser.h"
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
        {SearchFormat::BlastXml2, "blast-xml2", isBlastXml2, parseBlastXml2, false},
        {SearchFormat::BlastJson, "blast-json", isBlastJson, parseBlastJson, false},
    };
    return table;
}

}  // namespace internal
}  // namespace NorvSearch
