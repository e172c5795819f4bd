#pragma once

#include "app/ClienteForm.h"
#include "customers/CustomerStore.h"

// Customer maintenance "Alta de Clientes": plain boxes for one customer, a navigator over the
// customer file, save and delete.
class TFAltaCli : public app::ClienteForm {
    Q_OBJECT
public:
    explicit TFAltaCli(QWidget *parent = nullptr);
    ~TFAltaCli() override;

    // The window's own cursor on CLIENTE, for the navigator.
    vx::Table &cliente() { return ownTable(); }

    void BBGrabarClick() override;

protected:
    std::optional<QString> deleteRefusal(int code) override;
    std::optional<QString> removeStored(int code) override;
    void releaseShared() override;

private:
    // Asks what the save needs to know; nothing when the operator declined or a box is wrong.
    std::optional<customers::SaveRequest> askForSave(const customers::Customer &customer);
};

// The customer maintenance window of the program, set while one exists.
extern TFAltaCli *FAltaCli;

// "ABM de Clientes": opens the window's cursor, shows it modally and closes the cursor after it.
void openAltaCli(TFAltaCli &window);
