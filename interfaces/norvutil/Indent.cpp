#include <norvutil/Indent.h>

#include <ostream>

namespace Norv {

void Indent::write(std::ostream& os) const {
    for (int i = 0; i < m_level; ++i) {
        os.write("  ", 2);
    }
}

}  // namespace Norv
