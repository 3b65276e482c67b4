// The persisted classes of NorvExt (Norv::persistedClasses()) and the bases
// they share, each with its operations under their snake-case names and the
// same bytes, JSON and dump as the C++ library.
#include "python/src/Binder.h"

#include <norvext/PersistedClasses.h>
#include <norvext/json/JsonMapping.h>
#include <norvutil/AlignedBuf.h>

#include <pybind11/stl.h>

#include <boost/pointer_cast.hpp>

#include <cctype>
#include <sstream>
#include <stdexcept>

namespace NorvPython {
namespace internal {

std::string accessorDoc(const std::string& name) {
    const std::size_t cut = name.find('_');
    const std::string verb = name.substr(0, cut);
    const std::string what = cut == std::string::npos ? name : name.substr(cut + 1);
    std::string words = what;
    for (char& c : words) {
        c = c == '_' ? ' ' : c;
    }
    if (verb == "get") {
        return "Returns the " + words + ".";
    }
    if (verb == "set") {
        return "Replaces the " + words + " with `value`.";
    }
    // is_, use_, do_: a flag, read without an argument, set with one.
    return "Without an argument, whether " + name + " holds; with a bool, sets it.";
}

}  // namespace internal

namespace {

using namespace pybind11::literals;

// The object that `data` holds, read as the C++ tests read a new object: a
// term through the term factory (its type code first), any other class
// into a default object. Raises ValueError when the bytes do not read or
// hold more than the object.
template <class T>
boost::shared_ptr<T> fromBytes(const py::bytes& data) {
    const std::string raw = data;
    Norv::AlignedBuf buf(std::vector<unsigned char>(raw.begin(), raw.end()));
    const char* name = Norv::persistedClassName<T>();
    boost::shared_ptr<T> object;
    try {
        if constexpr (Norv::PersistedClass<T>::s_isTerm) {
            object = boost::dynamic_pointer_cast<T>(Norv::DBTerm::create(buf));
            if (!object) {
                throw std::runtime_error(std::string("the bytes hold a term of another class than ") + name);
            }
        } else {
            object = boost::shared_ptr<T>(new T());
            object->read(buf);
        }
    } catch (const std::exception& e) {
        throw py::value_error(std::string("no ") + name + " in these bytes: " + e.what());
    }
    if (buf.tell() != buf.size()) {
        throw py::value_error(std::string("the bytes hold more than one ") + name + ": " +
                              std::to_string(buf.size() - buf.tell()) + " bytes left over");
    }
    return object;
}

template <class T>
py::bytes toBytes(const T& object) {
    Norv::AlignedBuf buf;
    object.write(buf);
    return py::bytes(reinterpret_cast<const char*>(buf.data()), buf.size());
}

// from_bytes, to_bytes, from_json, to_json, dump, equality by bytes and
// pickling through the bytes, for the persisted class T.
template <class T, class... Base>
void persisted(Binder<T, Base...>& binder) {
    auto& cls = binder.get();
    cls.def_static("from_bytes", &fromBytes<T>, "data"_a,
                   "The object that `data` holds, as the C++ read() gives it (a term through the term "
                   "factory). Raises ValueError when the bytes do not read or hold more than one object.");
    cls.def("to_bytes", &toBytes<T>, "The bytes that the C++ write() puts into an AlignedBuf.");
    cls.def(
        "to_json", [](const T& self, int indent) { return NorvJson::toJson(self, indent); }, "indent"_a = 2,
        "The object as JSON (docs/json.md): `indent` blanks a level, -1 for one line.");
    cls.def_static(
        "from_json",
        [](const std::string& text) {
            try {
                return boost::shared_ptr<T>(new T(NorvJson::fromJson<T>(text)));
            } catch (const NorvJson::JsonError& e) {
                throw py::value_error(e.what());
            }
        },
        "text"_a, "The object that the JSON `text` describes. Raises ValueError naming the value at fault.");
    cls.def(
        "dump",
        [](const T& self, int level) {
            std::ostringstream os;
            self.dump(os, level);
            return textOf(os.str());
        },
        "level"_a = 0, "The object's dump (docs/dump.md), indented `level` steps, as text.");
    cls.def(
        "__eq__",
        [](const T& self, const T& other) { return std::string(toBytes(self)) == std::string(toBytes(other)); },
        py::is_operator(), "Whether both objects write the same bytes.");
    cls.def(py::pickle([](const T& self) { return toBytes(self); },
                       [](const py::bytes& data) { return fromBytes<T>(data); }));
    cls.attr("__hash__") = py::none();
}

void bindCatalogue(py::module_& m) {
    using Norv::DBField;
    Binder<DBField> field(m, "DBField", "A searchable field of a database.");
    field.get()
        .def(py::init<>(), "Id -1 and empty texts.")
        .def(py::init<int, const std::string&, const std::string&, const std::string&>(), "id"_a, "name"_a,
             "description"_a, "tag"_a, "A field with these values.");
    field.getter("get_id", &DBField::getID).setter("set_id", &DBField::setID);
    field.getter("get_name", &DBField::getName).setter("set_name", &DBField::setName);
    field.getter("get_description", &DBField::getDescription).setter("set_description", &DBField::setDescription);
    field.getter("get_tag", &DBField::getTag).setter("set_tag", &DBField::setTag);
    persisted(field);

    using Norv::DBInfo;
    Binder<DBInfo> info(m, "DBInfo", "What every database description has: a name and a description.");
    info.getter("get_name", &DBInfo::getName).setter("set_name", &DBInfo::setName);
    info.getter("get_description", &DBInfo::getDescription).setter("set_description", &DBInfo::setDescription);

    using Norv::DBDatabase;
    Binder<DBDatabase, DBInfo> database(m, "DBDatabase", "A queryable database with its fields.");
    database.get()
        .def(py::init<>(), "Id -1, empty texts, no fields.")
        .def(py::init<int, const std::string&, const std::string&, const std::string&>(), "id"_a, "name"_a,
             "description"_a, "tag"_a, "A database with these values and no fields.")
        .def("get_fields", &DBDatabase::getFields, "The fields, in order (copies).")
        .def("assign", &DBDatabase::assign, "fields"_a, "Replaces the fields with copies of `fields`.")
        .def("add", &DBDatabase::add, "field"_a, "Appends a copy of `field`.")
        .def("size", &DBDatabase::size, "The number of fields.")
        .def("__len__", &DBDatabase::size, "The number of fields.")
        .def("empty", &DBDatabase::empty, "Whether there are no fields.");
    // The find operations give a copy of the field found, or None.
    const auto found = [](const DBDatabase& self, DBDatabase::const_iterator at) {
        return at == self.end() ? py::object(py::none()) : py::cast(*at);
    };
    database.get()
        .def(
            "find_id", [found](const DBDatabase& self, int id) { return found(self, self.findID(id)); }, "id"_a,
            "The first field with this id (a copy), or None.")
        .def(
            "find_name",
            [found](const DBDatabase& self, const std::string& name) { return found(self, self.findName(name)); },
            "name"_a, "The first field with this name (a copy), or None.")
        .def(
            "find_tag",
            [found](const DBDatabase& self, const std::string& tag) { return found(self, self.findTag(tag)); }, "tag"_a,
            "The first field with this tag (a copy), or None.");
    database.getter("get_id", &DBDatabase::getID).setter("set_id", &DBDatabase::setID);
    database.getter("get_tag", &DBDatabase::getTag).setter("set_tag", &DBDatabase::setTag);
    persisted(database);

    using Norv::QueryDBInfo;
    Binder<QueryDBInfo, DBInfo> catalogue(m, "QueryDBInfo", "The catalogue of queryable databases.");
    const auto foundDatabase = [](const QueryDBInfo& self, QueryDBInfo::const_iterator at) {
        return at == self.end() ? py::object(py::none()) : py::cast(*at);
    };
    catalogue.get()
        .def(py::init<>(), "Empty name, limit 0, no databases.")
        .def(py::init<const std::string&, unsigned int>(), "name"_a, "limit"_a, "A catalogue without databases.")
        .def("get_info", &QueryDBInfo::getInfo, "The databases, in order (copies).")
        .def("add", &QueryDBInfo::add, "database"_a, "Appends a copy of `database`.")
        .def("size", &QueryDBInfo::size, "The number of databases.")
        .def("__len__", &QueryDBInfo::size, "The number of databases.")
        .def("empty", &QueryDBInfo::empty, "Whether there are no databases.")
        .def(
            "last", [](QueryDBInfo& self) { return self.empty() ? py::object(py::none()) : py::cast(*self.last()); },
            "The last database (a copy), or None.")
        .def(
            "find_info",
            [foundDatabase](const QueryDBInfo& self, int id) { return foundDatabase(self, self.findInfo(id)); }, "id"_a,
            "The first database with this id (a copy), or None.")
        .def(
            "find_info",
            [foundDatabase](const QueryDBInfo& self, const std::string& name) {
                return foundDatabase(self, self.findInfo(name));
            },
            "name"_a, "The first database with this name (a copy), or None.")
        .def(
            "find_tag",
            [foundDatabase](const QueryDBInfo& self, const std::string& tag) {
                return foundDatabase(self, self.findTag(tag));
            },
            "tag"_a, "The first database with this tag (a copy), or None.");
    catalogue.getter("get_limit", &QueryDBInfo::getLimit).setter("set_limit", &QueryDBInfo::setLimit);
    persisted(catalogue);

    using Norv::XBlastDBInfo;
    Binder<XBlastDBInfo, DBInfo> blastDatabase(m, "XBlastDBInfo", "A database for similarity searches.");
    blastDatabase.get()
        .def(py::init<>(), "Empty texts, length and count 0, not protein.")
        .def(py::init<const std::string&, const std::string&, unsigned int, unsigned int, bool>(), "name"_a,
             "description"_a, "length"_a, "sequence_count"_a, "is_protein"_a, "A database with these values.");
    blastDatabase.getter("get_length", &XBlastDBInfo::getLength)
        .getter("get_sequence_count", &XBlastDBInfo::getSequenceCount)
        .getter("is_protein", &XBlastDBInfo::isProtein);
    persisted(blastDatabase);
}

void bindQuery(py::module_& m) {
    using Norv::DBTerm;
    Binder<DBTerm> term(m, "DBTerm",
                        "A query term of any class; its classes are DBStringTerm, DBRangeTerm and DBBooleanTerm.");
    py::enum_<DBTerm::Compare>(term.get(), "Compare", "How a string term compares a field with its text.")
        .value("EQ", DBTerm::EQ)
        .value("NEQ", DBTerm::NEQ)
        .value("LT", DBTerm::LT)
        .value("GT", DBTerm::GT)
        .value("LE", DBTerm::LE)
        .value("GE", DBTerm::GE)
        .value("LIKE", DBTerm::LIKE)
        .export_values();
    term.get()
        .def_static("comp_name", &DBTerm::compName, "compare"_a, "The comparison's name: \"EQ\", ..., \"LIKE\".")
        .def_static("comp_value", &DBTerm::compValue, "name"_a,
                    "The comparison named by `name`, judged by its first two bytes; EQ for any other text.")
        .def_static(
            "create",
            [](const py::bytes& data) {
                const std::string raw = data;
                Norv::AlignedBuf buf(std::vector<unsigned char>(raw.begin(), raw.end()));
                try {
                    return DBTerm::create(buf);
                } catch (const std::exception& e) {
                    throw py::value_error(std::string("no term in these bytes: ") + e.what());
                }
            },
            "data"_a, "The term of any class that `data` holds, type code first (the term factory).")
        .def(
            "dump",
            [](const DBTerm& self, int level) {
                std::ostringstream os;
                self.dump(os, level);
                return textOf(os.str());
            },
            "level"_a = 0, "The term's dump, indented `level` steps, as text.")
        .def("to_bytes", &toBytes<DBTerm>, "The bytes of the term, type code first.");

    using Norv::DBStringTerm;
    Binder<DBStringTerm, DBTerm> string(m, "DBStringTerm", "A query term that compares a field with a text.");
    string.get()
        .def(py::init<>(), "Field 0, empty texts, EQ.")
        .def(py::init<int, const std::string&, DBTerm::Compare>(), "field"_a, "query"_a, "compare"_a,
             "A term on the field with this id.")
        .def(py::init<const std::string&, const std::string&, DBTerm::Compare>(), "field_name"_a, "query"_a,
             "compare"_a, "A term on the field with this name.");
    string.getter("get_field", &DBStringTerm::getField).setter("set_field_id", &DBStringTerm::setFieldId);
    string.getter("get_field_name", &DBStringTerm::getFieldName).setter("set_field_name", &DBStringTerm::setFieldName);
    string.getter("get_query", &DBStringTerm::getQuery).getter("get_compare", &DBStringTerm::getCompare);
    persisted(string);

    using Norv::DBRangeTerm;
    Binder<DBRangeTerm, DBTerm> range(m, "DBRangeTerm", "A query term that bounds a field from below and above.");
    range.get()
        .def(py::init<>(), "Field 0, empty bounds.")
        .def(py::init<int, const std::string&, const std::string&>(), "field"_a, "start"_a, "end"_a,
             "A term on the field with this id.")
        .def(py::init<const std::string&, const std::string&, const std::string&>(), "field_name"_a, "start"_a, "end"_a,
             "A term on the field with this name.");
    range.getter("get_field", &DBRangeTerm::getField).setter("set_field_id", &DBRangeTerm::setFieldId);
    range.getter("get_field_name", &DBRangeTerm::getFieldName).setter("set_field_name", &DBRangeTerm::setFieldName);
    range.getter("get_start", &DBRangeTerm::getStart).getter("get_end", &DBRangeTerm::getEnd);
    persisted(range);

    using Norv::DBBooleanTerm;
    Binder<DBBooleanTerm, DBTerm> boolean(m, "DBBooleanTerm", "A query term that joins terms with AND, OR or NOT.");
    py::enum_<DBBooleanTerm::Op>(boolean.get(), "Op", "The operator of a boolean term.")
        .value("AND", DBBooleanTerm::AND)
        .value("OR", DBBooleanTerm::OR)
        .value("NOT", DBBooleanTerm::NOT)
        .export_values();
    boolean.get()
        .def(py::init<DBBooleanTerm::Op>(), "op"_a = DBBooleanTerm::AND, "No children.")
        .def(py::init<const std::string&>(), "op_name"_a, "No children; the operator named by `op_name`.")
        .def(py::init<const boost::shared_ptr<DBTerm>&, DBBooleanTerm::Op>(), "term"_a, "op"_a, "One child, shared.")
        .def(py::init<const boost::shared_ptr<DBTerm>&, DBBooleanTerm::Op, const boost::shared_ptr<DBTerm>&>(),
             "first"_a, "op"_a, "second"_a, "Two children, shared.")
        .def_static("op_name", &DBBooleanTerm::opName, "op"_a, "The operator's name: \"AND\", \"OR\" or \"NOT\".")
        .def("get_terms", &DBBooleanTerm::getTerms, "The children, in order, shared.")
        .def("add_term", &DBBooleanTerm::addTerm, "term"_a, "Appends a child, shared.")
        .def("clear", &DBBooleanTerm::clear, "Drops the children.");
    boolean.getter("get_op", &DBBooleanTerm::getOp).getter("get_op_name", &DBBooleanTerm::getOpName);
    persisted(boolean);

    using Norv::Summary;
    Binder<Summary> summary(m, "Summary", "The record of a database entry found.");
    summary.get()
        .def(py::init<>(), "Database -1, id 0, empty texts.")
        .def(py::init<int, unsigned int, const char*, const char*, const char*>(), "database"_a, "id"_a, "title"_a,
             "caption"_a, "extra"_a, "The record of entry `id` of database `database`.")
        .def(py::init<const char*, unsigned int, const char*, const char*, const char*>(), "db_name"_a, "id"_a,
             "title"_a, "caption"_a, "extra"_a, "The record of entry `id` of the database named `db_name`.");
    summary.getter("get_database", &Summary::getDatabase).setter("set_database", &Summary::setDatabase);
    summary.getter("get_id", &Summary::getID).setter("set_id", &Summary::setID);
    summary.getter("get_option", &Summary::getOption).setter("set_option", &Summary::setOption);
    summary.getter("get_init_n", &Summary::getInitN).setter("set_init_n", &Summary::setInitN);
    summary.getter("get_db_name", &Summary::getDBName).setter("set_db_name", &Summary::setDBName);
    summary.getter("get_source_db", &Summary::getSourceDB).setter("set_source_db", &Summary::setSourceDB);
    summary.getter("get_source_id", &Summary::getSourceID).setter("set_source_id", &Summary::setSourceID);
    summary.getter("get_title", &Summary::getTitle).setter("set_title", &Summary::setTitle);
    summary.getter("get_caption", &Summary::getCaption).setter("set_caption", &Summary::setCaption);
    summary.getter("get_extra", &Summary::getExtra).setter("set_extra", &Summary::setExtra);
    persisted(summary);

    using Norv::DBQuery;
    Binder<DBQuery> query(m, "DBQuery", "A database query with its term tree and hits.");
    query.get()
        .def(py::init<>(), "No databases, no term, no hits; wildcard on.")
        .def(py::init<const std::string&>(), "db_name"_a, "A query of the database named `db_name`.")
        .def(py::init<const std::string&, const boost::shared_ptr<DBTerm>&>(), "db_name"_a, "term"_a,
             "A query of the database named `db_name` with the condition `term`.")
        .def(py::init<int>(), "database"_a, "A query of the one database `database`.")
        .def(py::init<int, const boost::shared_ptr<DBTerm>&>(), "database"_a, "term"_a,
             "A query of the one database `database` with the condition `term`.")
        .def(
            "get_databases", [](const DBQuery& self) { return std::vector<int>(self.getDatabases()); },
            "The database ids, in insertion order.")
        .def("get_database", &DBQuery::getDatabase, "The id when exactly one database is named, otherwise -1.")
        .def("set_database", py::overload_cast<int>(&DBQuery::setDatabase), "database"_a,
             "Makes `database` the only database.")
        .def("set_database", py::overload_cast<const std::string&>(&DBQuery::setDatabase), "db_name"_a,
             "Sets the database name; the ids stay.")
        .def("add_database", &DBQuery::addDatabase, "database"_a, "Appends a database id, duplicates allowed.")
        .def("get_term", &DBQuery::getTerm, "The condition (shared), or None.")
        .def("set_term", &DBQuery::setTerm, "term"_a, "Replaces the condition, shared.")
        .def("get_hits", &DBQuery::getHits, "The hit records, shared, in order.")
        .def("add", py::overload_cast<const boost::shared_ptr<Summary>&>(&DBQuery::add), "hit"_a,
             "Appends a hit record, shared.")
        .def("size", &DBQuery::size, "The number of hits.")
        .def("__len__", &DBQuery::size, "The number of hits.")
        .def("clear", &DBQuery::clear, "Drops the hits.");
    query.getter("get_databases_str", &DBQuery::getDatabasesStr).setter("set_databases_str", &DBQuery::setDatabasesStr);
    query.getter("get_hit_count", &DBQuery::getHitCount).setter("set_hit_count", &DBQuery::setHitCount);
    query.getter("get_db_source", &DBQuery::getDBSource).setter("set_db_source", &DBQuery::setDBSource);
    query.getter("get_db_name", &DBQuery::getDBName).setter("set_db_name", &DBQuery::setDBName);
    query.getter("is_wildcard", &DBQuery::isWildcard).setter("set_wildcard", &DBQuery::setWildcard);
    persisted(query);
}

void bindParams(py::module_& m) {
    using Norv::XBlastParams;
    Binder<XBlastParams> blast(m, "XBlastParams", "The settings of a BLAST search.");
    blast.get()
        .def(py::init<>(), "Name \"lcl\", expect 10, gaps 11/1, X-dropoff 20, word size 3 (no preset's values).")
        .def(
            "set_data",
            [](XBlastParams& self, const py::bytes& letters) {
                const std::string raw = letters;
                self.setData(raw.data(), static_cast<unsigned int>(raw.size()));
            },
            "letters"_a, "Replaces the query letters; 'U' becomes 'T' unless the protein flag is set.");
    blast.getter("get_name", &XBlastParams::getName).setter("set_name", &XBlastParams::setName);
    blast.getter("get_program", &XBlastParams::getProgram).setter("set_program", &XBlastParams::setProgram);
    blast.getter("get_locator", &XBlastParams::getLocator).setter("set_locator", &XBlastParams::setLocator);
    blast.getter("get_database", &XBlastParams::getDatabase).setter("set_database", &XBlastParams::setDatabase);
    blast.getter("get_matrix", &XBlastParams::getMatrix).setter("set_matrix", &XBlastParams::setMatrix);
    blast.getter("get_data", &XBlastParams::getData);
    blast.getter("get_expect", &XBlastParams::getExpect).setter("set_expect", &XBlastParams::setExpect);
    blast.getter("get_gap_open", &XBlastParams::getGapOpen).setter("set_gap_open", &XBlastParams::setGapOpen);
    blast.getter("get_gap_extend", &XBlastParams::getGapExtend).setter("set_gap_extend", &XBlastParams::setGapExtend);
    blast.getter("get_x_dropoff", &XBlastParams::getXDropoff).setter("set_x_dropoff", &XBlastParams::setXDropoff);
    blast.getter("get_word_size", &XBlastParams::getWordSize).setter("set_word_size", &XBlastParams::setWordSize);
    blast.getter("get_genetic_code", &XBlastParams::getGeneticCode)
        .setter("set_genetic_code", &XBlastParams::setGeneticCode);
    blast.getter("get_genetic_code_database", &XBlastParams::getGeneticCodeDatabase)
        .setter("set_genetic_code_database", &XBlastParams::setGeneticCodeDatabase);
    blast.getter("get_limit", &XBlastParams::getLimit).setter("set_limit", &XBlastParams::setLimit);
    blast.both("do_gapped", &XBlastParams::doGapped, &XBlastParams::doGapped);
    blast.both("use_filter", &XBlastParams::useFilter, &XBlastParams::useFilter);
    blast.getter("is_protein", &XBlastParams::isProtein).setter("set_protein", &XBlastParams::setProtein);
    blast.getter("is_translated", &XBlastParams::isTranslated).setter("set_translated", &XBlastParams::setTranslated);
    blast.getter("get_na_match_reward", &XBlastParams::getNAMatchReward)
        .setter("set_na_match_reward", &XBlastParams::setNAMatchReward);
    blast.getter("get_na_mismatch_penalty", &XBlastParams::getNAMismatchPenalty)
        .setter("set_na_mismatch_penalty", &XBlastParams::setNAMismatchPenalty);
    blast.action("set_na_defaults", &XBlastParams::setNADefaults, "The preset of a nucleic-acid query (BLASTN).")
        .action("set_aa_defaults", &XBlastParams::setAADefaults, "The preset of an amino-acid query (BLASTP).")
        .action("set_defaults_blastn", &XBlastParams::setDefaultsBLASTN, "The BLASTN preset.")
        .action("set_defaults_blastx", &XBlastParams::setDefaultsBLASTX, "The BLASTX preset.")
        .action("set_defaults_tblastx", &XBlastParams::setDefaultsTBLASTX, "The TBLASTX preset (ungapped).")
        .action("set_defaults_blastp", &XBlastParams::setDefaultsBLASTP, "The BLASTP preset.")
        .action("set_defaults_tblastn", &XBlastParams::setDefaultsTBLASTN, "The TBLASTN preset.");
    persisted(blast);

    using Norv::FastAParams;
    Binder<FastAParams> fasta(m, "FastAParams", "The settings of a FASTA search.");
    fasta.get()
        .def(py::init<>(), "The defaults of the C++ FastAParams().")
        .def(
            "set_data",
            [](FastAParams& self, const py::bytes& letters) {
                const std::string raw = letters;
                self.data().assign(raw.begin(), raw.end());
            },
            "letters"_a, "Replaces the query letters.");
    fasta.getter("get_database", &FastAParams::getDatabase).setter("set_database", &FastAParams::setDatabase);
    fasta.getter("get_algorithm", &FastAParams::getAlgorithm).setter("set_algorithm", &FastAParams::setAlgorithm);
    fasta.getter("get_optimization", &FastAParams::getOptimization)
        .setter("set_optimization", &FastAParams::setOptimization);
    fasta.getter("get_translation", &FastAParams::getTranslation)
        .setter("set_translation", &FastAParams::setTranslation);
    fasta.getter("get_data", &FastAParams::getData);
    fasta.getter("get_expect", &FastAParams::getExpect).setter("set_expect", &FastAParams::setExpect);
    fasta.getter("get_database_type", &FastAParams::getDatabaseType)
        .setter("set_database_type", &FastAParams::setDatabaseType);
    fasta.getter("get_output_constraint", &FastAParams::getOutputConstraint)
        .setter("set_output_constraint", &FastAParams::setOutputConstraint);
    fasta.getter("get_shift_value", &FastAParams::getShiftValue).setter("set_shift_value", &FastAParams::setShiftValue);
    fasta.getter("get_limit", &FastAParams::getLimit).setter("set_limit", &FastAParams::setLimit);
    fasta.getter("get_word_size", &FastAParams::getWordSize).setter("set_word_size", &FastAParams::setWordSize);
    fasta.getter("get_optimization_threshold", &FastAParams::getOptimizationThreshold)
        .setter("set_optimization_threshold", &FastAParams::setOptimizationThreshold);
    fasta.getter("get_earliest", &FastAParams::getEarliest).setter("set_earliest", &FastAParams::setEarliest);
    fasta.both("use_earliest", &FastAParams::useEarliest, &FastAParams::useEarliest);
    fasta.getter("get_gap_create", &FastAParams::getGapCreate).setter("set_gap_create", &FastAParams::setGapCreate);
    fasta.getter("get_gap_ext", &FastAParams::getGapExt).setter("set_gap_ext", &FastAParams::setGapExt);
    fasta.getter("get_matrix", &FastAParams::getMatrix).setter("set_matrix", &FastAParams::setMatrix);
    fasta.both("use_matrix_diagonals", &FastAParams::useMatrixDiagonals, &FastAParams::useMatrixDiagonals);
    fasta.both("use_top_strand", &FastAParams::useTopStrand, &FastAParams::useTopStrand);
    fasta.both("use_smith_waterman", &FastAParams::useSmithWaterman, &FastAParams::useSmithWaterman);
    fasta.action("set_na_defaults", &FastAParams::setNADefaults, "The defaults of a nucleic-acid query.")
        .action("set_aa_defaults", &FastAParams::setAADefaults, "The defaults of an amino-acid query.");
    persisted(fasta);
}

}  // namespace

void bindPersisted(py::module_& module) {
    bindCatalogue(module);
    bindQuery(module);
    bindParams(module);
    // The one list of persisted classes, by name, for whatever must cover
    // them all.
    py::list names;
    Norv::forEachPersistedClass([&names](auto entry) { names.append(entry.name); });
    module.attr("PERSISTED_CLASSES") = py::tuple(names);
}

}  // namespace NorvPython
