#include "telvora/sms/gsm_alphabet.h"

#include <array>

namespace telvora::sms {
namespace {

// The default alphabet by septet value; 0x1B (the escape) holds a
// placeholder that never matches a character.
constexpr char16_t kDefaultTable[] =
    u"@\u00A3$\u00A5\u00E8\u00E9\u00F9\u00EC\u00F2\u00C7\n\u00D8\u00F8\r\u00C5\u00E5"
    u"\u0394_\u03A6\u0393\u039B\u03A9\u03A0\u03A8\u03A3\u0398\u039E\uFFFF\u00C6\u00E6\u00DF\u00C9"
    u" !\"#\u00A4%&'()*+,-./0123456789:;<=>?"
    u"\u00A1ABCDEFGHIJKLMNOPQRSTUVWXYZ\u00C4\u00D6\u00D1\u00DC\u00A7"
    u"\u00BFabcdefghijklmnopqrstuvwxyz\u00E4\u00F6\u00F1\u00FC\u00E0";
static_assert(sizeof(kDefaultTable) / sizeof(char16_t) == 129, "128 septets and the terminator");

struct ExtensionCode {
    char code;
    char16_t character;
};
constexpr ExtensionCode kExtensionTable[] = {
    {0x0A, u'\f'}, {0x14, u'^'}, {0x28, u'{'}, {0x29, u'}'}, {0x2F, u'\\'},
    {0x3C, u'['},  {0x3D, u'~'}, {0x3E, u']'}, {0x40, u'|'}, {0x65, u'\u20AC'},
};

// Septets of every UTF-16 code unit: 0 none, else the value + 1 (default
// table) or 0x100 + code + 1 (extension). Built once; Latin-1 and Greek
// are looked up by a plain array index.
class Lookup {
public:
    Lookup() {
        for (int septet = 0; septet < 128; ++septet) {
            if (septet != kGsmEscape) {
                set(kDefaultTable[septet], septet + 1);
            }
        }
        for (const ExtensionCode& extension : kExtensionTable) {
            set(extension.character, 0x100 + extension.code + 1);
        }
    }
    int find(char16_t c) const {
        if (c < m_low.size()) {
            return m_low[c];
        }
        return c == u'\u20AC' ? m_euro : 0;
    }

private:
    void set(char16_t c, int value) {
        if (c < m_low.size()) {
            m_low[c] = static_cast<unsigned short>(value);
        } else if (c == u'\u20AC') {
            m_euro = value;
        }
    }
    std::array<unsigned short, 0x400> m_low{};  // Latin and Greek
    int m_euro = 0;
};

const Lookup& Table() {
    static const Lookup lookup;
    return lookup;
}

}  // namespace

QByteArray ToGsmSeptets(QStringView text) {
    QByteArray septets;
    septets.reserve(text.size());
    const Lookup& table = Table();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const int found = table.find(c.unicode());
        if (found == 0) {
            if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
                ++i;
            }
            septets.append(kGsmQuestionMark);
        } else if (found > 0x100) {
            septets.append(kGsmEscape);
            septets.append(static_cast<char>(found - 0x100 - 1));
        } else {
            septets.append(static_cast<char>(found - 1));
        }
    }
    return septets;
}

QString FromGsmSeptets(QByteArrayView septets) {
    QString text(septets.size(), Qt::Uninitialized);
    QChar* out = text.data();
    qsizetype length = 0;
    for (qsizetype i = 0; i < septets.size(); ++i) {
        const int septet = septets[i] & 0x7F;
        if (septet != kGsmEscape) {
            out[length++] = QChar(kDefaultTable[septet]);
            continue;
        }
        if (++i >= septets.size()) {
            break;
        }
        const int code = septets[i] & 0x7F;
        char16_t shown = code == kGsmEscape ? u' ' : kDefaultTable[code];
        for (const ExtensionCode& extension : kExtensionTable) {
            if (extension.code == code) {
                shown = extension.character;
            }
        }
        out[length++] = QChar(shown);
    }
    text.truncate(length);
    return text;
}

int GsmSeptetsOf(QChar c) {
    const int found = Table().find(c.unicode());
    return found == 0 ? 0 : (found > 0x100 ? 2 : 1);
}

bool IsGsmPrintable(QChar c) {
    return c != u'\n' && c != u'\r' && c != u'\f' && GsmSeptetsOf(c) > 0;
}

int GsmSeptetCount(QStringView text) {
    int count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int septets = GsmSeptetsOf(text[i]);
        if (septets == 0 && text[i].isHighSurrogate() && i + 1 < text.size() &&
            text[i + 1].isLowSurrogate()) {
            ++i;
        }
        count += septets == 0 ? 1 : septets;
    }
    return count;
}

}  // namespace telvora::sms
