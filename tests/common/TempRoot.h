#pragma once

#include <QTemporaryDir>
#include <QtGlobal>

// A fresh VENDRIX_ROOT for one test: the shop's files land in a temporary folder removed after.
class TempRoot {
public:
    TempRoot() { qputenv("VENDRIX_ROOT", m_dir.path().toUtf8()); }
    QString path() const { return m_dir.path(); }
    QString file(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};
