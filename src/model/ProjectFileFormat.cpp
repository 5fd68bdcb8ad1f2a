#include "model/ProjectFileFormat.h"

#include <algorithm>

namespace prjfile {

namespace {
constexpr int kBaudTable[] = {110,     300,     600,      1200,    2400,    4800,    9600,
                              19200,   38400,   57600,    115200,  128000,  187500,  256000,
                              125000,  250000,  500000,   1500000, 3000000, 6000000, 12000000,
                              10000,   20000,   50000,    100000,  800000,  1000000};
int TableSize(int port) { return port == 1 ? 27 : 14; }
}  // namespace

void FieldWriter::Byte(int value) {
    if (m_pos >= m_buf.size()) m_buf.resize(m_pos + 1, '\0');
    m_buf[m_pos++] = static_cast<char>(value & 0xFF);
}

void FieldWriter::U16LE(unsigned value) {
    Byte(static_cast<int>(value & 0xFF));
    Byte(static_cast<int>((value >> 8) & 0xFF));
}

void FieldWriter::U16BE(unsigned value) {
    Byte(static_cast<int>((value >> 8) & 0xFF));
    Byte(static_cast<int>(value & 0xFF));
}

void FieldWriter::Raw(const std::string& bytes) {
    if (m_pos + bytes.size() > m_buf.size()) m_buf.resize(m_pos + bytes.size(), '\0');
    std::copy(bytes.begin(), bytes.end(), m_buf.begin() + static_cast<std::ptrdiff_t>(m_pos));
    m_pos += bytes.size();
}

void FieldWriter::Text(const std::string& text, size_t width, char fill) {
    const size_t kept = std::min(text.size(), width);
    if (m_pos + width > m_buf.size()) m_buf.resize(m_pos + width, '\0');
    auto at = m_buf.begin() + static_cast<std::ptrdiff_t>(m_pos);
    std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(kept), at);
    if (kept < width) {
        at[static_cast<std::ptrdiff_t>(kept)] = '\0';
        std::fill(at + static_cast<std::ptrdiff_t>(kept) + 1, at + static_cast<std::ptrdiff_t>(width), fill);
    }
    m_pos += width;
}

int FieldReader::Byte() {
    if (m_pos >= m_buf.size()) {
        m_ok = false;
        ++m_pos;
        return 0;
    }
    return static_cast<unsigned char>(m_buf[m_pos++]);
}

int FieldReader::SignedByte() { return static_cast<signed char>(static_cast<unsigned char>(Byte())); }

unsigned FieldReader::U16LE() {
    unsigned lo = static_cast<unsigned>(Byte());
    unsigned hi = static_cast<unsigned>(Byte());
    return hi * 256 + lo;
}

unsigned FieldReader::U16BE() {
    unsigned hi = static_cast<unsigned>(Byte());
    unsigned lo = static_cast<unsigned>(Byte());
    return hi * 256 + lo;
}

std::string FieldReader::Raw(size_t count) {
    std::string out;
    out.reserve(count);
    for (size_t i = 0; i < count; ++i) out += static_cast<char>(Byte());
    return out;
}

std::string FieldReader::Text(size_t width) {
    std::string raw = Raw(width);
    size_t zero = raw.find('\0');
    return zero == std::string::npos ? raw : raw.substr(0, zero);
}

int BaudToCode(int rate, int port, int portOneCodes) {
    const int size = port == 1 ? portOneCodes : TableSize(port);
    for (int i = 0; i < size; ++i)
        if (kBaudTable[i] == rate) return i + 1;
    return rate & 0xFF;
}

int CodeToBaud(int code, int port) {
    if (code >= 1 && code <= TableSize(port)) return kBaudTable[code - 1];
    return code;
}

int OlderCodeToBaud(int code, int port) {
    if (port == 1 && code >= 18 && code <= 21) return code;
    return CodeToBaud(code, port);
}

size_t OlderRowWidth(bool slaveMode) { return slaveMode ? 151 : 150; }

void OlderColumnWidths(bool slaveMode, size_t (&widths)[kOlderBlockColumns]) {
    const size_t w[kOlderBlockColumns] = {2, slaveMode ? size_t(3) : size_t(2), 30, 2, 15, 30, 2, 15, 2, 50};
    for (size_t i = 0; i < kOlderBlockColumns; ++i) widths[i] = w[i];
}

int DataBitsToCode(int bits) { return bits == 7 ? 1 : bits == 8 ? 2 : bits; }
int CodeToDataBits(int code) { return code == 1 ? 7 : code == 2 ? 8 : code; }

std::string VersionField(int formatNumber) {
    std::string field = "Ver";
    field += static_cast<char>(formatNumber & 0xFF);
    field += ".00";
    field += '\0';
    field += '\0';
    return field;
}

}  // namespace prjfile
