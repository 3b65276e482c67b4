#include "XmlPiece.h"

#include <cstring>

namespace NorvSearch {
namespace internal {

void Piece::checkTop(const char* root) const {
    const std::string rootTag = "<" + std::string(root) + ">";
    for (const pugi::xml_node& node : m_document.children()) {
        if (node.type() == pugi::node_doctype && std::strstr(node.value(), "<!ENTITY") != nullptr) {
            // Entities are how XML files blow up or reach outside; BLAST declares none.
            fail(node, "entity declarations are not accepted");
        }
        if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) {
            fail(node, "text outside " + rootTag);
        }
        if (node.type() == pugi::node_element && std::strcmp(node.name(), root) != 0) {
            fail(node, "<" + std::string(node.name()) + "> where " + rootTag + " belongs");
        }
    }
    if (!m_document.child(root)) {
        fail(std::size_t(0), "no " + rootTag);
    }
}

}  // namespace internal
}  // namespace NorvSearch
