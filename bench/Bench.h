#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// The benchmark program's small frame: each source file registers one suite; `vendrix-bench`
// runs the suites named on its command line, or all of them.
namespace bench {

struct Context {
    QString workDir;     // a fresh temporary folder for this run
    QStringList args;    // the command-line arguments after the suite names (e.g. --articles=N)
    // Value of an option "--name=value" from args, or the fallback.
    qint64 option(const QString &name, qint64 fallback) const;
};

using SuiteFunction = std::function<void(Context &)>;

struct Registrar {
    Registrar(const char *name, SuiteFunction run);
};

// Times one call of work, in seconds.
double timeSeconds(const std::function<void()> &work);
// The fastest of `times` calls of work, in seconds.
double bestOf(int times, const std::function<void()> &work);

// One line of the report: a measurement beside its floor (or peer) with the ratio.
void report(const QString &what, double seconds, const QString &floorName, double floorSeconds);
// One line with a plain figure (throughput, memory).
void note(const QString &what, const QString &figure);

// The sample below which the share p (0 to 1) of the samples lies; 0 for no samples.
double percentile(std::vector<double> samples, double p);
double median(std::vector<double> samples);
double median(const QList<double> &samples);

}  // namespace bench
