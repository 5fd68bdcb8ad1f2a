#include "res/StringTable.h"

#include <map>

#include "res/FrameResource.h"

std::string LoadString(int id) {
    static const std::map<int, std::string> table = {
        {IDS_COMM_ERROR_TEXT,
         "Communication Error. Please check the cable, connection and power to the unit. Please retry!"},
        {IDS_PROJECT_VERSION_MISMATCH,
         "Project version mismatch. Unable to open project. Please try again. The project file may be corrupted."},
        {IDS_NOT_FOR_QUORVEX, "This Project is not for Quorvex!"},
        {IDS_NO_PROJECT_IN_UNIT, "Quorvex has no project in it's memory!"},
        {IDS_OPEN_COM_PORT_ERROR, "Unable to open IBM Com Port ! Please change your IBM Com port setting."},
        {IDS_PROJECT_DOWNLOAD_ERROR, "Error while  Project downloading."},
        {IDS_SAVE_PROJECT_QUESTION, "Do you want to save project?"},
        {IDS_PLC_FILE_ERROR,
         "This error has occured due to one of the following reasons -\n1) You are trying to open a project which "
         "is created for different product.\n 2) PLC file is corrupt or not found."},
        {IDS_CONVERT_ON_SAVE,
         "Project has been created in previous version of Quorvex. On saving, it will be converted to current "
         "version. Do you want save in new format?"},
        {IDS_CONVERT_ON_OPEN,
         "Project has been created in previous version of Quorvex. On saving, it will be converted to current "
         "version.\nPress Yes to  continue & No to cancel."},
        {IDS_ERROR_BIT_SLAVE, "Error bit setting is not required for slave mode."},
        {IDS_CONTROL_WORD_SLAVE, "Control word setting is not required for slave mode"},
        {IDS_COPY_BEFORE_PASTE, "Please copy a block, before Paste."},
        {IDS_SELECT_BOTH_PLCS, "Please select PLC from both side."},
        // Status-bar prompts of the commands, then their tool tips, after a line break.
        {ID_DOWNLOAD, "To Download Firmware , Drivers and Project \n Download"},
        {ID_FILE_SAVE_PROJECT, "To Save a Project \n Save Project"},
        {ID_FILE_CLOSE_PROJECT, "To Close a Project \n Close Project"},
        {ID_ADD_NEW_BLOCK, "To Add a New Block to the Project \n Add New Block"},
        {ID_REMOVE_BLOCK, "To Remove a Block from the Project \n Remove Block"},
        {ID_INSERT_BLOCK, "To Insert a New Block between any two Blocks of a Project \n Insert Block"},
        {ID_COPY_BLOCK, "Copy Block \n Copy Block"},
        {ID_PASTE_BLOCK, "Paste Block"},
    };
    auto it = table.find(id);
    return it == table.end() ? std::string() : it->second;
}
