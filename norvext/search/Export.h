#ifndef NORVEXT_SEARCH_EXPORT_H
#define NORVEXT_SEARCH_EXPORT_H

// NORVSEARCH_API marks what the search-output library exports; everything
// else stays hidden.
#if defined(_WIN32)
#  if defined(NORVSEARCH_BUILDING)
#    define NORVSEARCH_API __declspec(dllexport)
#  else
#    define NORVSEARCH_API __declspec(dllimport)
#  endif
#else
#  define NORVSEARCH_API __attribute__((visibility("default")))
#endif

#endif
