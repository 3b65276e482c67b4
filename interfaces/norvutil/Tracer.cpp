#include <norvutil/Tracer.h>

#include <charconv>
#include <cstring>
#include <ostream>

namespace Norv {

namespace {
std::size_t textLength(const char* text) { return text != nullptr ? std::strlen(text) : 0; }
}  // namespace

Tracer::Tracer(std::ostream& os, Indent indent, const char* className) : m_os(os), m_indent(indent) {
    m_indent.write(m_os);
    m_os.write(className != nullptr ? className : "", static_cast<std::streamsize>(textLength(className)));
    m_os.write(" {\n", 3);
}

Tracer::~Tracer() {
    try {
        m_indent.write(m_os);
        m_os.write("}\n", 2);
    } catch (...) {
        // A stream that throws on error must not take the process down from
        // a destructor; its state already records the failure.
    }
}

void Tracer::line(const char* key, const char* value, std::size_t length) const {
    Indent(nestedIndent()).write(m_os);
    m_os.write(key != nullptr ? key : "", static_cast<std::streamsize>(textLength(key)));
    m_os.write(": ", 2);
    m_os.write(value, static_cast<std::streamsize>(length));
    m_os.put('\n');
}

void Tracer::operator()(const char* key, const std::string& value) const {
    line(key, value.data(), value.size());
}

void Tracer::operator()(const char* key, const char* value) const {
    line(key, value != nullptr ? value : "", textLength(value));
}

void Tracer::operator()(const char* key, int value) const {
    char text[16];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    line(key, text, static_cast<std::size_t>(end - text));
}

void Tracer::operator()(const char* key, unsigned int value) const {
    char text[16];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    line(key, text, static_cast<std::size_t>(end - text));
}

void Tracer::operator()(const char* key, double value) const {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    line(key, text, static_cast<std::size_t>(end - text));
}

}  // namespace Norv
