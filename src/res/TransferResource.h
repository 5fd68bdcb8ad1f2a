#pragma once
// Resource ids of the newer transfer dialog and its status icons.
#include <memory>

#include "ui/Bitmap.h"

// Transfer tasks (download and upload of the newer products).
constexpr int IDD_TRANSFER_TASKS = 277;
// The older products' transfer dialog: the same controls.
constexpr int IDD_DOWNLOAD = 103;
constexpr int IDC_TRANSFER_PROGRESS = 1001;
constexpr int IDC_TASK_LIST = 1002;
constexpr int IDC_DOWNLOAD = 1003;
constexpr int IDC_COM_PORT = 1018;
constexpr int IDC_UPLOAD_PROJECT = 1057;
constexpr int IDC_SELECT_ALL = 1096;
constexpr int IDC_SUMMARY = 1097;
constexpr int IDC_DESELECT_ALL = 1114;
constexpr int IDC_TASKS_GROUP = 1119;
constexpr int IDC_MESSAGE_LIST = 1140;
constexpr int IDC_FILE_NAME = 1174;
// Texts and icons of the five status lines.
constexpr int IDC_LINE1_TEXT = 1108;
constexpr int IDC_LINE2_TEXT = 1109;
constexpr int IDC_LINE3_TEXT = 1110;
constexpr int IDC_LINE4_TEXT = 1111;
constexpr int IDC_LINE5_TEXT = 1117;
constexpr int IDC_LINE1_ICON = 1102;
constexpr int IDC_LINE2_ICON = 1099;
constexpr int IDC_LINE3_ICON = 1100;
constexpr int IDC_LINE4_ICON = 1101;
constexpr int IDC_LINE5_ICON = 1103;

// How far the status lists (messages, loop-back results) scroll sideways, in pixels.
constexpr int kStatusListExtent = 1000;

// The task list's icons: both of its image lists hold them in this order.
constexpr int IDI_TASK_LIST = 146;
constexpr int IDI_TASK_FILE = 147;     // the firmware and the drivers
constexpr int IDI_TASK_PROJECT = 148;
constexpr int IDI_TASK_UPLOAD = 149;

// String-table texts of the dialog.
constexpr int IDS_DATA_OVERWRITTEN = 60022;

namespace res {

// The status icons: 188 idle, 187 succeeded, 196 failed (16 x 16, drawn here).
std::shared_ptr<const ui::Bitmap> StatusBitmap(int id);

}  // namespace res
