#ifndef NORVUTIL_INDENT_H
#define NORVUTIL_INDENT_H

// What NorvExt may do with an indentation: make one from a dump's level and
// hand it to a Tracer.

namespace Norv {

class Indent {
public:
    explicit Indent(int level);
};

}  // namespace Norv

#endif
