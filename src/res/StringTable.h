#pragma once
// The program's string table: the messages known by their numbers.
#include <string>

constexpr int IDS_COMM_ERROR_TEXT = 60000;
constexpr int IDS_PROJECT_VERSION_MISMATCH = 60003;
constexpr int IDS_NOT_FOR_QUORVEX = 60004;
constexpr int IDS_NO_PROJECT_IN_UNIT = 60005;
constexpr int IDS_OPEN_COM_PORT_ERROR = 60013;
constexpr int IDS_PROJECT_DOWNLOAD_ERROR = 60015;
constexpr int IDS_SAVE_PROJECT_QUESTION = 60018;
constexpr int IDS_PLC_FILE_ERROR = 60019;
constexpr int IDS_CONVERT_ON_SAVE = 60020;
constexpr int IDS_CONVERT_ON_OPEN = 60021;
constexpr int IDS_ERROR_BIT_SLAVE = 60025;
constexpr int IDS_CONTROL_WORD_SLAVE = 60026;
constexpr int IDS_COPY_BEFORE_PASTE = 60027;
constexpr int IDS_SELECT_BOTH_PLCS = 60029;

// The text of a string; empty for an id the table does not hold.
std::string LoadString(int id);
