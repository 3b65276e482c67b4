#ifndef NORVEXT_EXAMPLES_SAVEBUFFER_H
#define NORVEXT_EXAMPLES_SAVEBUFFER_H

// Given a folder on the command line, an example saves the buffers it makes
// there, one file of bytes each, for norvext-dump to read back:
//   summary_and_matrix build/buffers && norvext-dump --type Summary build/buffers/summary.bin

#include <norvutil/AlignedBuf.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace Example {

// Writes the bytes of `buf` into `folder`/`name`; does nothing when `folder`
// is null. A file that cannot be written ends the program with status 1.
inline void saveBuffer(const char* folder, const char* name, const Norv::AlignedBuf& buf) {
    if (folder == nullptr) {
        return;
    }
    const std::string path = std::string(folder) + "/" + name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    const bool written =
        file != nullptr && (buf.size() == 0 || std::fwrite(buf.data(), 1, buf.size(), file) == buf.size());
    if (file == nullptr || std::fclose(file) != 0 || !written) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::exit(1);
    }
}

}  // namespace Example

#endif
