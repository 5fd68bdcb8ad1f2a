#include "res/DialogImages.h"

#include "res/Canvas.h"
#include "res/TablesResource.h"
#include "res/TransferResource.h"

namespace res {

namespace {

// A chip: the firmware or a driver that goes into the unit.
void Chip(Canvas& c) {
    c.Fill(3, 3, 12, 12, kInkSteel);
    c.Frame(3, 3, 12, 12, kInkBlack);
    for (int i = 4; i <= 11; i += 3) {
        c.Fill(1, i, 2, i, kInkBlack);
        c.Fill(13, i, 14, i, kInkBlack);
        c.Fill(i, 1, i, 2, kInkBlack);
        c.Fill(i, 13, i, 14, kInkBlack);
    }
    c.Fill(6, 6, 9, 9, kInkYellow);
}

std::shared_ptr<const ui::Bitmap> DrawTaskIcon(int id) {
    auto b = ClearBitmap(16, 16);
    Canvas c(*b, 0, 16, 16);
    switch (id) {
    case IDI_TASK_LIST:  // the tasks: a list with ticks
        c.Document(2, 1, 13, 14);
        for (int y = 4; y <= 10; y += 3) c.Fill(4, y, 5, y + 1, kInkGreen);
        break;
    case IDI_TASK_FILE:
        Chip(c);
        break;
    case IDI_TASK_PROJECT:  // the project: a page of blocks
        c.Document(2, 1, 13, 14);
        for (int y = 4; y <= 10; y += 3) c.Fill(4, y, 11, y + 1, kInkBlue);
        break;
    case IDI_TASK_UPLOAD:  // out of the unit: an arrow up
        c.Fill(2, 12, 13, 14, kInkSteel);
        c.Frame(2, 12, 13, 14, kInkBlack);
        c.Fill(6, 5, 9, 10, kInkBlue);
        c.Triangle(3, 6, 12, 6, 7, 1, kInkBlue);
        break;
    default:
        return nullptr;
    }
    return b;
}

// Recipes: a card of values the unit loads when it is switched on.
std::shared_ptr<const ui::Bitmap> DrawRecipes() {
    auto b = ClearBitmap(32, 32);
    Canvas c(*b, 0, 32, 32);
    c.Document(3, 2, 22, 28);
    for (int y = 7; y <= 22; y += 5) {
        c.Fill(6, y, 10, y + 1, kInkBlue);
        c.Fill(13, y, 19, y + 1, kInkSteel);
    }
    // The power-on sign.
    c.Disc(24, 23, 7, kInkGreen);
    c.Disc(24, 23, 4, kInkWhite);
    c.Disc(24, 23, 2, kInkGreen);
    c.Fill(23, 14, 25, 21, kInkWhite);
    c.Fill(24, 15, 24, 21, kInkGreen);
    return b;
}

// The tag table: a luggage tag on a network line.
std::shared_ptr<const ui::Bitmap> DrawTags() {
    auto b = ClearBitmap(32, 32);
    Canvas c(*b, 0, 32, 32);
    c.Fill(1, 27, 30, 28, kInkSteel);
    for (int x = 5; x <= 26; x += 7) c.Fill(x, 23, x + 1, 26, kInkSteel);
    c.Fill(9, 4, 27, 19, kInkYellow);
    c.Triangle(2, 11, 9, 4, 9, 19, kInkYellow);
    c.Line(2, 11, 9, 4, kInkBlack);
    c.Line(2, 12, 9, 19, kInkBlack);
    c.Line(9, 4, 27, 4, kInkBlack);
    c.Line(9, 19, 27, 19, kInkBlack);
    c.Line(27, 4, 27, 19, kInkBlack);
    c.Disc(8, 11, 1, kInkWhite);
    for (int y = 8; y <= 15; y += 3) c.Line(13, y, 24, y, kInkBlue);
    return b;
}

// Default communication registers: a register that asks a device whether it answers.
std::shared_ptr<const ui::Bitmap> DrawLinkTest() {
    auto b = ClearBitmap(32, 32);
    Canvas c(*b, 0, 32, 32);
    c.Fill(1, 9, 11, 22, kInkSteel);  // the unit
    c.Frame(1, 9, 11, 22, kInkBlack);
    c.Fill(3, 12, 9, 14, kInkGreen);
    c.Fill(20, 9, 30, 22, kInkPaper);  // the device
    c.Frame(20, 9, 30, 22, kInkBlack);
    for (int y = 12; y <= 19; y += 3) c.Line(22, y, 28, y, kInkGrey);
    c.Line(12, 13, 17, 13, kInkBlue, 2);  // the question and its answer
    c.Triangle(17, 10, 17, 16, 19, 13, kInkBlue);
    c.Line(14, 18, 19, 18, kInkGreen, 2);
    c.Triangle(14, 15, 14, 21, 12, 18, kInkGreen);
    return b;
}

}  // namespace

std::shared_ptr<const ui::Bitmap> TaskIcon(int id) {
    static const std::shared_ptr<const ui::Bitmap> icons[] = {
        DrawTaskIcon(IDI_TASK_LIST), DrawTaskIcon(IDI_TASK_FILE), DrawTaskIcon(IDI_TASK_PROJECT),
        DrawTaskIcon(IDI_TASK_UPLOAD)};
    return id >= IDI_TASK_LIST && id <= IDI_TASK_UPLOAD ? icons[id - IDI_TASK_LIST] : nullptr;
}

std::shared_ptr<const ui::Bitmap> TablesBitmap(int id) {
    static const std::shared_ptr<const ui::Bitmap> recipes = DrawRecipes(), tags = DrawTags(),
                                                   linkTest = DrawLinkTest();
    switch (id) {
    case IDB_RECIPES: return recipes;
    case IDB_TAG_TABLE: return tags;
    case IDI_DEF_COMM_REG: return linkTest;
    default: return nullptr;
    }
}

}  // namespace res
