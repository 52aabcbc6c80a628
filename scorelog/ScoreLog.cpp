#include "scorelog/ScoreLog.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "base/Platform.h"
#include "base/RegularFile.h"
#include "scorelog/BlockCutter.h"
#include "scorelog/GameBlockParser.h"

namespace obrenta::scorelog {

namespace {

ReadOutcome Failure(base::FileProblem problem, int error) {
    using Status = ReadOutcome::Status;
    switch (problem) {
        case base::FileProblem::NotFound:
            return {Status::NotFound, error};
        case base::FileProblem::NotRegularFile:
            return {Status::NotRegularFile, error};
        case base::FileProblem::PermissionDenied:
            return {Status::PermissionDenied, error};
        default:
            return {Status::IoError, error};
    }
}
ReadOutcome Failure(int error) {
    return Failure(base::ProblemOf(error), error);
}
ReadOutcome Failure(const base::RegularFile& file) {
    return Failure(file.problem(), file.error());
}

std::int64_t ModifiedNs(const base::FileStatus& st) {
    return st.modifiedNs;
}

// The bytes of a log that is read: the file, or a buffer that holds it.
class FileBytes final : public ByteSource {
public:
    explicit FileBytes(const base::RegularFile& file) : file_(file) {}
    std::ptrdiff_t ReadAt(char* to, std::size_t room, std::uint64_t offset, int& error) override {
        return file_.ReadAt(to, room, offset, error);
    }

private:
    const base::RegularFile& file_;
};

class MemoryBytes final : public ByteSource {
public:
    explicit MemoryBytes(std::string_view bytes) : bytes_(bytes) {}
    std::ptrdiff_t ReadAt(char* to, std::size_t room, std::uint64_t offset, int&) override {
        if (offset >= bytes_.size()) return 0;
        const std::size_t n = std::min<std::size_t>(room, bytes_.size() - offset);
        std::memcpy(to, bytes_.data() + offset, n);
        return static_cast<std::ptrdiff_t>(n);
    }

private:
    std::string_view bytes_;
};

// Evenly spread offsets between begin and end, one fewer than the ranges a log of that size is
// read in.
std::vector<std::uint64_t> SplitTargets(std::uint64_t begin, std::uint64_t end) {
    const std::uint64_t size = end > begin ? end - begin : 0;
    const std::size_t ranges = RangeCountFor(size);
    std::vector<std::uint64_t> targets;
    for (std::size_t k = 1; k < ranges; ++k) targets.push_back(begin + size / ranges * k);
    return targets;
}

// The bytes from offset on, up to size of them; empty when they can't be read.
std::string BytesAt(ByteSource& bytes, std::uint64_t offset, std::size_t size) {
    std::string out(size, '\0');
    std::size_t got = 0;
    while (got < size) {
        int error = 0;
        const std::ptrdiff_t n = bytes.ReadAt(out.data() + got, size - got, offset + got, error);
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    out.resize(got);
    return out;
}

// So many bytes before the old end must be unchanged for a read to go on from there.
constexpr std::size_t kTailBytes = 4096;

// Hands out the bytes of a buffer at most chunkBytes at a time.
auto MemorySource(std::string_view bytes, std::size_t chunkBytes) {
    return [bytes, chunkBytes](char* to, std::size_t room) mutable -> std::ptrdiff_t {
        const std::size_t n = std::min({room, chunkBytes, bytes.size()});
        if (n > 0) std::memcpy(to, bytes.data(), n);
        bytes.remove_prefix(n);
        return static_cast<std::ptrdiff_t>(n);
    };
}

}  // namespace

std::vector<std::vector<std::string>> SplitLogBlocks(std::string_view bytes, std::size_t chunkBytes) {
    std::vector<std::vector<std::string>> blocks;
    CutBlocks(MemorySource(bytes, chunkBytes), chunkBytes,
              [&](const std::vector<std::string_view>& lines, std::size_t count, std::uint64_t) {
                  if (count > kMaxBlockLines) return;
                  blocks.emplace_back(lines.begin(), lines.end());
              });
    return blocks;
}

ScoreLog::~ScoreLog() {
    ReleaseGames(games_);
}

void ScoreLog::ParseBuffer(std::string_view bytes) {
    const std::vector<std::uint64_t> targets = SplitTargets(0, bytes.size());
    ParseBuffer(bytes, targets);
}

void ScoreLog::ParseBuffer(std::string_view bytes, std::span<const std::uint64_t> splitTargets) {
    MemoryBytes source(bytes);
    const std::vector<std::uint64_t> starts = RangeStarts(source, 0, bytes.size(), splitTargets);
    std::vector<GameRecord> games;
    NamePoolPtr pool;
    ParseEnd parseEnd;
    int error = 0;
    ParseRanges(source, starts, bytes.size(), games, 0, pool, 0, parseEnd, error);
    ReleaseGames(games_);
    games_ = std::move(games);
    names_ = std::move(pool);
    haveRead_ = false;
    continuation_ = Continuation();
}

bool ScoreLog::CanAppend(const std::string& path, const base::FileStatus& info, ByteSource& bytes) const {
    const Continuation& c = continuation_;
    if (!haveRead_ || !c.valid || path != lastPath_ || info.device != c.device || info.fileId != c.inode ||
        static_cast<std::uint64_t>(info.size) <= c.parseEnd.end) {
        return false;
    }
    return BytesAt(bytes, c.parseEnd.end - c.tail.size(), c.tail.size()) == c.tail &&
           BytesAt(bytes, c.parseEnd.lastBlockStart, c.lastBlockHead.size()) == c.lastBlockHead;
}

void ScoreLog::Remember(const std::string& path, const base::FileStatus& info, ByteSource& bytes,
                        const ParseEnd& parseEnd) {
    lastPath_ = path;
    lastModifiedNs_ = ModifiedNs(info);
    lastSize_ = static_cast<std::int64_t>(info.size);
    haveRead_ = true;
    ++readCount_;

    Continuation& c = continuation_;
    c.device = info.device;
    c.inode = info.fileId;
    c.parseEnd = parseEnd;
    const std::size_t tailSize = static_cast<std::size_t>(std::min<std::uint64_t>(parseEnd.end, kTailBytes));
    const std::size_t headSize = static_cast<std::size_t>(
        std::min<std::uint64_t>(parseEnd.end - parseEnd.lastBlockStart, kMaxLinePieceBytes));
    c.tail = BytesAt(bytes, parseEnd.end - tailSize, tailSize);
    c.lastBlockHead = BytesAt(bytes, parseEnd.lastBlockStart, headSize);
    c.valid = c.tail.size() == tailSize && c.lastBlockHead.size() == headSize;
}

ReadOutcome ScoreLog::ReadScoreLog(const std::string& path) {
    base::FileStatus st;
    if (const int error = base::QueryFileStatus(path, st); error != 0) return Failure(error);
    // Only a regular file can be a log: opening a FIFO waits for a writer, and a device such as
    // /dev/zero never ends.
    if (!st.regular) return {ReadOutcome::Status::NotRegularFile};
    if (haveRead_ && path == lastPath_ && ModifiedNs(st) == lastModifiedNs_ &&
        static_cast<std::int64_t>(st.size) == lastSize_) {
        return {ReadOutcome::Status::Unchanged};
    }

    // The path may have become something else since the stat; the open checks again.
    base::RegularFile file(path);
    if (!file.ok()) return Failure(file);
    FileBytes bytes(file);
    const auto size = static_cast<std::uint64_t>(file.info().size);
    ParseEnd parseEnd;
    int error = 0;

    // A file that grows while it is read is read to its end; a later call sees its new time.
    if (CanAppend(path, file.info(), bytes)) {
        const ParseEnd& last = continuation_.parseEnd;
        const std::vector<std::uint64_t> starts =
            RangeStarts(bytes, last.lastBlockStart, size, SplitTargets(last.lastBlockStart, size));
        switch (ParseRanges(bytes, starts, size, games_, last.gamesBeforeLastBlock, names_,
                            last.namesBeforeLastBlock, parseEnd, error)) {
            case RangeParseStatus::Parsed:
                Remember(path, file.info(), bytes, parseEnd);
                ++appendReadCount_;
                return {ReadOutcome::Status::Read};
            case RangeParseStatus::ReadFailed:
                return Failure(error);
            case RangeParseStatus::NamesDiffer:
                break;  // the last block read before named others: read the whole file
        }
    }

    std::vector<GameRecord> games;
    NamePoolPtr pool;
    const std::vector<std::uint64_t> starts = RangeStarts(bytes, 0, size, SplitTargets(0, size));
    if (ParseRanges(bytes, starts, size, games, 0, pool, 0, parseEnd, error) != RangeParseStatus::Parsed) {
        return Failure(error);
    }
    ReleaseGames(games_);
    games_ = std::move(games);
    names_ = std::move(pool);
    Remember(path, file.info(), bytes, parseEnd);
    return {ReadOutcome::Status::Read};
}

std::string ReadOutcome::reason() const {
    switch (status) {
        case Status::Unchanged:
        case Status::Read:
            return "";
        case Status::NotRegularFile:
            return base::ProblemText(base::FileProblem::NotRegularFile, error);
        default:
            return base::ProblemText(base::FileProblem::IoError, error);
    }
}

}  // namespace obrenta::scorelog
