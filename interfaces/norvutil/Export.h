#ifndef NORVUTIL_EXPORT_H
#define NORVUTIL_EXPORT_H

// NORVUTIL_API marks what NorvUtil exports; everything else stays hidden.
#if defined(_WIN32)
#  if defined(NORVUTIL_BUILDING)
#    define NORVUTIL_API __declspec(dllexport)
#  else
#    define NORVUTIL_API __declspec(dllimport)
#  endif
#else
#  define NORVUTIL_API __attribute__((visibility("default")))
#endif

#endif
