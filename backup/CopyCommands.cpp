#include "backup/CopyCommands.h"

#include "app/Aguarde.h"
#include "backup/BackgroundCopy.h"
#include "backup/Backup.h"
#include "platform/db/DbError.h"
#include "platform/ui/Dialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>

namespace backup {

namespace {

void toWaitWindow(const QString &line)
{
    aguarde::progress(line);
}

// The copy running in the background, until it has told how it ended.
QPointer<BackgroundCopy> &backgroundCopy()
{
    static QPointer<BackgroundCopy> running;
    return running;
}

}  // namespace

void waitForBackgroundCopy()
{
    const QPointer<BackgroundCopy> running = backgroundCopy();
    if (!running || !running->running())
        return;
    running->waitTelling([](const QString &line) {
        aguarde::progress(QStringLiteral("Esperando que termine la copia de seguridad en curso... %1").arg(line).trimmed());
    });
}

void copyFromMenu(QWidget *parent, vx::Connection &shop)
{
    aguarde::show();
    aguarde::progress(QStringLiteral("Copia de seguridad..."));
    waitForBackgroundCopy();
    try {
        const CopyMade made = automaticCopy(shop, &toWaitWindow);
        aguarde::close();
        const QFileInfo file(made.path);
        vx::ui::dialogs().information(parent,
                                      QStringLiteral("Copia de seguridad terminada.\n\nArchivo: %1\nTamaño: %2\nCarpeta: %3")
                                          .arg(file.fileName(), sizeText(made.bytes),
                                               QDir::toNativeSeparators(file.absolutePath())),
                                      QStringLiteral("Copia de Seguridad"));
    } catch (const vx::DbError &failure) {
        aguarde::close();
        vx::ui::dialogs().error(parent, failure.message(), QStringLiteral("Copia de Seguridad"));
    }
}

void copyAfterClosing(QWidget *parent, vx::Connection &shop)
{
    aguarde::show();
    aguarde::progress(QStringLiteral("Copia de seguridad del cierre..."));
    waitForBackgroundCopy();
    try {
        automaticCopy(shop, &toWaitWindow);
        aguarde::close();
    } catch (const vx::DbError &failure) {
        aguarde::close();
        vx::ui::dialogs().error(parent,
                                QStringLiteral("La caja quedó cerrada, pero no se pudo hacer la copia de seguridad.\n%1")
                                    .arg(failure.message()),
                                QStringLiteral("Cierre de Caja"));
    }
}

void copyOfTheDayAtStart(vx::Connection &shop, QObject *owner)
{
    const auto failed = [](const QString &failure) {
        vx::ui::dialogs().showMessage(QStringLiteral("No se pudo hacer la copia de seguridad del día.\n%1").arg(failure));
    };
    try {
        // Read here, on the connection's own thread; the copy works with connections of its own.
        const CopySource source(shop);
        waitForBackgroundCopy();
        backgroundCopy() = new BackgroundCopy([source](const Progress &say) { copyOfTheDay(source, say); },
                                              [failed](const QString &failure) {
                                                  if (!failure.isEmpty())
                                                      failed(failure);
                                              },
                                              owner);
    } catch (const vx::DbError &failure) {
        failed(failure.message());
    }
}

}  // namespace backup
