#ifndef NORVEXT_SEARCH_FASTENGINEOPTION_H
#define NORVEXT_SEARCH_FASTENGINEOPTION_H

#include <norvext/search/Export.h>

#include <norvext/params/XBlastParams.h>

#include <string>
#include <string_view>
#include <vector>

namespace NorvSearch {

/// The fast protein search engines that run the blastp and blastx searches
/// an XBlastParams describes, in place of BLAST+.
enum class FastEngine {
    Diamond,  ///< DIAMOND: diamond blastp, diamond blastx (Debian diamond-aligner)
    MMseqs,   ///< MMseqs2: mmseqs easy-search (Debian mmseqs2)
};

/// The engine's executable: "diamond" or "mmseqs".
NORVSEARCH_API const char* fastEngineName(FastEngine engine);

/// The engine whose executable is `name` (as fastEngineName() gives it);
/// false, leaving `engine` alone, for any other name.
NORVSEARCH_API bool fastEngineFromName(std::string_view name, FastEngine& engine);

/// One setting of XBlastParams as the fast engines spell it: a row of the
/// one table of that mapping (fastEngineOptions()), which
/// EngineCommand::fast() follows. docs/engines.md shows it beside BLAST+'s
/// options.
struct NORVSEARCH_API FastEngineOption {
    /// The option's value for the search that `params` describes.
    using Value = std::string (*)(const Norv::XBlastParams& params, FastEngine engine);

    /// The setting as the JSON of XBlastParams names it: "matrix", "gapOpen".
    const char* setting;
    /// DIAMOND's option; null when DIAMOND has none for the setting.
    const char* diamond;
    /// MMseqs2's option; null when MMseqs2 has none.
    const char* mmseqs;
    /// The value; an empty one gives no option (the setting is not set, 0 or
    /// empty, or the program does not take it). Null where neither engine
    /// has an option.
    Value value;

    /// The option of `engine`; null when it has none.
    const char* option(FastEngine engine) const { return engine == FastEngine::Diamond ? diamond : mmseqs; }
};

/// Every setting of XBlastParams that a search takes, each once, in the
/// order the options follow on the command line: those that no fast engine
/// takes too (with null options). Not in it: the program, database and
/// query, which the command places itself, and what only describes the
/// object (name, locator, letters, the protein and translated flags).
NORVSEARCH_API const std::vector<FastEngineOption>& fastEngineOptions();

}  // namespace NorvSearch

#endif
