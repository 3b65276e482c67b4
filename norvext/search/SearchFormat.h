#ifndef NORVEXT_SEARCH_SEARCHFORMAT_H
#define NORVEXT_SEARCH_SEARCHFORMAT_H

#include <norvext/search/Export.h>

#include <string>
#include <string_view>
#include <vector>

namespace NorvSearch {

/// The outputs of search engines that the reader takes.
enum class SearchFormat {
    BlastXml,  ///< BLAST XML, -outfmt 5
    BlastTab,  ///< BLAST tabular, -outfmt 6 or 7
    FastaTab,  ///< FASTA36 tabular, -m 8, 8C, 8CB
    FastaM10,   ///< FASTA36 -m 10 (key: value lines and the aligned sequences)
    BlastXml2,  ///< BLAST XML2, -outfmt 16, and 14's per-query files
    BlastJson,  ///< BLAST JSON, -outfmt 15, and 13's per-query files
    MMseqsTab,  ///< MMseqs2 tabular: easy-search, convertalis --format-mode 0 or 4
};

/// The format's name: "blast-xml", "blast-tab", "fasta-tab", "fasta-m10",
/// "blast-xml2", "blast-json" or "mmseqs-tab".
NORVSEARCH_API const char* formatName(SearchFormat format);

/// The names of every format, in the order of SearchFormat.
NORVSEARCH_API std::vector<std::string> formatNames();

/// The format named `name` (as formatName() gives it); false, leaving
/// `format` alone, for any other name.
NORVSEARCH_API bool formatFromName(std::string_view name, SearchFormat& format);

/// The format of an output that begins with `head` (its first few hundred
/// bytes), from positive signs only, each format's own (the first that
/// matches, in the order of SearchFormat): XML when it starts with an XML
/// declaration or a BlastOutput element (XML2 when that declaration is
/// followed by a BlastXML2 or BlastOutput2 element); JSON when it is an
/// object whose first key is "BlastOutput2" (or "BlastJSON", -outfmt 13's
/// list of files); BLAST or FASTA tabular when its first
/// comment names a program of that engine (findProgram()); MMseqs2 tabular
/// when its first line is MMseqs2's header (--format-mode 4) or a line of
/// its 12 default columns (an identity fraction, an E-value such as
/// "1.320E-122"); BLAST tabular (DIAMOND's too) when its first line, not a
/// comment, has four columns or more and is not MMseqs2's; FASTA's
/// -m 10 when it holds FASTA's banner or a query line ("  1>>>...") and a
/// "; pg_name:" line naming a FASTA36 program (SearchReader gives it the
/// first 512 bytes, then the first 64 KiB when those tell no format). False,
/// leaving `format` alone, for an empty output or one that is none of these.
NORVSEARCH_API bool detectFormat(std::string_view head, SearchFormat& format);

}  // namespace NorvSearch

#endif
