#pragma once

#include <QObject>

// How the program ends when the operator asks it to (cancelling the login, the fourth wrong
// password, "SALIR", closing the main window): every running event loop returns and main() lets
// the process end. A request made before the loop starts keeps the loop from being entered.
class Termination : public QObject {
    Q_OBJECT
public:
    static Termination &instance();

    void terminate();
    bool requested() const { return m_requested; }

signals:
    void terminating();

private:
    Termination() = default;
    bool m_requested = false;
};

// Termination::instance().terminate()
void terminateApplication();
