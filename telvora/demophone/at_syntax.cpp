#include "telvora/demophone/at_syntax.h"

#include <cctype>

namespace phonesim::at {

QByteArray upperOutsideQuotes(const QByteArray& text) {
    QByteArray result = text;
    bool quoted = false;
    for (char& c : result) {
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
    }
    return result;
}

std::optional<QList<Arg>> parseArgs(const QByteArray& text) {
    QList<Arg> args;
    Arg current;
    bool quoted = false;
    bool closed = false;
    for (char c : text) {
        if (quoted) {
            if (c == '"') {
                quoted = false;
                closed = true;
            } else {
                current.text.append(c);
            }
        } else if (c == ',') {
            if (!current.quoted) {
                current.text = current.text.trimmed();
            }
            args.append(current);
            current = Arg{};
            closed = false;
        } else if (c == '"' && !closed && current.text.trimmed().isEmpty()) {
            current = Arg{{}, true};
            quoted = true;
        } else if (closed || c == '"') {
            if (c != ' ') {
                return std::nullopt;
            }
        } else {
            current.text.append(c);
        }
    }
    if (quoted) {
        return std::nullopt;
    }
    if (!current.quoted) {
        current.text = current.text.trimmed();
    }
    args.append(current);
    return args;
}

std::optional<int> toInt(const Arg& arg) {
    bool ok = false;
    const int value = arg.text.toInt(&ok);
    return ok && !arg.quoted ? std::optional<int>(value) : std::nullopt;
}

Answer ok(QList<QByteArray> lines) {
    return Answer{std::move(lines), "OK", false};
}

Answer finalOnly(const QByteArray& final) {
    return Answer{{}, final, false};
}

Answer syntaxError() {
    return finalOnly("ERROR");
}

QByteArray quoted(const QString& text) {
    return '"' + text.toLatin1() + '"';
}

QByteArray numberType(const QString& number) {
    return number.startsWith('+') ? "145" : "129";
}

QString digitsOnly(const QString& number) {
    return number.startsWith('+') ? number.mid(1) : number;
}

bool validDialChars(const QString& number) {
    for (qsizetype i = 0; i < number.size(); ++i) {
        const QChar c = number.at(i);
        if (!(c.isDigit() || c == '*' || c == '#' || (c == '+' && i == 0))) {
            return false;
        }
    }
    return true;
}

}  // namespace phonesim::at
