#ifndef NORVSEQ_EXPORT_H
#define NORVSEQ_EXPORT_H

// NorvSeq's export macro is its own business: NorvExt uses none of it.

#endif
