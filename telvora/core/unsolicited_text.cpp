#include "telvora/core/unsolicited_text.h"

namespace telvora {
namespace {

// How a line is recognised: by its whole text or by its start.
enum class Match { Whole, Prefix, QuotedPrefix };

struct UnsolicitedRule {
    QByteArrayView text;
    Match match;
    UnsolicitedKind kind;
};

// Every line the link keeps out of command answers. A QuotedPrefix rule
// needs a double quote as the first character of its value, which tells a
// notice from the answer to the matching query command.
constexpr UnsolicitedRule kRules[] = {
    {"+CMTI:", Match::Prefix, UnsolicitedKind::NewMessage},
    {"RING", Match::Whole, UnsolicitedKind::Ring},
    {"+CRING:", Match::Prefix, UnsolicitedKind::Ring},
    {"+CLIP:", Match::QuotedPrefix, UnsolicitedKind::CallerId},
    {"NO CARRIER", Match::Whole, UnsolicitedKind::CallEnded},
    {"+CDSI:", Match::Prefix, UnsolicitedKind::StatusReport},
    {"+CBMI:", Match::Prefix, UnsolicitedKind::Other},
    {"+CCWA:", Match::QuotedPrefix, UnsolicitedKind::Other},
};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The fields of a line's value, split at commas outside double quotes.
QList<QByteArrayView> Fields(QByteArrayView value) {
    QList<QByteArrayView> fields;
    bool quoted = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= value.size(); ++i) {
        if (i == value.size() || (value[i] == ',' && !quoted)) {
            fields.append(value.sliced(start, i - start).trimmed());
            start = i + 1;
        } else if (value[i] == '"') {
            quoted = !quoted;
        }
    }
    return fields;
}

QByteArrayView Unquoted(QByteArrayView field) {
    if (field.size() >= 2 && field.front() == '"' && field.back() == '"') {
        return field.sliced(1, field.size() - 2);
    }
    return field;
}

std::optional<int> Number(QByteArrayView field) {
    if (field.isEmpty() || field.size() > 9) {
        return std::nullopt;
    }
    int value = 0;
    for (char c : field) {
        if (!IsDigit(c)) {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

// The value of `line` after `prefix` (leading blanks dropped), when it has it.
std::optional<QByteArrayView> ValueAfter(QByteArrayView line, QByteArrayView prefix) {
    if (!line.startsWith(prefix)) {
        return std::nullopt;
    }
    return line.sliced(prefix.size()).trimmed();
}

// "(0-2)", "(0,1,3)", "(0-1,3)" or a bare "2" as the numbers it names; a
// range is taken up to 64 values, more than any parameter here has.
QList<int> OfferedValues(QByteArrayView field) {
    QList<int> values;
    if (field.startsWith('(') && field.endsWith(')')) {
        field = field.sliced(1, field.size() - 2);
    }
    for (QByteArrayView item : Fields(field)) {
        const qsizetype dash = item.indexOf('-');
        if (dash < 0) {
            if (const std::optional<int> value = Number(item)) {
                values.append(*value);
            }
            continue;
        }
        const std::optional<int> first = Number(item.first(dash).trimmed());
        const std::optional<int> last = Number(item.sliced(dash + 1).trimmed());
        if (first && last && *first <= *last && *last - *first < 64) {
            for (int value = *first; value <= *last; ++value) {
                values.append(value);
            }
        }
    }
    return values;
}

}  // namespace

std::optional<UnsolicitedKind> ClassifyUnsolicited(QByteArrayView line, bool callResultIsAnswer) {
    for (const UnsolicitedRule& rule : kRules) {
        bool matches = false;
        switch (rule.match) {
            case Match::Whole:
                matches = line == rule.text;
                break;
            case Match::Prefix:
                matches = line.startsWith(rule.text);
                break;
            case Match::QuotedPrefix:
                matches = line.startsWith(rule.text) &&
                          line.sliced(rule.text.size()).trimmed().startsWith('"');
                break;
        }
        if (!matches) {
            continue;
        }
        if (rule.kind == UnsolicitedKind::CallEnded && callResultIsAnswer) {
            return std::nullopt;
        }
        return rule.kind;
    }
    return std::nullopt;
}

bool MayBeUnsolicited(QByteArrayView start) {
    for (const UnsolicitedRule& rule : kRules) {
        if (rule.text.startsWith(start)) {
            return true;  // still a beginning of the rule's text
        }
        if (rule.match != Match::Whole && start.startsWith(rule.text)) {
            return true;  // the rule's prefix, its value still coming
        }
    }
    return false;
}

std::optional<NewMessageNotice> ParseNewMessageNotice(QByteArrayView line) {
    const std::optional<QByteArrayView> value = ValueAfter(line, "+CMTI:");
    if (!value) {
        return std::nullopt;
    }
    const QList<QByteArrayView> fields = Fields(*value);
    if (fields.size() < 2) {
        return std::nullopt;
    }
    const QByteArrayView store = Unquoted(fields[0]);
    const std::optional<int> index = Number(fields[1]);
    if (store.isEmpty() || !index) {
        return std::nullopt;
    }
    return NewMessageNotice{store.toByteArray(), *index};
}

std::optional<CallerIdNotice> ParseCallerId(QByteArrayView line) {
    const std::optional<QByteArrayView> value = ValueAfter(line, "+CLIP:");
    if (!value || !value->startsWith('"')) {
        return std::nullopt;
    }
    const QList<QByteArrayView> fields = Fields(*value);
    CallerIdNotice notice;
    notice.number = QString::fromLatin1(Unquoted(fields[0]));
    if (fields.size() > 1) {
        notice.type = Number(fields[1]).value_or(129);
    }
    // A number with a character a dial string cannot hold is not shown.
    for (QChar c : notice.number) {
        if (!(c.isDigit() || c == u'+' || c == u'*' || c == u'#')) {
            notice.number.clear();
            break;
        }
    }
    if (notice.type == 145 && !notice.number.isEmpty() && !notice.number.startsWith(u'+')) {
        notice.number.prepend(u'+');
    }
    return notice;
}

QList<QList<int>> ParseOfferedValues(QByteArrayView answer, QByteArrayView prefix) {
    const qsizetype at = answer.indexOf(prefix);
    if (at < 0) {
        return {};
    }
    QByteArrayView value = answer.sliced(at + prefix.size());
    const qsizetype end = value.indexOf('\r');
    if (end >= 0) {
        value = value.first(end);
    }
    // Commas inside parentheses separate values, not parameters.
    QList<QList<int>> lists;
    int depth = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= value.size(); ++i) {
        if (i == value.size() || (value[i] == ',' && depth == 0)) {
            lists.append(OfferedValues(value.sliced(start, i - start).trimmed()));
            start = i + 1;
        } else if (value[i] == '(') {
            ++depth;
        } else if (value[i] == ')' && depth > 0) {
            --depth;
        }
    }
    return lists;
}

std::optional<QByteArray> ChooseNewMessageIndication(QByteArrayView testAnswer) {
    const QList<QList<int>> offered = ParseOfferedValues(testAnswer, "+CNMI:");
    if (offered.size() < 2 || !offered[1].contains(1)) {
        return std::nullopt;
    }
    for (int mode : {2, 1, 3}) {
        if (offered[0].contains(mode)) {
            return "AT+CNMI=" + QByteArray::number(mode) + ",1";
        }
    }
    return std::nullopt;
}

}  // namespace telvora
