#ifndef NORVUTIL_TRACER_H
#define NORVUTIL_TRACER_H

// What NorvExt may ask of the dump writer: one block per object, one line per
// key, and the level of nested objects.

#include <norvutil/Indent.h>

#include <iosfwd>
#include <string>

namespace Norv {

class Tracer {
public:
    Tracer(std::ostream& os, Indent indent, const char* className);
    ~Tracer();
    Tracer(const Tracer&) = delete;
    Tracer& operator=(const Tracer&) = delete;

    void operator()(const char* key, const std::string& value) const;
    void operator()(const char* key, const char* value) const;
    void operator()(const char* key, int value) const;
    void operator()(const char* key, unsigned int value) const;
    void operator()(const char* key, double value) const;

    int nestedIndent() const;
};

}  // namespace Norv

#endif
