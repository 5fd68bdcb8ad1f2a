#include "app/TableScreens.h"

#include "app/MainFrame.h"
#include "app/ShellHelp.h"
#include "editor/NewBlockExView.h"
#include "editor/RegisterAddressDlg.h"
#include "tables/DefCommRegDlg.h"
#include "tables/EthernetIPTagTableDlg.h"
#include "tables/EthernetNodeTableDlg.h"
#include "tables/InPlaceEditors.h"
#include "tables/RecipeDlg.h"

void WireTableScreens(FrameServices& frame, NewBlockExServices& editor) {
    // The block list's settings without a help page of their own show the block list's,
    // not the contents the project level's empty pane leaves current.
    editor.recipes = [] {
        RunWithHelpTopic(kBlockListHelpTopic, [] {
            CRecipeDlg dlg;
            dlg.DoModal();
        });
    };
    editor.attachRegisters = [] {
        RunWithHelpTopic(kBlockListHelpTopic, [] {
            CDefCommRegDlg dlg;
            dlg.DoModal();
        });
    };
    editor.ethernetNodeTable = [] {
        CEthernetNodeTableDlg dlg;
        dlg.DoModal();
    };
    frame.tagTableDialog = [] {
        CEthernetIPTagTableDlg dlg;
        return dlg.DoModal();
    };
    g_GridAddressPicker = PickRecipeAddress;
    g_TablesPopupMenu = [&editor](ui::Dialog&, const ui::Menu& menu, int x, int y) {
        return editor.trackPopupMenu ? editor.trackPopupMenu(menu, x, y) : 0;
    };
}
