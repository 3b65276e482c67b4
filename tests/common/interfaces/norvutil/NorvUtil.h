#ifndef NORVUTIL_NORVUTIL_H
#define NORVUTIL_NORVUTIL_H

#include <norvutil/AlignedBuf.h>
#include <norvutil/Indent.h>
#include <norvutil/Tracer.h>

#endif
