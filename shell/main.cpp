#include "platform/ui/Dialogs.h"
#include "shell/BackupCommands.h"
#include "shell/CheckPrevious.h"
#include "shell/ConsoleOptions.h"
#include "shell/InitCommand.h"
#include "shell/Startup.h"
#include "shell/Termination.h"
#include "shell/UpgradeCommand.h"

#include <QApplication>
#include <QMap>
#include <QSocketNotifier>
#include <QTextStream>

#include <unistd.h>

namespace {

// With VENDRIX_INSTANCE_PROBE set, the program stops after the single-instance guard: it reports
// on standard output that it runs and each request to come to the front, and ends when its
// standard input closes. The tests of the guard start real processes this way.
int runInstanceProbe(QApplication &app, CheckPrevious &guard)
{
    QTextStream out(stdout);
    QObject::connect(&guard, &CheckPrevious::raiseRequested, [&out] { out << "raise" << Qt::endl; });
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&app, &input] {
        char buffer[256];
        if (::read(STDIN_FILENO, buffer, sizeof buffer) <= 0) {
            input.setEnabled(false);
            app.quit();
        }
    });
    out << "running" << Qt::endl;
    return app.exec();
}

}  // namespace

int main(int argc, char **argv)
{
    // The console commands run without windows and without the single-instance guard.
    const QString command = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const QStringList helpWords{QStringLiteral("--help"), QStringLiteral("-h"), QStringLiteral("help")};
    if (helpWords.contains(command)) {
        QTextStream(stdout) << consoleUsage() << Qt::flush;
        return 0;
    }
    // Words starting with "-" are Qt's own options (-platform, -style); any other word is a command.
    using Command = int (*)(const QStringList &);
    const QMap<QString, Command> commands{{QStringLiteral("init"), &runInitCommand},
                                          {QStringLiteral("copy-db"), &runCopyDbCommand},
                                          {QStringLiteral("upgrade"), &runUpgradeCommand},
                                          {QStringLiteral("backup"), &runBackupCommand},
                                          {QStringLiteral("restore"), &runRestoreCommand},
                                          {QStringLiteral("check"), &runCheckCommand}};
    if (!command.isEmpty() && !command.startsWith(QLatin1Char('-'))) {
        if (!commands.contains(command)) {
            QTextStream(stderr) << consoleUsage() << Qt::flush;
            return 2;
        }
        QCoreApplication app(argc, argv);
        return commands.value(command)(QCoreApplication::arguments().mid(2));
    }

    QApplication app(argc, argv);
    CheckPrevious guard(QCoreApplication::applicationFilePath());
    try {
        if (!guard.acquire())
            return 0;
    } catch (const CheckPrevious::Error &failure) {
        vx::ui::dialogs().showException(nullptr, failure);
        return 1;
    }
    if (qEnvironmentVariableIsSet("VENDRIX_INSTANCE_PROBE"))
        return runInstanceProbe(app, guard);

    QApplication::setApplicationName(QStringLiteral("Vendrix"));
    QApplication::setQuitOnLastWindowClosed(false);
    Startup startup;
    QObject::connect(&guard, &CheckPrevious::raiseRequested, [&startup] { startup.bringToFront(); });
    if (!startup.createWindows())
        return 1;
    if (Termination::instance().requested())
        return 0;
    return app.exec();
}
