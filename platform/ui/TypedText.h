#pragma once

#include "platform/VxPlatformExport.h"

#include <functional>

class QWidget;

namespace vx::ui {

class FieldLink;

// What a text box bound to a field knows about its text: whether the box is being filled from
// the field (so the change is not the operator's), and whether the operator changed it since.
class VXPLATFORM_EXPORT TypedText {
public:
    bool modified() const { return m_modified; }
    // The box keeps its text: it is being filled, or the operator is typing into the record.
    bool keepsText(const FieldLink &link) const;
    // Fills the box from the field; what `show` sets is not taken as typing.
    void load(const std::function<void()> &show);
    // The text changed. When the operator typed it, the dataset goes into edit mode; false when
    // it could not (the box should show the field again).
    bool typed(FieldLink &link, QWidget *box);
    // The text was written into the field.
    void written() { m_modified = false; }

private:
    bool m_modified = false;
    bool m_loading = false;
};

}  // namespace vx::ui
