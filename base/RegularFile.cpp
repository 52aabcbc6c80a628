#include "base/RegularFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace obrenta::base {

FileProblem ProblemOf(int error) {
    switch (error) {
        case 0:
            return FileProblem::None;
        case ENOENT:
        case ENOTDIR:
            return FileProblem::NotFound;
        case EACCES:
        case EPERM:
            return FileProblem::PermissionDenied;
        default:
            return FileProblem::IoError;
    }
}

std::string ProblemText(FileProblem problem, int error) {
    if (problem == FileProblem::None) return "";
    if (problem == FileProblem::NotRegularFile) return "not a regular file";
    return std::strerror(error);
}

RegularFile::RegularFile(const std::string& path) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) {
        Fail(errno);
        return;
    }
    if (::fstat(fd_, &info_) != 0) {
        Fail(errno);
        return;
    }
    if (!S_ISREG(info_.st_mode)) {
        problem_ = FileProblem::NotRegularFile;
        error_ = 0;
    }
}

RegularFile::~RegularFile() {
    if (fd_ >= 0) ::close(fd_);
}

void RegularFile::Fail(int error) {
    problem_ = ProblemOf(error);
    if (problem_ == FileProblem::None) problem_ = FileProblem::IoError;
    error_ = error;
}

std::ptrdiff_t RegularFile::Read(char* to, std::size_t room) {
    if (!ok()) return -1;
    for (;;) {
        const ssize_t got = ::read(fd_, to, room);
        if (got >= 0) return got;
        if (errno != EINTR) {
            Fail(errno);
            return -1;
        }
    }
}

std::ptrdiff_t RegularFile::ReadAt(char* to, std::size_t room, std::uint64_t offset, int& error) const {
    if (!ok()) {
        error = error_;
        return -1;
    }
    for (;;) {
        const ssize_t got = ::pread(fd_, to, room, static_cast<off_t>(offset));
        if (got >= 0) return got;
        if (errno != EINTR) {
            error = errno;
            return -1;
        }
    }
}

}  // namespace obrenta::base
