#ifndef NORVUTIL_EXPORT_H
#define NORVUTIL_EXPORT_H

// NorvUtil's export macro is its own business: NorvExt uses none of it.

#endif
