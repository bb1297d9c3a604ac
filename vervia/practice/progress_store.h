#pragma once
// The file that keeps a learner's ReviewBook between sessions.
//
// Nothing the learner has practised is lost: a save writes a new file beside
// the old one and then puts it in place, keeping the previous version as
// FILE.bak; a file that cannot be read is moved aside to FILE.damaged (or
// FILE.damaged-2 …) before a new one is written, and when it cannot be moved
// aside, or cannot be opened at all, the store never writes over it. A folder
// under the file's name is left alone and nothing is saved.

#include <filesystem>
#include <string>

#include "vervia/practice/review_book.h"

namespace vervia::practice {

class ProgressStore {
public:
    explicit ProgressStore(std::filesystem::path file);

    // Reads the file into `book`; a missing file gives an empty book. Returns
    // a Czech message for the learner when the file could not be read (the
    // book is then empty), else an empty text.
    std::string load(ReviewBook& book);

    // Writes `book`; returns a Czech message when that failed or is not
    // allowed, else an empty text.
    std::string save(const ReviewBook& book);

    // False after a load found a file it could neither read nor move aside.
    bool canSave() const { return m_canSave; }

    const std::filesystem::path& file() const { return m_file; }

private:
    std::filesystem::path m_file;
    bool m_canSave = true;
};

}  // namespace vervia::practice
