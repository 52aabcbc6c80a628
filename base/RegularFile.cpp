#include "base/RegularFile.h"

#include <cerrno>

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
    return ErrorText(error);
}

void RegularFile::Fail(int error) {
    problem_ = ProblemOf(error);
    if (problem_ == FileProblem::None) problem_ = FileProblem::IoError;
    error_ = error;
}

}  // namespace obrenta::base
