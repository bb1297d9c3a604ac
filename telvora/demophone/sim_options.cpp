#include "telvora/demophone/sim_options.h"

#include <QJsonArray>

namespace phonesim {

namespace {

struct KindName {
    FaultKind kind;
    const char* name;
};

constexpr KindName kKindNames[] = {
    {FaultKind::Silent, "silent"}, {FaultKind::Error, "error"}, {FaultKind::Garbage, "garbage"},
    {FaultKind::Drop, "drop"},     {FaultKind::Late, "late"},   {FaultKind::Cms, "cms"},
    {FaultKind::Cme, "cme"},       {FaultKind::Noise, "noise"}, {FaultKind::News, "news"},
    {FaultKind::Hangup, "hangup"},
};

std::optional<FaultKind> kindFromName(const QString& name) {
    for (const auto& entry : kKindNames) {
        if (name.compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0) {
            return entry.kind;
        }
    }
    return std::nullopt;
}

QString kindName(FaultKind kind) {
    for (const auto& entry : kKindNames) {
        if (entry.kind == kind) {
            return QString::fromLatin1(entry.name);
        }
    }
    return {};
}

void setError(QString* error, const QString& text) {
    if (error) {
        *error = text;
    }
}

}  // namespace

bool replacesAnswer(FaultKind kind) {
    switch (kind) {
        case FaultKind::Error:
        case FaultKind::Garbage:
        case FaultKind::Cms:
        case FaultKind::Cme:
        case FaultKind::Noise:
            return true;
        case FaultKind::Silent:
        case FaultKind::Drop:
        case FaultKind::Late:
        case FaultKind::News:
        case FaultKind::Hangup:
            return false;
    }
    return false;
}

std::optional<Fault> parseFault(const QString& text, QString* error) {
    // The command itself may contain '=' (AT+CMGL=0), so the last one splits.
    const qsizetype equals = text.lastIndexOf('=');
    if (equals <= 0) {
        setError(error, QStringLiteral("fault \"%1\": expected COMMAND=KIND[:ARG]").arg(text));
        return std::nullopt;
    }
    Fault fault;
    fault.command = text.left(equals).trimmed().toLatin1();
    const QString kindAndArg = text.mid(equals + 1).trimmed();
    const QString name = kindAndArg.section(':', 0, 0);
    const auto kind = kindFromName(name);
    if (!kind) {
        setError(error, QStringLiteral("fault \"%1\": unknown kind \"%2\"").arg(text, name));
        return std::nullopt;
    }
    fault.kind = *kind;
    if (kindAndArg.contains(':')) {
        bool ok = false;
        fault.arg = kindAndArg.section(':', 1).toInt(&ok);
        if (!ok || fault.arg < 0) {
            setError(error, QStringLiteral("fault \"%1\": bad argument").arg(text));
            return std::nullopt;
        }
    }
    return fault;
}

QString faultToString(const Fault& fault) {
    QString text = QString::fromLatin1(fault.command) + '=' + kindName(fault.kind);
    if (fault.arg >= 0) {
        text += ':' + QString::number(fault.arg);
    }
    return text;
}

QJsonObject optionsToJson(const SimOptions& options) {
    QJsonArray faults;
    for (const Fault& fault : options.faults) {
        faults.append(faultToString(fault));
    }
    return QJsonObject{{"latencyMs", options.latencyMs},
                       {"baud", options.baud},
                       {"echo", options.echo},
                       {"faults", faults}};
}

std::optional<SimOptions> optionsFromJson(const QJsonObject& json, QString* error) {
    SimOptions options;
    options.latencyMs = json.value("latencyMs").toInt(0);
    options.baud = json.value("baud").toInt(0);
    options.echo = json.value("echo").toBool(true);
    if (options.latencyMs < 0 || options.baud < 0) {
        setError(error, QStringLiteral("latencyMs and baud must not be negative"));
        return std::nullopt;
    }
    for (const auto& value : json.value("faults").toArray()) {
        const auto fault = parseFault(value.toString(), error);
        if (!fault) {
            return std::nullopt;
        }
        options.faults.append(*fault);
    }
    return options;
}

}  // namespace phonesim
