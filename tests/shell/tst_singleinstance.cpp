#include "shell/CheckPrevious.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <memory>
#include <vector>

namespace {

// A copy of the program started in its single-instance probe mode: it stops after the guard,
// says "running" when admitted and "raise" when a later start asks it to come to the front.
class Instance {
public:
    explicit Instance(const QString &program)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VENDRIX_INSTANCE_PROBE"), QStringLiteral("1"));
        m_process.setProcessEnvironment(env);
        m_process.start(program, {});
    }
    ~Instance()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }

    // Waits until the process printed the line (or ended).
    bool says(const QString &line, int timeoutMs = 10000)
    {
        QDeadlineTimer deadline(timeoutMs);
        while (!m_output.contains(line + QLatin1Char('\n'))) {
            if (deadline.hasExpired() || m_process.state() == QProcess::NotRunning)
                return readAll().contains(line + QLatin1Char('\n'));
            m_process.waitForReadyRead(50);
            readAll();
        }
        return true;
    }

    // Refused starts end by themselves, having shown nothing.
    bool endsAlone(int timeoutMs = 10000)
    {
        const bool finished = m_process.state() == QProcess::NotRunning || m_process.waitForFinished(timeoutMs);
        return finished && m_process.exitStatus() == QProcess::NormalExit
               && m_process.exitCode() == 0 && !readAll().contains(QLatin1String("running"));
    }

    // Ends the way a user's exit does.
    bool exitNormally()
    {
        m_process.closeWriteChannel();
        return m_process.waitForFinished(10000) && m_process.exitCode() == 0;
    }

    void killHard()
    {
        m_process.kill();  // SIGKILL: no exit routine runs
        m_process.waitForFinished();
    }

private:
    QString readAll()
    {
        m_output += QString::fromLocal8Bit(m_process.readAllStandardOutput());
        return m_output;
    }

    QProcess m_process;
    QString m_output;
};

const QString program = QStringLiteral(VENDRIX_EXECUTABLE);

}  // namespace

class TestSingleInstance : public QObject {
    Q_OBJECT

private slots:
    void secondStartFromTheSamePathRaisesTheFirst()
    {
        Instance first(program);
        QVERIFY(first.says(QStringLiteral("running")));
        Instance second(program);
        QVERIFY(second.endsAlone());
        QVERIFY(first.says(QStringLiteral("raise")));
        // A third try is refused just the same.
        Instance third(program);
        QVERIFY(third.endsAlone());
        QVERIFY(first.exitNormally());
    }

    // Starts at the same moment cannot both be admitted: taking the lock is one atomic step.
    void simultaneousStartsAdmitOne()
    {
        std::vector<std::unique_ptr<Instance>> starts;
        for (int i = 0; i < 4; ++i)
            starts.push_back(std::make_unique<Instance>(program));
        int running = 0;
        int refused = 0;
        for (auto &start : starts) {
            if (start->says(QStringLiteral("running")))
                ++running;
            else if (start->endsAlone())
                ++refused;
        }
        QCOMPARE(running, 1);
        QCOMPARE(refused, 3);
    }

    void copyInAnotherFolderRunsBeside()
    {
        QTemporaryDir folder;
        const QString copy = folder.filePath(QStringLiteral("vendrix"));
        QVERIFY(QFile::copy(program, copy));
        QVERIFY(QFile::setPermissions(copy, QFile::permissions(program)));

        Instance first(program);
        QVERIFY(first.says(QStringLiteral("running")));
        Instance beside(copy);
        QVERIFY(beside.says(QStringLiteral("running")));
        // Each copy guards its own path.
        Instance again(copy);
        QVERIFY(again.endsAlone());
        QVERIFY(beside.says(QStringLiteral("raise")));
        QVERIFY(beside.exitNormally());
        QVERIFY(first.exitNormally());
    }

    void newStartRunsAfterTheFirstEnds()
    {
        {
            Instance first(program);
            QVERIFY(first.says(QStringLiteral("running")));
            QVERIFY(first.exitNormally());
        }
        Instance next(program);
        QVERIFY(next.says(QStringLiteral("running")));
        QVERIFY(next.exitNormally());
    }

    // A crash leaves no count behind: the lock goes with the process, and the stale socket of
    // the dead copy does not keep the new one from being raised.
    void newStartRunsAfterTheFirstIsKilled()
    {
        {
            Instance first(program);
            QVERIFY(first.says(QStringLiteral("running")));
            first.killHard();
        }
        Instance next(program);
        QVERIFY(next.says(QStringLiteral("running")));
        Instance refused(program);
        QVERIFY(refused.endsAlone());
        QVERIFY(next.says(QStringLiteral("raise")));
        QVERIFY(next.exitNormally());
    }

    // In one process: the holder is asked to come forward and its window is restored.
    void raiseRequestReachesTheWindow()
    {
        const QString path = QStringLiteral("/opt/otra-tienda/vendrix");
        QWidget window;
        window.showMinimized();
        QVERIFY(window.isMinimized());

        auto holder = std::make_unique<CheckPrevious>(path);
        QVERIFY(holder->acquire());
        QObject::connect(holder.get(), &CheckPrevious::raiseRequested, &window, [&window] { bringToFront(&window); });
        QSignalSpy raised(holder.get(), &CheckPrevious::raiseRequested);

        CheckPrevious later(path);
        QVERIFY(!later.acquire());
        QVERIFY(!later.held());
        QVERIFY(raised.wait(5000));
        QVERIFY(!window.isMinimized());
        QVERIFY(window.isVisible());

        CheckPrevious elsewhere(QStringLiteral("/opt/otra-tienda/copia/vendrix"));
        QVERIFY(elsewhere.acquire());
        QVERIFY(elsewhere.name() != holder->name());

        holder.reset();
        QVERIFY(later.acquire());
    }
};

QTEST_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
