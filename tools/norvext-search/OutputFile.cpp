#include "OutputFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {
[[noreturn]] void cannotWrite(const std::string& path, int error) {
    throw std::runtime_error(path + ": cannot write: " + (error != 0 ? std::strerror(error) : "write failed"));
}
}  // namespace

OutputFile::OutputFile(const std::string& path) : m_path(path) {
    std::vector<char> name(path.begin(), path.end());
    const char suffix[] = ".partial-XXXXXX";
    name.insert(name.end(), suffix, suffix + sizeof suffix);
    const int descriptor = ::mkstemp(name.data());
    if (descriptor < 0) {
        cannotWrite(path, errno);
    }
    // mkstemp makes the file private; the output gets what any new file gets.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(descriptor, 0666 & ~mask);
    ::close(descriptor);
    m_temporary = name.data();
    m_stream.open(m_temporary, std::ios::binary | std::ios::trunc);
    if (!m_stream) {
        const int error = errno;
        std::remove(m_temporary.c_str());
        cannotWrite(path, error);
    }
}

OutputFile::~OutputFile() {
    if (!m_committed) {
        m_stream.close();
        std::remove(m_temporary.c_str());
    }
}

void OutputFile::commit() {
    errno = 0;
    m_stream.close();
    if (!m_stream || std::rename(m_temporary.c_str(), m_path.c_str()) != 0) {
        cannotWrite(m_path, errno);
    }
    m_committed = true;
}
