#pragma once

#include "app/ClienteForm.h"
#include "suppliers/SupplierStore.h"

// Supplier maintenance "A B M de Proveedores": the customer window's boxes for one supplier, a
// navigator over the supplier file, save and delete. The balance is shown, never typed: only the
// supplier's documents and payments move it.
class TFAltaProv : public app::ClienteForm {
    Q_OBJECT
public:
    explicit TFAltaProv(QWidget *parent = nullptr);
    ~TFAltaProv() override;

    // The window's own cursor on PROVEEDORES, for the navigator.
    vx::Table &proveedores() { return ownTable(); }

    void BBGrabarClick() override;

protected:
    std::optional<QString> deleteRefusal(int code) override;
    std::optional<QString> removeStored(int code) override;
};

// The supplier maintenance window of the program, set while one exists.
extern TFAltaProv *FAltaProv;

// "A B M de Proveedores": opens the window's cursor, shows it modally and closes the cursor after it.
void openAltaProv(TFAltaProv &window);
