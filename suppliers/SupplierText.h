#pragma once

#include <QString>
#include <QStringList>

// Amounts and lists of document numbers as the supplier account keeps them.
namespace suppliers {

// An amount in whole cents, half away from zero; amounts are compared and summed this way.
qint64 toCents(double amount);
double fromCents(qint64 cents);

// A document number as the lists show it: "12", never "12,0".
QString numberText(double number);

// The numbers of a list joined with " / "; an empty text gives none.
QStringList splitList(const QString &text);
// The prefix and as many of the first numbers as fit in `size` characters, joined with " / ".
QString fittedList(const QString &prefix, const QStringList &numbers, int size);
// As many of the last numbers as fit in `size` characters: the newest payments are the ones kept.
QString newestFitting(const QStringList &numbers, int size);

} // namespace suppliers
