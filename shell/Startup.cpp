#include "shell/Startup.h"

#include "backup/CopyCommands.h"
#include "catalogue/ABMArt.h"
#include "catalogue/ConsArt.h"
#include "catalogue/MODArt.h"
#include "data/DataModule.h"
#include "platform/core/Paths.h"
#include "platform/ui/Dialogs.h"
#include "sales/Anula.h"
#include "sales/ImpComp.h"
#include "sales/ImpTF.h"
#include "sales/Ventas.h"
#include "app/Aguarde.h"
#include "shell/CheckPrevious.h"
#include "shell/Ficha1.h"
#include "shell/Password.h"
#include "shell/QtTranslations.h"

#include <QApplication>

#include <exception>

Startup::Startup() = default;

Startup::~Startup()
{
    // Windows go before the data module whose tables they use.
    delete m_login;
    m_wait.reset();
    m_main.reset();
    m_data.reset();
}

bool Startup::createWindows()
{
    installQtTranslations(*QCoreApplication::instance());
    try {
        m_login = new TFIngreso;
        m_main = std::make_unique<TFF1>();
        m_data = std::make_unique<TDM1>(vx::paths::dataLinkFile());
        // Told once the current command has ended, not in the middle of it.
        QObject::connect(
            m_data->ADOConnection1, &vx::Connection::reconnected, m_data.get(),
            [data = m_data.get()] { vx::ui::dialogs().showMessage(data->reconnectedWarning()); },
            Qt::QueuedConnection);
        m_wait = std::make_unique<TFAguarde>();
        m_wait->showNow();
        // The other windows are the main window's children: they live as long as it does and go
        // with it, before the data module.
        new TFABMArt(m_main.get());
        new TFModArt(m_main.get());
        new TFBuscando(m_main.get());
        FImpComp = new TFImpComp(m_main.get());
        FAnula = new TFAnula(m_main.get());
        FImpTF = new TFImpTF(m_main.get());
        new TFVentas(m_main.get());
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(nullptr, failure);
        return false;
    }
    // The first start of a day copies the shop, in the background while the operator logs in.
    backup::copyOfTheDayAtStart(*m_data->ADOConnection1, m_data.get());
    m_wait->closeNow();
    if (const QString warning = m_data->readOnlyWarning(); !warning.isEmpty())
        vx::ui::dialogs().showMessage(warning);
    m_login->show();
    return true;
}

void Startup::bringToFront() const
{
    if (m_main && m_main->isVisible())
        ::bringToFront(m_main.get());
    else if (m_login)
        ::bringToFront(m_login);
    if (QWidget *modal = QApplication::activeModalWidget())
        ::bringToFront(modal);
}
