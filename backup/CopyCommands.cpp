#include "backup/CopyCommands.h"

#include "app/Aguarde.h"
#include "backup/Backup.h"
#include "platform/db/DbError.h"
#include "platform/ui/Dialogs.h"

#include <QDir>
#include <QFileInfo>

namespace backup {

namespace {

void toWaitWindow(const QString &line)
{
    aguarde::progress(line);
}

}  // namespace

void copyFromMenu(QWidget *parent, vx::Connection &shop)
{
    aguarde::show();
    aguarde::progress(QStringLiteral("Copia de seguridad..."));
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

void copyOfTheDayAtStart(vx::Connection &shop)
{
    try {
        copyOfTheDay(shop, &toWaitWindow);
    } catch (const vx::DbError &failure) {
        vx::ui::dialogs().showMessage(QStringLiteral("No se pudo hacer la copia de seguridad del día.\n%1").arg(failure.message()));
    }
    aguarde::progress(QString());
}

}  // namespace backup
