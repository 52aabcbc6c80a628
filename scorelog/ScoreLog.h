#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "scorelog/GameRecord.h"
#include "scorelog/LogRanges.h"

namespace obrenta::base {
struct FileStatus;
}

namespace obrenta::scorelog {

// A block of more lines than this is turned down as a whole; reading goes on after it.
inline constexpr std::size_t kMaxBlockLines = 1024;
// Lines are handed on in pieces of at most this many bytes.
inline constexpr std::size_t kMaxLinePieceBytes = 255;
// The log is read this many bytes at a time into a buffer that is reused.
inline constexpr std::size_t kReadChunkBytes = 1 << 20;

// What one ReadScoreLog call did, and why it failed when it did.
struct ReadOutcome {
    enum class Status { Unchanged, Read, NotFound, NotRegularFile, PermissionDenied, IoError };

    Status status = Status::Unchanged;
    // The errno of a failed status query, open or read; 0 otherwise.
    int error = 0;

    // The games are those of the file as it is now: read again, or unchanged since.
    bool ok() const { return status == Status::Unchanged || status == Status::Read; }
    explicit operator bool() const { return ok(); }
    // Why the read failed ("not a regular file" or the C library's text for error); empty
    // when it did not.
    std::string reason() const;
};

// The parsed score log: its games in file order, and what identifies the read they came from.
class ScoreLog {
public:
    ScoreLog() = default;
    ~ScoreLog();
    ScoreLog(const ScoreLog&) = default;
    ScoreLog(ScoreLog&&) = default;
    ScoreLog& operator=(const ScoreLog&) = default;
    ScoreLog& operator=(ScoreLog&&) = default;

    // Reads the log at path again when its path, modification time or size differs from the
    // last successful read. On failure (the file can't be queried, opened or read, or is no
    // regular file) the games of the last successful read stay, and the next call tries again.
    // When the same file has only grown and its bytes before the old end are unchanged, only the
    // bytes from the last block read before on are parsed; the games are those of a whole read.
    // A large log is parsed in ranges on every hardware thread.
    ReadOutcome ReadScoreLog(const std::string& path);

    // Parses a whole log held in memory (the bytes of the file), replacing the games. The next
    // ReadScoreLog reads its file whatever it remembered before.
    void ParseBuffer(std::string_view bytes);
    // The same, with the bytes cut at the first block start at or after each of splitTargets
    // (ascending) and each range parsed on a thread of its own.
    void ParseBuffer(std::string_view bytes, std::span<const std::uint64_t> splitTargets);

    const std::vector<GameRecord>& games() const { return games_; }
    // How many times the file has actually been read (for the "read only when changed" rule).
    std::uint64_t readCount() const { return readCount_; }
    // How many of those reads parsed only what was appended.
    std::uint64_t appendReadCount() const { return appendReadCount_; }

private:
    // What a read leaves for the next one to go on from where it stopped.
    struct Continuation {
        bool valid = false;
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        ParseEnd parseEnd;
        std::string tail;           // the bytes before parseEnd.end
        std::string lastBlockHead;  // the first bytes of the last block
    };

    bool CanAppend(const std::string& path, const base::FileStatus& info, ByteSource& bytes) const;
    void Remember(const std::string& path, const base::FileStatus& info, ByteSource& bytes,
                  const ParseEnd& parseEnd);

    std::vector<GameRecord> games_;
    NamePoolPtr names_;
    Continuation continuation_;
    std::string lastPath_;
    std::int64_t lastModifiedNs_ = 0;
    std::int64_t lastSize_ = -1;
    bool haveRead_ = false;
    std::uint64_t readCount_ = 0;
    std::uint64_t appendReadCount_ = 0;
};

// The blocks of a log as the block parser is given them, each line as it sees it (for tests and
// tools; blocks of more than kMaxBlockLines lines are left out, as the reader drops them). The
// bytes are taken chunkBytes at a time, as the reader takes a file.
std::vector<std::vector<std::string>> SplitLogBlocks(std::string_view bytes,
                                                     std::size_t chunkBytes = kReadChunkBytes);

}  // namespace obrenta::scorelog
