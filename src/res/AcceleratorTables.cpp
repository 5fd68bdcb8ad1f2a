#include "res/AcceleratorTables.h"

#include "res/FrameResource.h"

namespace res {

namespace {

ui::AccelTable MainKeys() {
    using ui::FALT;
    using ui::FCONTROL;
    using ui::FVIRTKEY;
    return {
        {FVIRTKEY | FCONTROL, 'P', ID_COM_PORT_SETTING},
        {FVIRTKEY | FCONTROL, 'R', ID_CONFIGURE_PROJECT},
        {FVIRTKEY | FCONTROL, 'U', ID_UPLOAD_PROJECT},
        {FVIRTKEY | FCONTROL, 'W', ID_CONTROL_WORD_SETTING},
        {FVIRTKEY | FCONTROL, 'O', ID_OPEN_PROJECT},
        {FVIRTKEY | FCONTROL, 'E', ID_ERROR_BIT_SETTING},
        {FVIRTKEY | FCONTROL, 'M', ID_UPLOAD_SYSTEM_DATA},
        {FVIRTKEY | FALT, 'T', ID_GUARDED_FEATURE},
        {FVIRTKEY | FCONTROL, 'H', ID_ETHERNET_DOWNLOAD},
        {FVIRTKEY | FCONTROL, '1', ID_PLC1_SETTING},
        {FVIRTKEY | FCONTROL, '2', ID_PLC2_SETTING},
        {FVIRTKEY | FCONTROL, 'C', ID_FILE_CLOSE_PROJECT},
        {FVIRTKEY | FCONTROL, 'D', ID_DOWNLOAD},
        {FVIRTKEY | FCONTROL, 'N', ID_FILE_NEW_PROJECT},
        {FVIRTKEY | FCONTROL, 'S', ID_FILE_SAVE_PROJECT},
    };
}

}  // namespace

const ui::AccelTable& AcceleratorTable(int id) {
    static const ui::AccelTable keys = MainKeys();
    static const ui::AccelTable none;
    return id == IDR_MAINFRAME || id == IDR_PROJECT_MENU ? keys : none;
}

}  // namespace res
