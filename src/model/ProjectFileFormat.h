#pragma once
// The fixed-width field layout of project files: a writer and a reader of bytes, texts and
// numbers at positions, the layout of the newer project file, and the code tables of baud
// rates and data bits. The older project file uses the same writer and reader.
#include <cstddef>
#include <cstdint>
#include <string>

namespace prjfile {

// Writes into a byte buffer at a position; writing past the end fills the gap with zeros.
class FieldWriter {
public:
    explicit FieldWriter(std::string& buffer, size_t position = 0) : m_buf(buffer), m_pos(position) {}
    void Seek(size_t position) { m_pos = position; }
    size_t Tell() const { return m_pos; }
    void Byte(int value);                 // the low 8 bits
    void U16LE(unsigned value);
    void U16BE(unsigned value);
    void Raw(const std::string& bytes);
    // The text cut to the width; a shorter text is followed by one zero byte and the fill.
    void Text(const std::string& text, size_t width, char fill = '\0');

private:
    std::string& m_buf;
    size_t m_pos;
};

// Reads from a byte buffer; a read past the end yields zeros and marks the reader failed.
class FieldReader {
public:
    explicit FieldReader(const std::string& buffer, size_t position = 0) : m_buf(buffer), m_pos(position) {}
    void Seek(size_t position) { m_pos = position; }
    size_t Tell() const { return m_pos; }
    size_t Remaining() const { return m_pos < m_buf.size() ? m_buf.size() - m_pos : 0; }
    bool Ok() const { return m_ok; }
    int Byte();        // 0..255
    int SignedByte();  // -128..127
    unsigned U16LE();
    unsigned U16BE();
    std::string Raw(size_t count);
    // The characters before the first zero byte, or all of the width.
    std::string Text(size_t width);

private:
    const std::string& m_buf;
    size_t m_pos;
    bool m_ok = true;
};

// Layout of the newer project file.
inline constexpr char kFileTag[] = "Quorvex1.00D";  // 12 characters and a zero byte: 13
inline constexpr size_t kTagWidth = 13;
inline constexpr size_t kVersionOffset = 13;        // "Ver", format number, ".00", 0, 0
inline constexpr size_t kFormatNumberOffset = 16;
inline constexpr size_t kSettingsOffset = 100;      // 19 bytes, layout A or B
inline constexpr size_t kSettingsSize = 19;
inline constexpr size_t kAddressTextsOffset = 119;  // three texts of 10
inline constexpr size_t kAddressTextWidth = 10;
inline constexpr size_t kAdvSetting2Offset = 149;
inline constexpr size_t kProductRecordOffset = 152; // "*", product number, version, "*"
inline constexpr size_t kCtrlWordStationOffset = 156;
inline constexpr size_t kErrBitOffset = 158;
inline constexpr size_t kExtendedSetupOffset = 160;
inline constexpr size_t kBlockCountOffset = 298;
inline constexpr size_t kBlockRowsOffset = 300;
inline constexpr size_t kBlockRowSize = 204;
inline constexpr size_t kBlockColumns = 11;
inline constexpr size_t kBlockColumnWidths[kBlockColumns] = {2, 5, 33, 6, 21, 36, 9, 24, 10, 3, 55};
inline constexpr size_t kProjectTextsSize = 800;
inline constexpr size_t kProjectTextWidths[5] = {100, 100, 50, 50, 500};  // author, title, created, modified, description
inline constexpr int kProjectTextsFormat = 4;       // texts are present from this format number on
// A format number the reader opens: it is stored as a signed byte, and 0 or less is refused.
inline constexpr bool IsReadableFormat(int number) { return number > 0 && number <= 127; }
inline constexpr char kProjectTextFill = '*';

// Fixed codes of the optional sections that carry one (the node and tag tables carry none).
inline constexpr int kRecipeSectionCode = 3;
inline constexpr int kAttachRegCom1SectionCode = 4;
inline constexpr int kAttachRegCom2SectionCode = 5;
inline constexpr int kGeneralEntityCom1SectionCode = 6;
inline constexpr int kGeneralEntityCom2SectionCode = 7;

// Baud rates as codes. Port 1 (the COM2 side) knows codes 1-27, ports 0 and 2 codes 1-14.
// A rate outside the table is stored as its low byte; a code outside it reads as the rate.
// portOneCodes: how many codes port 1 knows (the older unit image stops at 17).
int BaudToCode(int rate, int port, int portOneCodes = 27);
int CodeToBaud(int code, int port);
// The older project file decodes port 1's codes 1-17 and 22-27 only (18-21 read as the
// number itself).
int OlderCodeToBaud(int code, int port);
// 7 data bits is code 1, 8 is code 2; anything else unchanged.
int DataBitsToCode(int bits);
int CodeToDataBits(int code);

// The version field: "Ver", the format number's low byte, ".00", 0, 0 (9 bytes).
std::string VersionField(int formatNumber);

// Layout of the older project file: the same fixed part up to offset 155 (without the
// bytes 156-160), the block count at 298, rows of 150 bytes (151 in slave mode, whose
// word count is one character wider), then the project texts in a "Ver2.00" file.
inline constexpr size_t kOlderBlockColumns = 10;
inline constexpr char kOlderVersion1[] = "Ver1.00";
inline constexpr char kOlderVersion2[] = "Ver2.00";
size_t OlderRowWidth(bool slaveMode);
// Widths of Block No., # Words/Bits, Source PLC, Source ID, Source Address,
// Destination PLC, Destination ID, Destination Address, Repeat Cycle, Comment.
void OlderColumnWidths(bool slaveMode, size_t (&widths)[kOlderBlockColumns]);

}  // namespace prjfile
