#pragma once

#include "platform/db/Dataset.h"

namespace vx::report {

// Takes a dataset for a read from first to last and gives it back as it was: open or closed,
// on the same record, its controls enabled again. Its order, filter and rows are never changed.
class DatasetWalk {
public:
    // Throws ReportError when the dataset holds a record being edited, which moving would post.
    explicit DatasetWalk(Dataset *dataset);
    ~DatasetWalk();
    DatasetWalk(const DatasetWalk &) = delete;
    DatasetWalk &operator=(const DatasetWalk &) = delete;

    // Gives the dataset back; later calls do nothing.
    void restore();

private:
    Dataset *m_dataset;
    bool m_opened = false;
    bool m_restored = false;
    Bookmark m_mark;
};

} // namespace vx::report
