#include "vervia/practice/review_book.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <istream>
#include <ostream>
#include <vector>

namespace vervia::practice {
namespace {

constexpr std::string_view kHeader = "vervia practice 1";
constexpr std::int64_t kDay = 24 * 60 * 60;

std::vector<std::string_view> SplitTabs(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (std::size_t tab = line.find('\t'); tab != std::string_view::npos;
         tab = line.find('\t', start)) {
        fields.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
    fields.push_back(line.substr(start));
    return fields;
}

template <typename T>
bool ParseNumber(std::string_view text, T& value, T low, T high) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && value >= low && value <= high;
}

bool ParseCard(std::string_view line, FormKey& key, Card& card) {
    const auto fields = SplitTabs(line);
    if (fields.size() != 7 || fields[0].empty()) {
        return false;
    }
    key.verb = std::string(fields[0]);
    constexpr int kMaxCount = 1'000'000'000;
    return ParseNumber(fields[1], key.code, 0, 99) && ParseNumber(fields[2], key.person, 0, 6) &&
           ParseNumber(fields[3], card.box, 0, kTopBox) &&
           ParseNumber<std::int64_t>(fields[4], card.dueAt, 0, INT64_MAX) &&
           ParseNumber(fields[5], card.timesRight, 0, kMaxCount) &&
           ParseNumber(fields[6], card.timesWrong, 0, kMaxCount);
}

}  // namespace

std::int64_t BoxInterval(int box) {
    static constexpr std::array<std::int64_t, kTopBox + 1> kIntervals{
        0, 1 * kDay, 3 * kDay, 7 * kDay, 16 * kDay, 35 * kDay};
    return kIntervals[std::size_t(std::clamp(box, 0, kTopBox))];
}

const Card* ReviewBook::find(const FormKey& key) const {
    const auto found = m_cards.find(key);
    return found == m_cards.end() ? nullptr : &found->second;
}

void ReviewBook::record(const FormKey& key, bool right, std::int64_t now) {
    Card& card = m_cards[key];
    if (right) {
        card.box = std::min(card.box + 1, kTopBox);
        ++card.timesRight;
    } else {
        card.box = 0;
        ++card.timesWrong;
    }
    card.dueAt = now + BoxInterval(card.box);
}

void WriteReviewBook(std::ostream& out, const ReviewBook& book) {
    out << kHeader << '\n';
    for (const auto& [key, card] : book.cards()) {
        out << key.verb << '\t' << key.code << '\t' << key.person << '\t' << card.box << '\t'
            << card.dueAt << '\t' << card.timesRight << '\t' << card.timesWrong << '\n';
    }
}

ReadResult ReadReviewBook(std::istream& in, ReviewBook& book) {
    book = ReviewBook();
    std::string line;
    int number = 1;
    auto strip = [](std::string& text) {
        if (!text.empty() && text.back() == '\r') {
            text.pop_back();
        }
    };
    if (!std::getline(in, line)) {
        return {false, 1};
    }
    strip(line);
    if (line != kHeader) {
        return {false, 1};
    }
    ReviewBook read;
    while (std::getline(in, line)) {
        ++number;
        strip(line);
        if (line.empty()) {
            continue;
        }
        FormKey key;
        Card card;
        if (!ParseCard(line, key, card)) {
            return {false, number};
        }
        read.put(key, card);
    }
    if (in.bad()) {
        return {false, number + 1};
    }
    book = std::move(read);
    return {};
}

}  // namespace vervia::practice
