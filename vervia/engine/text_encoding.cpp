#include "text_encoding.h"

#include <array>
#include <cstdint>

namespace vervia {
namespace {

// Unicode code points of the Windows-1250 bytes 0x80..0xFF; 0 marks a byte the
// code page leaves undefined.
constexpr std::array<char16_t, 128> kHighHalf = {
    0x20AC, 0x0000, 0x201A, 0x0000, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x0000, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,  //
    0x0000, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x0000, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,  //
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,  //
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,  //
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  //
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,  //
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,  //
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,  //
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,  //
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,  //
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,  //
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,  //
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,  //
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,  //
};

constexpr unsigned char kSmallN = 0xF2;    // ň, the stored stand-in for ñ
constexpr unsigned char kCapitalN = 0xD2;  // Ň, the stand-in for Ñ

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

}  // namespace

char32_t DecodeUtf8(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    int extra = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1, value = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2, value = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3, value = lead & 0x07, minimum = 0x10000;
    } else {
        ++pos;
        return kInvalidCodePoint;
    }
    if (pos + extra >= text.size()) {
        ++pos;
        return kInvalidCodePoint;
    }
    for (int i = 1; i <= extra; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return kInvalidCodePoint;
        }
        value = (value << 6) | (next & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        ++pos;
        return kInvalidCodePoint;
    }
    pos += extra + 1;
    return value;
}

namespace {

char EngineByte(char32_t c) {
    if (c < 0x80) {
        return static_cast<char>(c);
    }
    if (c == U'ñ' || c == U'ň') {
        return static_cast<char>(kSmallN);
    }
    if (c == U'Ñ' || c == U'Ň') {
        return static_cast<char>(kCapitalN);
    }
    for (std::size_t i = 0; i < kHighHalf.size(); ++i) {
        if (kHighHalf[i] != 0 && kHighHalf[i] == c) {
            return static_cast<char>(0x80 + i);
        }
    }
    return '?';
}

template <typename Substitute>
std::string Decode(std::string_view engine, Substitute substitute) {
    std::string out;
    out.reserve(engine.size() * 2);
    for (char byte : engine) {
        const auto b = static_cast<unsigned char>(byte);
        if (b < 0x80) {
            out.push_back(byte);
            continue;
        }
        char32_t c = substitute(b);
        if (c == 0) {
            c = kHighHalf[b - 0x80];
        }
        AppendUtf8(out, c == 0 ? U'?' : c);
    }
    return out;
}

}  // namespace

std::string ToEngineText(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const char32_t c = DecodeUtf8(utf8, pos);
        out.push_back(c == kInvalidCodePoint ? '?' : EngineByte(c));
    }
    return out;
}

std::string ToDisplayText(std::string_view engine) {
    return Decode(engine, [](unsigned char b) -> char32_t {
        if (b == kSmallN) {
            return U'ñ';
        }
        if (b == kCapitalN) {
            return U'Ñ';
        }
        return 0;
    });
}

std::string DecodeWindows1250(std::string_view engine) {
    return Decode(engine, [](unsigned char) -> char32_t { return 0; });
}

char FoldLetter(char byte) {
    const auto b = static_cast<unsigned char>(byte);
    if (b >= 'A' && b <= 'Z') {
        return static_cast<char>(b + 0x20);
    }
    // The code page puts each small letter at a fixed distance from its
    // capital: 0x20 in the upper Latin block (× 0xD7 and ß 0xDF excepted),
    // 0x10 for Š Ś Ť Ž Ź, and single pairs for Ł Ą Ş Ż Ľ.
    if (b >= 0xC0 && b <= 0xDE && b != 0xD7) {
        return static_cast<char>(b + 0x20);
    }
    switch (b) {
        case 0x8A:
        case 0x8C:
        case 0x8D:
        case 0x8E:
        case 0x8F:
            return static_cast<char>(b + 0x10);
        case 0xA3:
            return static_cast<char>(0xB3);
        case 0xA5:
            return static_cast<char>(0xB9);
        case 0xAA:
            return static_cast<char>(0xBA);
        case 0xAF:
            return static_cast<char>(0xBF);
        case 0xBC:
            return static_cast<char>(0xBE);
        default:
            return byte;
    }
}

}  // namespace vervia
