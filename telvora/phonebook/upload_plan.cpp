#include "telvora/phonebook/upload_plan.h"

#include <QMap>
#include <QSet>

namespace telvora {
namespace {

constexpr int kInternational = 145;
constexpr int kUnknownType = 129;

bool IsDeleted(const PhoneBookEntry& entry) {
    return entry.name.trimmed().isEmpty() && entry.number.trimmed().isEmpty();
}

}  // namespace

int NumberType(const QString& number) {
    return number.startsWith(QLatin1Char('+')) ? kInternational : kUnknownType;
}

UploadPlan PlanUpload(const PhoneBookList& phone, const PhoneBookList& editor, int highest,
                      const WriteLimits& limits, bool cutNames) {
    UploadPlan plan;
    QMap<int, PhoneBookEntry> wanted;
    PhoneBookList homeless;
    for (PhoneBookEntry entry : editor) {
        if (IsDeleted(entry)) {
            continue;
        }
        if (entry.name.size() > limits.maxName) {
            plan.longNames.append(entry.name);
            if (cutNames) {
                entry.name = entry.name.left(limits.maxName).trimmed();
            }
        }
        if (entry.number.size() > limits.maxNumber) {
            plan.longNumbers.append(entry.number);
        }
        if (entry.position >= 1 && entry.position <= highest && !wanted.contains(entry.position)) {
            wanted.insert(entry.position, entry);
        } else {
            homeless.append(entry);
        }
    }
    int free = 1;
    for (PhoneBookEntry& entry : homeless) {
        while (free <= highest && wanted.contains(free)) {
            ++free;
        }
        if (free > highest) {
            ++plan.beyondMemory;
            continue;
        }
        entry.position = static_cast<qint16>(free);
        wanted.insert(free, entry);
    }

    QMap<int, PhoneBookEntry> present;
    for (const PhoneBookEntry& entry : phone) {
        present.insert(entry.position, entry);
    }
    QSet<int> positions;
    for (auto it = wanted.cbegin(); it != wanted.cend(); ++it) {
        positions.insert(it.key());
    }
    for (auto it = present.cbegin(); it != present.cend(); ++it) {
        positions.insert(it.key());
    }
    QList<int> ordered(positions.begin(), positions.end());
    std::sort(ordered.begin(), ordered.end());
    for (int position : ordered) {
        const auto target = wanted.constFind(position);
        const auto now = present.constFind(position);
        if (target == wanted.cend()) {
            plan.changes.append({position, true, {}, {}});
            continue;
        }
        plan.result.append(*target);
        if (now == present.cend() || now->name != target->name || now->number != target->number) {
            plan.changes.append({position, false, target->name, target->number});
        }
    }
    return plan;
}

QByteArray ChangeCommand(const PhoneBookChange& change, PhoneTextMode mode) {
    QByteArray line = "AT+CPBW=" + QByteArray::number(change.position);
    if (change.erase) {
        return line;
    }
    QString number = change.number;
    QString name = change.name;
    // A quote would end the field on the line early.
    number.replace(QLatin1Char('"'), QLatin1Char('\''));
    name.replace(QLatin1Char('"'), QLatin1Char('\''));
    return line + ",\"" + number.toLatin1() + "\"," + QByteArray::number(NumberType(number)) +
           ",\"" + EncodePhoneText(name, mode) + '"';
}

}  // namespace telvora
