#include <norvext/query/internal/SummaryText.h>

#include <norvext/query/Summary.h>
#include <norvseq/StreamIO.h>

#include <istream>
#include <ostream>

namespace Norv {
namespace internal {

namespace {
// The form StreamIO::read takes back: byte length, colon, the bytes as they
// stand. NorvSeq only reads it, so the line is written here.
void writeLine(std::ostream& os, const std::string& text) {
    os << text.size() << ':';
    os.write(text.data(), static_cast<std::streamsize>(text.size()));
    os.put('\n');
}
}  // namespace

std::ostream& operator<<(std::ostream& os, const Summary& summary) {
    os << summary.getDatabase() << ' ' << summary.getID() << ' ' << summary.getOption() << ' '
       << summary.getInitN() << ' ' << summary.getInit1() << '\n';
    writeLine(os, summary.getDBName());
    writeLine(os, summary.getSourceDB());
    writeLine(os, summary.getSourceID());
    writeLine(os, summary.getTitle());
    writeLine(os, summary.getCaption());
    writeLine(os, summary.getExtra());
    return os;
}

std::istream& operator>>(std::istream& is, Summary& summary) {
    int database = 0;
    unsigned int id = 0, option = 0, initN = 0, init1 = 0;
    is >> database >> id >> option >> initN >> init1;
    is.ignore(1);
    summary.setDatabase(database);
    summary.setID(id);
    summary.setOption(option);
    summary.setInitN(initN);
    summary.setInit1(init1);
    // One string per call, each read into a fresh text.
    const auto next = [&is]() {
        std::string text;
        StreamIO::read(is, text);
        return text;
    };
    summary.setDBName(next());
    summary.setSourceDB(next());
    summary.setSourceID(next());
    summary.setTitle(next());
    summary.setCaption(next());
    summary.setExtra(next());
    return is;
}

}  // namespace internal
}  // namespace Norv
