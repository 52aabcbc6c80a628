#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/Platform.h"

namespace obrenta::base {

// Why a file could not be read, in the classes the program tells apart.
enum class FileProblem { None, NotFound, NotRegularFile, PermissionDenied, IoError };

// The class of an errno value left by a failed open, stat or read.
FileProblem ProblemOf(int error);
// The text shown for a problem: "not a regular file", or the C library's text for error.
std::string ProblemText(FileProblem problem, int error);

// A regular file opened for reading. Anything else is refused before a byte is read: opening a
// FIFO would wait for a writer and a device such as /dev/zero never ends, so the open does not
// block (O_NONBLOCK) and fstat decides. On Windows the file is shared for reading, writing and
// deleting, so that a program appending to it goes on undisturbed.
class RegularFile {
public:
    explicit RegularFile(const std::string& path);
    ~RegularFile();
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    bool ok() const { return problem_ == FileProblem::None; }
    FileProblem problem() const { return problem_; }
    // The errno of the failure; 0 for a refused kind of file.
    int error() const { return error_; }
    // The status of the open file (fstat).
    const FileStatus& info() const { return info_; }

    // read(2), retried when interrupted: the count read, 0 at the end, -1 on failure (then
    // problem() and error() tell why).
    std::ptrdiff_t Read(char* to, std::size_t room);
    // pread(2) at offset, retried when interrupted: the count read, 0 at the end, -1 on failure
    // with its errno in error. It changes nothing in the object, so threads may call it at once.
    std::ptrdiff_t ReadAt(char* to, std::size_t room, std::uint64_t offset, int& error) const;

private:
    void Fail(int error);

    std::intptr_t handle_ = -1;  // a file descriptor, or a Windows HANDLE
    FileProblem problem_ = FileProblem::None;
    int error_ = 0;
    FileStatus info_;
};

}  // namespace obrenta::base
