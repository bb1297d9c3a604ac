#include "vervia/practice/progress_store.h"

#include <fstream>
#include <system_error>

namespace vervia::practice {
namespace {

namespace fs = std::filesystem;

fs::path WithSuffix(const fs::path& file, const std::string& suffix) {
    fs::path result = file;
    result += suffix;
    return result;
}

// The first of FILE.damaged, FILE.damaged-2, … that does not exist yet.
fs::path FreeDamagedName(const fs::path& file) {
    fs::path candidate = WithSuffix(file, ".damaged");
    std::error_code error;
    for (int number = 2; fs::exists(candidate, error) || error; ++number) {
        if (error) {
            return {};
        }
        candidate = WithSuffix(file, ".damaged-" + std::to_string(number));
    }
    return candidate;
}

// The path as UTF-8 for a message (string() may fail on a name the system's
// narrow code page cannot hold).
std::string Shown(const fs::path& file) {
    const std::u8string text = file.u8string();
    return {text.begin(), text.end()};
}

}  // namespace

ProgressStore::ProgressStore(std::filesystem::path file) : m_file(std::move(file)) {}

std::string ProgressStore::load(ReviewBook& book) {
    book = ReviewBook();
    m_canSave = true;
    std::error_code error;
    const bool exists = fs::exists(m_file, error);
    if (error) {
        m_canSave = false;
        return "Soubor s pokrokem " + Shown(m_file) +
               " nelze zjistit; pokrok se tentokrát neukládá.";
    }
    if (!exists) {
        return {};
    }
    if (!fs::is_regular_file(m_file, error)) {
        // A folder (or a device) under the file's name is not a damaged
        // file: it is left where it is, and nothing is written in its place.
        m_canSave = false;
        return "Místo souboru s pokrokem " + Shown(m_file) +
               " je složka nebo jiný objekt, ne soubor; pokrok se tentokrát neukládá.";
    }
    std::ifstream in(m_file, std::ios::binary);
    if (!in) {
        m_canSave = false;
        return "Soubor s pokrokem " + Shown(m_file) +
               " nelze otevřít; pokrok se tentokrát neukládá, aby soubor zůstal, jak je.";
    }
    const ReadResult read = ReadReviewBook(in, book);
    in.close();
    if (read.ok) {
        return {};
    }
    const std::string problem = "Soubor s pokrokem " + Shown(m_file) + " je poškozený (řádek " +
                                std::to_string(read.badLine) + "). ";
    const fs::path aside = FreeDamagedName(m_file);
    if (!aside.empty()) {
        fs::rename(m_file, aside, error);
        if (!error) {
            return problem + "Byl uschován jako " + Shown(aside) +
                   "; procvičování začíná s novým pokrokem.";
        }
    }
    m_canSave = false;
    return problem + "Nelze jej uschovat, proto se pokrok tentokrát neukládá.";
}

std::string ProgressStore::save(const ReviewBook& book) {
    if (!m_canSave) {
        return "Pokrok se neukládá: soubor " + Shown(m_file) + " se nepodařilo přečíst.";
    }
    const std::string failure = "Pokrok nelze uložit do " + Shown(m_file) + ".";
    std::error_code error;
    if (m_file.has_parent_path()) {
        fs::create_directories(m_file.parent_path(), error);
        if (error) {
            return failure;
        }
    }
    const fs::path temporary = WithSuffix(m_file, ".new");
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        WriteReviewBook(out, book);
        out.flush();
        if (!out) {
            out.close();
            fs::remove(temporary, error);
            return failure;
        }
    }
    if (fs::exists(m_file, error)) {
        fs::copy_file(m_file, WithSuffix(m_file, ".bak"), fs::copy_options::overwrite_existing,
                      error);
        if (error) {
            fs::remove(temporary, error);
            return failure;
        }
    }
    fs::rename(temporary, m_file, error);
    if (error) {
        fs::remove(temporary, error);
        return failure;
    }
    return {};
}

}  // namespace vervia::practice
