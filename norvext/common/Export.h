#ifndef NORVEXT_COMMON_EXPORT_H
#define NORVEXT_COMMON_EXPORT_H

// NORVCOMMON_VISIBLE marks the header-only polymorphic types of the visitor
// frame. Their type information must be one and the same in every module
// that sees them, or the cross-casts of accept() would fail between
// libraries. Windows builds need no mark for it.
#if defined(_WIN32)
#  define NORVCOMMON_VISIBLE
#else
#  define NORVCOMMON_VISIBLE __attribute__((visibility("default")))
#endif

#endif
