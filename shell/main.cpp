#include "data/DataModule.h"
#include "platform/core/Paths.h"
#include "platform/db/DbError.h"
#include "shell/InitCommand.h"

#include <QApplication>
#include <QMessageBox>
#include <QTextStream>

int main(int argc, char **argv)
{
    const QStringList arguments = [&] {
        QStringList list;
        for (int i = 1; i < argc; ++i)
            list << QString::fromLocal8Bit(argv[i]);
        return list;
    }();
    if (!arguments.isEmpty() && arguments.first() == QLatin1String("init")) {
        QCoreApplication app(argc, argv);
        return runInitCommand(arguments.mid(1));
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vendrix"));
    try {
        TDM1 dataModule(vx::paths::dataLinkFile());
        QTextStream(stdout) << QStringLiteral("Vendrix: base de datos %1 abierta.").arg(dataModule.ADOConnection1->description())
                            << Qt::endl;
        return 0;
    } catch (const vx::DbError &e) {
        QMessageBox::critical(nullptr, QStringLiteral("Vendrix"), e.message());
        return 1;
    }
}
