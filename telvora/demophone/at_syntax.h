#pragma once
// Pieces of the AT command syntax that the simulated phone's command groups
// share: argument parsing, answers and the quoting of values.

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

#include "telvora/demophone/simulated_phone.h"

namespace phonesim::at {

using Answer = SimulatedPhone::Answer;
using Arg = SimulatedPhone::Arg;
using Form = SimulatedPhone::Form;

// Upper case outside double quotes, so that names and numbers keep their case.
QByteArray upperOutsideQuotes(const QByteArray& text);
// Splits "1,\"a,b\",,x" into arguments; nullopt on an unbalanced quote or on
// text between a closing quote and the next comma.
std::optional<QList<Arg>> parseArgs(const QByteArray& text);
// A bare number; nullopt for quoted or non-numeric arguments.
std::optional<int> toInt(const Arg& arg);

Answer ok(QList<QByteArray> lines = {});
Answer finalOnly(const QByteArray& final);
Answer syntaxError();

QByteArray quoted(const QString& text);
// The type of address of a number: 145 international ("+"), 129 otherwise.
QByteArray numberType(const QString& number);
QString digitsOnly(const QString& number);
bool validDialChars(const QString& number);

}  // namespace phonesim::at
