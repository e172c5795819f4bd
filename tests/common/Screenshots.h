#pragma once

#include <QDir>
#include <QImage>
#include <QString>

// Pictures of windows and printouts for a developer to look at: saved into the folder that
// VX_SCREENSHOTS names, and nowhere when it names none.
namespace screenshots {

inline void save(const QImage &picture, const QString &name)
{
    const QString folder = qEnvironmentVariable("VX_SCREENSHOTS");
    if (!folder.isEmpty())
        picture.save(QDir(folder).filePath(name));
}

} // namespace screenshots
