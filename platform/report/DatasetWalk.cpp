#include "platform/report/DatasetWalk.h"

#include "platform/report/ReportError.h"

#include <QScopeGuard>

namespace vx::report {

DatasetWalk::DatasetWalk(Dataset *dataset) : m_dataset(dataset)
{
    if (!m_dataset)
        return;
    if (m_dataset->state() == Dataset::State::Edit || m_dataset->state() == Dataset::State::Insert)
        throw ReportError(QStringLiteral("%1 tiene un registro en edición: grábelo o cancélelo antes de imprimir.")
                              .arg(m_dataset->displayName()));
    if (!m_dataset->active()) {
        m_dataset->open();
        m_opened = true;
    }
    m_mark = m_dataset->bookmark();
    m_dataset->disableControls();
}

DatasetWalk::~DatasetWalk()
{
    try {
        restore();
    } catch (...) {
        // Already unwinding from the failure that ended the walk; that one is reported.
    }
}

void DatasetWalk::restore()
{
    if (!m_dataset || m_restored)
        return;
    m_restored = true;
    const auto enable = qScopeGuard([this] { m_dataset->enableControls(); });
    if (m_opened)
        m_dataset->close();
    else if (m_mark.isValid() && m_dataset->bookmarkValid(m_mark))
        m_dataset->gotoBookmark(m_mark);
}

} // namespace vx::report
