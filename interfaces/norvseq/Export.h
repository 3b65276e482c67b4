#ifndef NORVSEQ_EXPORT_H
#define NORVSEQ_EXPORT_H

// NORVSEQ_API marks what NorvSeq exports; everything else stays hidden.
#if defined(_WIN32)
#  if defined(NORVSEQ_BUILDING)
#    define NORVSEQ_API __declspec(dllexport)
#  else
#    define NORVSEQ_API __declspec(dllimport)
#  endif
#else
#  define NORVSEQ_API __attribute__((visibility("default")))
#endif

#endif
