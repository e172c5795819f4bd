#include "shell/Termination.h"

#include <QCoreApplication>

Termination &Termination::instance()
{
    static Termination termination;
    return termination;
}

void Termination::terminate()
{
    m_requested = true;
    emit terminating();
    QCoreApplication::exit(0);
}

void terminateApplication()
{
    Termination::instance().terminate();
}
