#include "bench/Bench.h"

#include <QApplication>
#include <QMap>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <limits>

namespace bench {

namespace {
QMap<QString, SuiteFunction> &suites()
{
    static QMap<QString, SuiteFunction> all;
    return all;
}

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}
}  // namespace

qint64 Context::option(const QString &name, qint64 fallback) const
{
    const QString prefix = QStringLiteral("--") + name + QLatin1Char('=');
    for (const QString &arg : args) {
        if (arg.startsWith(prefix))
            return arg.mid(prefix.size()).toLongLong();
    }
    return fallback;
}

Registrar::Registrar(const char *name, SuiteFunction run)
{
    suites().insert(QString::fromLatin1(name), std::move(run));
}

double timeSeconds(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e9;
}

double bestOf(int times, const std::function<void()> &work)
{
    double best = std::numeric_limits<double>::max();
    for (int i = 0; i < times; ++i)
        best = std::min(best, timeSeconds(work));
    return best;
}

double percentile(std::vector<double> samples, double p)
{
    if (samples.empty())
        return 0.0;
    std::sort(samples.begin(), samples.end());
    return samples[std::min(samples.size() - 1, size_t(double(samples.size()) * p))];
}

double median(std::vector<double> samples)
{
    return percentile(std::move(samples), 0.5);
}

double median(const QList<double> &samples)
{
    return median(std::vector<double>(samples.begin(), samples.end()));
}

void report(const QString &what, double seconds, const QString &floorName, double floorSeconds)
{
    const double ratio = floorSeconds > 0 ? seconds / floorSeconds : 0.0;
    out() << QStringLiteral("  %1  %2 ms   %3 %4 ms   ratio %5")
                 .arg(what, -44)
                 .arg(seconds * 1000.0, 10, 'f', 3)
                 .arg(floorName, -22)
                 .arg(floorSeconds * 1000.0, 10, 'f', 3)
                 .arg(ratio, 6, 'f', 2)
          << Qt::endl;
}

void note(const QString &what, const QString &figure)
{
    out() << QStringLiteral("  %1  %2").arg(what, -44).arg(figure) << Qt::endl;
}

}  // namespace bench

int main(int argc, char **argv)
{
    // Some suites time windows; they draw offscreen unless a platform is asked for.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList names;
    bench::Context context;
    for (const QString &arg : app.arguments().mid(1)) {
        if (arg.startsWith(QLatin1String("--")))
            context.args << arg;
        else
            names << arg;
    }
    if (names.isEmpty())
        names = bench::suites().keys();

    for (const QString &name : names) {
        if (!bench::suites().contains(name)) {
            std::fprintf(stderr, "vendrix-bench: no suite named %s\n", qPrintable(name));
            return 2;
        }
    }
    bool failed = false;
    for (const QString &name : names) {
        const auto suite = bench::suites().constFind(name);
        // A folder of its own for each suite, gone when it ends: suites name their files alike, and
        // a big shop left behind would only fill the disk under the next one.
        QTemporaryDir dir;
        context.workDir = dir.path();
        qputenv("VENDRIX_ROOT", dir.path().toUtf8());
        bench::out() << "== " << name << Qt::endl;
        try {
            suite.value()(context);
        } catch (const std::exception &failure) {
            // One suite failing must not hide the others' figures.
            std::fprintf(stderr, "vendrix-bench: %s failed: %s\n", qPrintable(name), failure.what());
            failed = true;
        }
    }
    return failed ? 1 : 0;
}
