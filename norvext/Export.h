#ifndef NORVEXT_EXPORT_H
#define NORVEXT_EXPORT_H

// NORVEXT_API marks the classes that NorvExt exports; everything else stays
// hidden.
#if defined(_WIN32)
#  if defined(NORVEXT_BUILDING)
#    define NORVEXT_API __declspec(dllexport)
#  else
#    define NORVEXT_API __declspec(dllimport)
#  endif
#else
#  define NORVEXT_API __attribute__((visibility("default")))
#endif

#endif
