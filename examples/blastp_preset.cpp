// BLAST settings made from the BLASTP preset, given a protein query, travel
// through a buffer to the module that runs the search, which prints them;
// then the settings of a FASTA search, printed the same way. Given a folder,
// it saves the buffer there as blastp-params.bin.
#include <norvext/NorvExt.h>
#include <norvutil/NorvUtil.h>

#include "SaveBuffer.h"

#include <iostream>
#include <string>

int main(int argc, char** argv) {
    const char* saveTo = argc > 1 ? argv[1] : nullptr;

    // The module that formulates the search picks the preset of an
    // amino-acid query and names the query...
    Norv::XBlastParams blast;
    blast.setAADefaults();
    blast.setName("demo_protein");
    blast.setLimit(100);
    // ...whose letters keep their 'U' (selenocysteine): the query is a protein.
    const std::string query = "MALWMRLLPLLALLALWGPDPAAAFVNQHLCGSHLVEALYLVCGERGFFYTPKTUR";
    blast.setData(query.data(), static_cast<unsigned int>(query.size()));

    Norv::AlignedBuf buf;
    blast.write(buf);
    Example::saveBuffer(saveTo, "blastp-params.bin", buf);
    std::cout << "XBlastParams written: " << buf.size() << " bytes\n";

    // The running module reads the settings back from the bytes alone.
    Norv::AlignedBuf received(buf.bytes());
    const Norv::XBlastParams copy(received);
    copy.dump(std::cout, 0);
    std::cout << "query letters: " << std::string(copy.getData().begin(), copy.getData().end()) << '\n';

    Norv::FastAParams fasta;
    fasta.setDatabase("swissprot");
    fasta.setAlgorithm("FASTA");
    fasta.setExpect(0.001);
    fasta.setWordSize(2);
    fasta.setMatrix("BLOSUM50");
    fasta.setEarliest(-1);
    fasta.useTopStrand(true);
    fasta.data().assign(query.begin(), query.end());
    fasta.dump(std::cout, 0);
    return 0;
}
