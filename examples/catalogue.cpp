// A catalogue of two text databases with their fields travels through a
// buffer to another module, which reads it from the bytes alone, looks a
// database and a field up, and prints the catalogue; then the description of
// a database for similarity searches makes the same trip. Given a folder, it
// saves the two buffers there as catalogue.bin and blast-database.bin.
#include <norvext/NorvExt.h>
#include <norvutil/NorvUtil.h>

#include "SaveBuffer.h"

#include <iostream>

int main(int argc, char** argv) {
    const char* saveTo = argc > 1 ? argv[1] : nullptr;

    // The module that knows the databases describes them...
    Norv::DBDatabase swissprot(1, "swissprot", "Annotated protein sequences", "SW");
    swissprot.add(Norv::DBField(1, "AC", "Accession number", "acc"));
    swissprot.add(Norv::DBField(2, "DE", "Description", "des"));
    swissprot.add(Norv::DBField(3, "OS", "Organism species", "org"));

    Norv::DBDatabase embl(2, "embl", "Nucleotide sequences", "EM");
    embl.add(Norv::DBField(1, "AC", "Accession number", "acc"));
    embl.add(Norv::DBField(4, "KW", "Keywords", "key"));
    embl.add(Norv::DBField(5, "FT", "Feature table", "fea"));

    Norv::QueryDBInfo catalogue("Text databases", 500);
    catalogue.setDescription("Databases open to text queries");
    catalogue.add(swissprot);
    catalogue.add(embl);

    Norv::AlignedBuf buf;
    catalogue.write(buf);
    Example::saveBuffer(saveTo, "catalogue.bin", buf);
    std::cout << "QueryDBInfo written: " << buf.size() << " bytes\n";

    // ...and another reads it back from the bytes alone.
    Norv::AlignedBuf received(buf.bytes());
    Norv::QueryDBInfo copy;
    copy.read(received);
    const auto db = copy.findTag("EM");
    if (db != copy.end()) {
        const auto field = db->findName("KW");
        std::cout << "Tag EM is database " << db->getID() << " (" << db->getName() << "), field KW has id "
                  << (field != db->end() ? field->getID() : -1) << '\n';
    }
    copy.dump(std::cout, 0);

    const Norv::XBlastDBInfo nr("nr", "Non-redundant protein sequences", 4294967295u, 1250000, true);
    Norv::AlignedBuf blastBuf;
    nr.write(blastBuf);
    Example::saveBuffer(saveTo, "blast-database.bin", blastBuf);
    Norv::AlignedBuf blastReceived(blastBuf.bytes());
    const Norv::XBlastDBInfo nrCopy(blastReceived);
    nrCopy.dump(std::cout, 0);
    return 0;
}
