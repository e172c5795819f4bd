#include "platform/ui/TypedText.h"

#include "platform/ui/FieldLink.h"

namespace vx::ui {

bool TypedText::keepsText(const FieldLink &link) const
{
    return m_loading || (m_modified && link.editing());
}

void TypedText::load(const std::function<void()> &show)
{
    m_modified = false;
    m_loading = true;
    show();
    m_loading = false;
}

bool TypedText::typed(FieldLink &link, QWidget *box)
{
    if (m_loading)
        return true;
    if (!link.editing()) {
        // Entering edit mode re-reads the record; what was typed stays in the box.
        m_loading = true;
        const bool editing = link.edit(box);
        m_loading = false;
        if (!editing)
            return false;
    }
    m_modified = true;
    return true;
}

}  // namespace vx::ui
