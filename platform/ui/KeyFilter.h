#pragma once

#include "platform/VxPlatformExport.h"

#include <QHash>
#include <QObject>
#include <QString>

#include <functional>

class QKeyEvent;
class QWidget;

namespace vx::ui {

// Keeps what an operator types into a box to a set of characters: any other character is
// dropped; some characters may be turned into others as they are typed, and some refused when the
// box already holds one. Keys that type no character (arrows, Delete, Enter, Tab, function keys,
// shortcuts) and backspace pass untouched. Attach it to any line edit or editable combo box.
class VXPLATFORM_EXPORT KeyFilter : public QObject {
    Q_OBJECT
public:
    explicit KeyFilter(const QString &accepted, QObject *parent = nullptr);

    // Filters the keys typed into the box (into its line edit, for a combo box).
    void attach(QWidget *box);
    void setReplacement(QChar typed, QChar replacement) { m_replacements.insert(typed, replacement); }
    // The character is refused while the box's text (outside the selection) already holds one.
    void setSingle(QChar character) { m_single = character; }
    // Runs for each character dropped, e.g. to tell the operator what the box expects.
    void setRejectHandler(std::function<void(QChar)> handler) { m_onReject = std::move(handler); }

    // Decides one key press typed into the target. True when it was consumed (dropped or retyped).
    bool keyPress(QWidget *target, QKeyEvent *event);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool refusedAsSecond(QWidget *target, QChar character) const;

    QString m_accepted;
    QHash<QChar, QChar> m_replacements;
    QChar m_single;
    std::function<void(QChar)> m_onReject;
};

// Amount and quantity boxes: digits, ",", ".", "-" and BEL; a typed "." becomes the decimal comma.
// With `singleComma` a second comma is refused.
VXPLATFORM_EXPORT KeyFilter *filterAmountKeys(QWidget *box, bool singleComma = false);
// Date boxes: digits and "/".
VXPLATFORM_EXPORT KeyFilter *filterDateKeys(QWidget *box);

}  // namespace vx::ui
