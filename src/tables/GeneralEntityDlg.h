#pragma once
// The general-entity dialog: never shown; its object is made where the general-entity
// data of both ports must be emptied (the values are edited in the Extended Setup).
#include "ui/Dialog.h"

class CGeneralEntityDlg : public ui::Dialog {
public:
    explicit CGeneralEntityDlg(ui::Window* parent = nullptr);

    // Item tables, counts, codes, lengths and value buffers of both ports emptied.
    static void ResetGeneralEntity();

    // OK and Cancel end the dialog; any other command goes on to the parent window.
    bool OnCommand(int id) override;
};
