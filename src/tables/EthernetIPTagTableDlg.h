#pragma once
// The EtherNet/IP tag table: the named tags of an EtherNet/IP PLC (name, size, type and a
// code made of the type's letter and the row number). Save keeps them in the tag holder
// and writes them out as the definition file of PLC 141, one register per tag; Confirm
// copies that file over the one the program reads, so the block editor can address tags
// like registers.
#include <string>
#include <vector>

#include "ui/Dialog.h"

class CEthernetIPTagTableDlg : public ui::Dialog {
public:
    static constexpr int kMaxTags = 255;
    static constexpr int kMaxNameChars = 39;  // what the project file keeps of a name

    explicit CEthernetIPTagTableDlg(ui::Window* parent = nullptr);

    const ui::HandlerTable* GetHandlerTable() const override;
    bool OnInitDialog() override;
    void OnOK() override { OnSave(); }

    void OnAdd();
    void OnDelete();
    void OnSave();
    void OnConfirm();

    // Writes the definition file of the tags in the list; false when it could not be
    // created (the message was shown).
    bool WriteTagPlcFile(const std::string& path);
    std::string MakeTagCode(int number) const;
    static std::string FormatTagNumber(int n);
    void ResequenceTagCodes(int from);
    int TypeNumberFromName(const std::string& name) const;

    // The installed file in the product's Plc folder and the one Save writes.
    static std::string InstalledFilePath();
    static std::string TagTableFolder();
    static std::string WrittenFilePath();

    std::string m_strInstalledFile;
    std::string m_strWrittenFile;
    std::vector<std::string> m_arrTypeNames;
    std::vector<std::string> m_arrTypeNumbers;
    std::vector<std::string> m_arrTypeLetters;
    std::string m_strTagName;
};

// Empties the tag names and codes and zeroes sizes and types; the entity code stays.
void ClearTagTable();
