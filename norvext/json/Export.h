#ifndef NORVEXT_JSON_EXPORT_H
#define NORVEXT_JSON_EXPORT_H

// NORVJSON_API marks what the JSON library exports; everything else stays
// hidden.
#if defined(_WIN32)
#  if defined(NORVJSON_BUILDING)
#    define NORVJSON_API __declspec(dllexport)
#  else
#    define NORVJSON_API __declspec(dllimport)
#  endif
#else
#  define NORVJSON_API __attribute__((visibility("default")))
#endif

#endif
