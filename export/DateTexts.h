#pragma once

#include <QHash>
#include <QString>
#include <QVariant>

// The texts of the dates a sheet has already converted. A sheet repeats dates by the thousand
// (the days goods came in and went out), and the shop's date formatting costs far more than
// finding the text again. The text is always the one VariantConversion::toText gives. (Numbers
// gain nothing: a price list repeats too few of them to repay the lookups.)
class DateTexts {
public:
    // The value as VariantConversion::toText gives it; dates found again when seen before.
    QString text(const QVariant &value);

private:
    static constexpr qsizetype mostRemembered = 8192;

    QHash<qint64, QString> m_dates;
};
