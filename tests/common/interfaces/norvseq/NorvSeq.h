#ifndef NORVSEQ_NORVSEQ_H
#define NORVSEQ_NORVSEQ_H

#include <norvseq/Alignment.h>
#include <norvseq/AttrBase.h>
#include <norvseq/SeqAlign.h>
#include <norvseq/Sequence.h>
#include <norvseq/StreamIO.h>

#endif
