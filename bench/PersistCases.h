#ifndef NORVEXT_BENCH_PERSISTCASES_H
#define NORVEXT_BENCH_PERSISTCASES_H

// The objects that the persistence benchmark writes and reads, each built
// once as the library's class and copied field by field into its plain twin
// (PeerTypes.h), so that every contender handles the same data.

#include "PeerTypes.h"

#include <norvext/catalogue/QueryDBInfo.h>
#include <norvext/params/XBlastParams.h>
#include <norvext/query/DBQuery.h>
#include <norvext/query/Summary.h>

#include <cstddef>

namespace PersistBench {

// One summary record, every field filled.
Norv::Summary makeSummary();
// A query of database 7: AND of a string term and a range term, 10,000 hits.
Norv::DBQuery makeQuery();
// A catalogue of 100 databases with 20 fields each.
Norv::QueryDBInfo makeCatalogue();
// BLASTN settings with a 30,000-letter nucleotide query.
Norv::XBlastParams makeParams();

Peer::Summary twin(const Norv::Summary& summary);
Peer::Query twin(const Norv::DBQuery& query);
Peer::Catalogue twin(const Norv::QueryDBInfo& catalogue);
Peer::BlastParams twin(const Norv::XBlastParams& params);

// Objects that persist themselves inside each, the object itself included:
// the terms and hit records of a query, the databases and fields of a
// catalogue.
std::size_t objectCount(const Norv::Summary& summary);
std::size_t objectCount(const Norv::DBQuery& query);
std::size_t objectCount(const Norv::QueryDBInfo& catalogue);
std::size_t objectCount(const Norv::XBlastParams& params);

}  // namespace PersistBench

#endif
