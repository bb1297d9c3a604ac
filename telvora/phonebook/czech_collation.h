#pragma once
// Czech alphabetical order for names: "Č" after "C", "Ř" after "R", "Š"
// after "S", "Ž" after "Z", and "Ch" one letter after "H". The other marks
// (á, ď, é, ě, í, ň, ó, ť, ú, ů, ý) decide only between names that are
// otherwise equal, a plain letter first. Letter case does not count, so a
// stable sort keeps names that differ only in case in their order.
// Written out by hand, since a system collation for Czech is not present on
// every machine.

#include <QList>
#include <QString>

namespace telvora {

// True when `a` comes before `b` in Czech order.
bool CzechLess(const QString& a, const QString& b);

// The comparison key: the letters' primary weights, then the marks. Keys
// compare as CzechLess does.
QList<quint32> CzechSortKey(const QString& text);

}  // namespace telvora
