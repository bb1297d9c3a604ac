#include "vervia/practice/answer_judge.h"

#include <vector>

#include "vervia/engine/text_encoding.h"

namespace vervia::practice {
namespace {

std::u32string Decode(std::string_view text) {
    std::u32string letters;
    for (std::size_t pos = 0; pos < text.size();) {
        letters.push_back(DecodeUtf8(text, pos));
    }
    return letters;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// The accented letter a shortcut of `letter` and `mark` stands for, or 0.
char32_t ShortcutLetter(char32_t letter, char32_t mark) {
    const bool acute = mark == U'\'' || mark == U'\u00B4';
    switch (letter) {
        case U'a':
            return acute ? U'á' : 0;
        case U'e':
            return acute ? U'é' : 0;
        case U'i':
            return acute ? U'í' : 0;
        case U'o':
            return acute ? U'ó' : 0;
        case U'u':
            return acute ? U'ú' : (mark == U'"' || mark == U':') ? U'ü' : 0;
        case U'n':
            return mark == U'~' ? U'ñ' : 0;
        case U'A':
            return acute ? U'Á' : 0;
        case U'E':
            return acute ? U'É' : 0;
        case U'I':
            return acute ? U'Í' : 0;
        case U'O':
            return acute ? U'Ó' : 0;
        case U'U':
            return acute ? U'Ú' : (mark == U'"' || mark == U':') ? U'Ü' : 0;
        case U'N':
            return mark == U'~' ? U'Ñ' : 0;
        default:
            return 0;
    }
}

char32_t FoldCase(char32_t c) {
    if ((c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
        return c + 0x20;
    }
    return c == U'ň' ? U'ñ' : c == U'Ň' ? U'ñ' : c;
}

char32_t PlainLetter(char32_t c) {
    switch (c) {
        case U'á':
            return U'a';
        case U'é':
            return U'e';
        case U'í':
            return U'i';
        case U'ó':
            return U'o';
        case U'ú':
        case U'ü':
            return U'u';
        case U'ñ':
            return U'n';
        default:
            return c;
    }
}

bool IsBlank(char32_t c) {
    return c == U' ' || c == U'\t' || c == U'\r' || c == U'\n' || c == 0xA0;
}

// Lower case, one blank between words, none around them.
std::u32string Canonical(std::string_view text) {
    std::u32string out;
    bool pendingBlank = false;
    for (char32_t c : Decode(text)) {
        if (IsBlank(c)) {
            pendingBlank = !out.empty();
            continue;
        }
        if (pendingBlank) {
            out.push_back(U' ');
            pendingBlank = false;
        }
        out.push_back(FoldCase(c));
    }
    return out;
}

std::u32string WithoutAccents(std::u32string text) {
    for (char32_t& c : text) {
        c = PlainLetter(c);
    }
    return text;
}

}  // namespace

std::string ApplyAccentShortcuts(std::string_view typed) {
    const std::u32string letters = Decode(typed);
    std::string out;
    out.reserve(typed.size());
    for (std::size_t i = 0; i < letters.size(); ++i) {
        const char32_t accented =
            i + 1 < letters.size() ? ShortcutLetter(letters[i], letters[i + 1]) : 0;
        if (accented != 0) {
            AppendUtf8(out, accented);
            ++i;
        } else if (letters[i] == kInvalidCodePoint) {
            out += '?';
        } else {
            AppendUtf8(out, letters[i]);
        }
    }
    return out;
}

Verdict JudgeAnswer(std::string_view typed, std::string_view right) {
    const std::u32string answer = Canonical(ApplyAccentShortcuts(typed));
    const std::u32string expected = Canonical(right);
    if (answer == expected) {
        return Verdict::kRight;
    }
    if (!answer.empty() && WithoutAccents(answer) == WithoutAccents(expected)) {
        return Verdict::kAccent;
    }
    return Verdict::kWrong;
}

bool IsAccentedLetter(char32_t letter) {
    return PlainLetter(FoldCase(letter)) != FoldCase(letter);
}

}  // namespace vervia::practice
