#pragma once

#include <QPointer>

#include <memory>

class TDM1;
class TFAguarde;
class TFF1;
class TFIngreso;

// What the program creates when it starts, in its fixed order, and owns until it ends: the login
// window (the only one on screen when the event loop starts), the main window (hidden until a
// login), the data module, then the other windows with the wait window up meanwhile.
class Startup {
public:
    Startup();
    ~Startup();
    Startup(const Startup &) = delete;
    Startup &operator=(const Startup &) = delete;

    // False when something could not be created; the operator has then been shown why.
    bool createWindows();

    // Brings the program's window in use to the front: the main window after the login, the
    // login before it, and above them any window shown modally.
    void bringToFront() const;

private:
    QPointer<TFIngreso> m_login;
    std::unique_ptr<TFF1> m_main;
    std::unique_ptr<TDM1> m_data;
    std::unique_ptr<TFAguarde> m_wait;
};
