#ifndef NORVEXT_EXPORT_H
#define NORVEXT_EXPORT_H

// NORVEXT_API marks the classes that NorvExt exports; everything else stays
// hidden. NORVEXT_VISIBLE is for header-only polymorphic types (the visitor
// frame): their type information must be one and the same across every
// module, or the cross-casts of accept() would fail between libraries.
#if defined(_WIN32)
#  if defined(NORVEXT_BUILDING)
#    define NORVEXT_API __declspec(dllexport)
#  else
#    define NORVEXT_API __declspec(dllimport)
#  endif
#  define NORVEXT_VISIBLE
#else
#  define NORVEXT_API __attribute__((visibility("default")))
#  define NORVEXT_VISIBLE __attribute__((visibility("default")))
#endif

#endif
