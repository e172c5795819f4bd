#pragma once

#include "platform/VxPlatformExport.h"

#include <QDate>
#include <QString>

namespace vx {

// The days a query covers, both ends included, as the operator typed them in two date boxes.
struct VXPLATFORM_EXPORT DayRange {
    QDate first;
    QDate last;

    // An empty box takes its default; text that is not a date throws DayRangeError with the
    // shop's message for it, naming the text.
    static DayRange fromTexts(const QString &firstText, const QString &lastText, const QDate &firstDefault,
                              const QDate &lastDefault);
    // A from-day after the to-day covers no day.
    bool isEmpty() const { return first > last; }
    // "dd/mm/yyyy" of each end, for titles.
    QString firstText() const;
    QString lastText() const;
};

// A date box whose text is not a date; the message is the operator's.
class VXPLATFORM_EXPORT DayRangeError : public std::runtime_error {
public:
    explicit DayRangeError(const QString &message) : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }

private:
    QString m_message;
};

// The text of a date box as the shop writes it: today for an empty box, the date rewritten
// "dd/mm/yyyy" otherwise. Throws DayRangeError for text that is not a date.
VXPLATFORM_EXPORT QString normalisedDateText(const QString &text, const QDate &whenEmpty);

}  // namespace vx
