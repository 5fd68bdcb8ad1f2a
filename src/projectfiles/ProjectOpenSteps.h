#pragma once
// The steps the project readers of both generations share: the file read whole, the
// product a file names, the PLC pair it names, the project texts and the PC port.
#include <string>

// Reads the project file; false after the message that names the file and the reason.
bool ReadProjectFileShown(const std::string& path, std::string& bytes);

// The product whose products.inf entry has this number: its name and DeviceID (both left
// as they are when no entry has it).
void FindProductByNumber(int productNo, std::string& product, unsigned& deviceId);

// The PLC pair of a settings record (PLC ids and models in its first four bytes): their
// definition files, model sections and names as the product's PLC folder gives them.
struct PlcIdentity {
    std::string id1, model1, id2, model2, file1, file2, section1, section2, name1, name2;
};
// false when a section or name is missing (the message is the caller's). onePlc: the
// second PLC is the first one again; width: how much of a key is read.
bool ReadPlcIdentity(const std::string& product, const unsigned char* settings, bool onePlc, size_t width,
                     PlcIdentity& out);
// Makes the pair the open project's (ids, driver ids, models, files, sections, names).
void ApplyPlcIdentity(const PlcIdentity& id);
// The register widths and register tables of the pair's PLC files (the second one only
// when bothPorts).
void LoadPlcRegisters(const PlcIdentity& id, bool bothPorts);

// Bytes 12 to 18 of a two-port settings record: control word and error bits in use, the
// control word's side, the first PLC's advance settings.
void ApplyControlRecord(const unsigned char* settings);
// The control-word and error-bit addresses and the second PLC's advance settings (file
// order: third, first, second value).
void ApplyAddressTexts(const std::string& ctrlWordAddr, const std::string& errBitAddr1,
                       const std::string& errBitAddr2, const int (&advSetting2)[3]);
// Two PLCs of one name are told apart by their ports ("Com1 ...", "Com2 ...").
void DistinguishPlcNames();

// Author, title, created, modified and description, as a file keeps them.
void ApplyProjectTexts(const std::string (&texts)[5]);

// The PC's COM port kept for the product in its data.inf.
void ReadPcComPort(const std::string& product);

// Says that the project file is damaged and how ("it ends after ..."), with the error
// icon; the file is not opened.
void ShowDamagedProject(const std::string& path, const std::string& what);
// The "how" of a file that ends before the bytes its header and counts need.
std::string CutShortText(size_t size, size_t needed);
