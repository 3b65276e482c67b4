#ifndef NORVUTIL_NORVUTIL_H
#define NORVUTIL_NORVUTIL_H

// Every public header of NorvUtil.
#include <norvutil/AlignedBuf.h>
#include <norvutil/Indent.h>
#include <norvutil/Tracer.h>

#endif
