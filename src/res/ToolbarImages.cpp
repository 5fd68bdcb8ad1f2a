#include "res/ToolbarImages.h"

#include <cmath>

#include "res/Canvas.h"

namespace res {

namespace {

using Cell = Canvas;

constexpr std::uint32_t kBlack = kInkBlack, kWhite = kInkWhite, kBlue = kInkBlue, kGreen = kInkGreen;
constexpr std::uint32_t kRed = kInkRed, kYellow = kInkYellow, kPaper = kInkPaper, kSteel = kInkSteel;

void Document(Cell& c) { c.Document(5, 2, 16, 18); }

void Draw(Cell& c, int image) {
    switch (image) {
    case 1:  // open a project: a folder
        c.Fill(2, 6, 19, 17, kYellow);
        c.Fill(2, 4, 8, 6, kYellow);
        c.Frame(2, 6, 19, 17, kBlack);
        c.Line(4, 10, 20, 10, kBlack);
        break;
    case 2:  // save: a disk
        c.Fill(3, 2, 18, 18, kBlue);
        c.Fill(6, 3, 15, 8, kWhite);
        c.Fill(6, 12, 15, 18, kSteel);
        c.Frame(3, 2, 18, 18, kBlack);
        break;
    case 3:  // close the project: a page with a cross
        Document(c);
        c.Line(8, 7, 17, 17, kRed, 2);
        c.Line(17, 7, 8, 17, kRed, 2);
        break;
    case 4:  // configure the project: a page with a gear
        Document(c);
        c.Disc(12, 11, 5, kSteel);
        c.Disc(12, 11, 2, kPaper);
        for (int a = 0; a < 8; ++a) {
            double t = a * 3.14159265 / 4;
            c.Fill(12 + int(std::lround(6 * std::cos(t))) - 1, 11 + int(std::lround(6 * std::sin(t))) - 1,
                   12 + int(std::lround(6 * std::cos(t))), 11 + int(std::lround(6 * std::sin(t))), kSteel);
        }
        break;
    case 5:  // add a block at the end: rows and a plus
        for (int y = 3; y <= 11; y += 4) c.Fill(3, y, 18, y + 2, kSteel);
        c.Fill(13, 13, 15, 19, kGreen);
        c.Fill(11, 15, 17, 17, kGreen);
        break;
    case 6:  // insert a block: rows with an arrow between them
        c.Fill(6, 3, 19, 5, kSteel);
        c.Fill(6, 14, 19, 16, kSteel);
        c.Triangle(1, 6, 1, 13, 6, 9, kGreen);
        c.Fill(8, 8, 19, 11, kGreen);
        break;
    case 7:  // remove a block: rows and a minus
        for (int y = 3; y <= 11; y += 4) c.Fill(3, y, 18, y + 2, kSteel);
        c.Fill(10, 15, 18, 17, kRed);
        break;
    case 8:  // download into the unit: an arrow down onto the unit
        c.Fill(8, 1, 13, 8, kGreen);
        c.Triangle(4, 8, 17, 8, 10, 14, kGreen);
        c.Fill(3, 15, 18, 19, kSteel);
        c.Frame(3, 15, 18, 19, kBlack);
        break;
    case 9:  // upload from the unit: an arrow up out of the unit
        c.Fill(3, 15, 18, 19, kSteel);
        c.Frame(3, 15, 18, 19, kBlack);
        c.Fill(8, 6, 13, 13, kBlue);
        c.Triangle(4, 7, 17, 7, 10, 1, kBlue);
        break;
    case 10:  // port settings: a serial connector
        c.Triangle(2, 5, 19, 5, 16, 15, kSteel);
        c.Triangle(2, 5, 16, 15, 5, 15, kSteel);
        for (int x = 6; x <= 15; x += 3) c.Disc(x, 8, 1, kYellow);
        for (int x = 8; x <= 14; x += 3) c.Disc(x, 12, 1, kYellow);
        break;
    case 11:  // error indication bit: a red warning sign
        c.Triangle(10, 1, 1, 18, 20, 18, kRed);
        c.Fill(10, 6, 11, 13, kWhite);
        c.Fill(10, 15, 11, 16, kWhite);
        break;
    case 12:  // control word: a word of bits
        c.Frame(1, 5, 20, 14, kBlack);
        for (int i = 0; i < 6; ++i) c.Fill(3 + i * 3, 8, 4 + i * 3, 11, i % 2 ? kGreen : kBlue);
        break;
    case 15:  // back: an arrow to the left
        c.Triangle(2, 10, 10, 3, 10, 17, kBlue);
        c.Fill(10, 7, 19, 12, kBlue);
        break;
    case 16:  // exit: an open door
        c.Fill(4, 2, 13, 18, kSteel);
        c.Triangle(6, 4, 15, 1, 15, 19, 0xFF8A5A2C);
        c.Triangle(6, 4, 6, 17, 15, 19, 0xFF8A5A2C);
        c.Disc(12, 10, 1, kYellow);
        break;
    default:  // images the toolbars do not use: left empty
        break;
    }
}

std::shared_ptr<const ui::Bitmap> Make(bool hot) {
    auto b = std::make_shared<ui::Bitmap>();
    b->width = kToolbarCell * kToolbarImages;
    b->height = kToolbarImageHeight;
    b->pixels.assign(size_t(b->width) * size_t(b->height), kToolbarMask);
    for (int i = 0; i < kToolbarImages; ++i) {
        Cell c(*b, i * kToolbarCell, kToolbarCell, kToolbarImageHeight, hot);
        Draw(c, i);
    }
    return b;
}

}  // namespace

std::shared_ptr<const ui::Bitmap> ToolbarBitmap(int id) {
    static const std::shared_ptr<const ui::Bitmap> normal = Make(false), hot = Make(true);
    return id == IDB_TOOLBAR_HOT ? hot : normal;
}

}  // namespace res
