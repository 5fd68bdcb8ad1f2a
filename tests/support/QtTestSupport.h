#pragma once
// Checks on real widgets shared by the Qt tests.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QMessageBox>
#include <QTimer>
#include <QWindow>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>
#include <QHeaderView>
#include <QStyle>
#include <QTableWidget>

namespace testsupport {

// Every shown column heading fits its column, with the margins the header draws.
inline void ExpectHeadingsFit(QTableWidget* table) {
    QHeaderView* header = table->horizontalHeader();
    const QFontMetrics fm(header->font());
    const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    for (int c = 0; c < table->columnCount(); ++c) {
        if (table->isColumnHidden(c) || !table->horizontalHeaderItem(c)) continue;
        const QString text = table->horizontalHeaderItem(c)->text();
        EXPECT_LE(fm.horizontalAdvance(text) + 2 * margin, header->sectionSize(c)) << text.toStdString();
    }
}

// The list scrolled sideways to its end: a click on the cell (row, col) opens an edit over
// exactly that cell (as the window sees both), and scrolling back closes it. `settle`
// lets the window's events through; `shot` saves the window while the edit is open.
inline void ExpectEditOverCellAfterSidewaysScroll(QWidget* win, QTableWidget* table, int row, int col,
                                                  const std::function<void()>& settle,
                                                  const std::function<void()>& shot) {
    auto visibleEdit = [win]() -> QLineEdit* {
        for (QLineEdit* e : win->findChildren<QLineEdit*>())
            if (e->isVisible()) return e;
        return nullptr;
    };
    ASSERT_GT(table->horizontalScrollBar()->maximum(), 0);
    table->horizontalScrollBar()->setValue(table->horizontalScrollBar()->maximum());
    settle();
    const QRect cell = table->visualRect(table->model()->index(row, col));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    settle();
    QLineEdit* edit = visibleEdit();
    ASSERT_NE(edit, nullptr);
    const QPoint cellAt = table->viewport()->mapTo(win, cell.topLeft());
    const QPoint editAt = edit->mapTo(win, QPoint(0, 0));
    EXPECT_LE(std::abs(editAt.x() - cellAt.x()), 3);
    EXPECT_LE(std::abs(editAt.y() - cellAt.y()), 3);
    shot();
    table->horizontalScrollBar()->setValue(0);
    settle();
    EXPECT_EQ(visibleEdit(), nullptr);
}

// Runs what a person does (`gesture`) and answers each message box it brings up with a click
// on the box's first button where it is drawn, or with Enter (`byKey`); `firstBoxUp` runs once,
// as the first box shows. The texts of the boxes answered, in order.
inline std::vector<std::string> AnswerBoxes(const std::function<void()>& gesture,
                                            const std::function<void()>& firstBoxUp = {}, bool byKey = false) {
    std::vector<std::string> texts;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible() || box->buttons().isEmpty()) return;
        if (texts.empty() && firstBoxUp) firstBoxUp();
        texts.push_back(box->text().toStdString());
        QAbstractButton* answer = box->buttons().first();
        if (byKey) return QTest::keyClick(box->windowHandle(), Qt::Key_Return);
        QTest::mouseClick(box->windowHandle(), Qt::LeftButton, {}, answer->mapTo(box, answer->rect().center()));
    });
    poll.start();
    gesture();
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    return texts;
}

// A person presses the mouse on `target` where it is drawn on its window; a box the press brings
// up is answered, the mouse let go while the box was up (the release falls on the window the box
// blocks, as X gives it).
inline std::vector<std::string> PressThroughBoxes(QWidget* target) {
    QWindow* window = target->window()->windowHandle();
    const QPoint at = target->mapTo(target->window(), target->rect().center());
    bool released = false;
    auto release = [&] {
        if (!released) QTest::mouseRelease(window, Qt::LeftButton, {}, at);
        released = true;
    };
    std::vector<std::string> texts = AnswerBoxes([&] { QTest::mousePress(window, Qt::LeftButton, {}, at); }, release);
    release();
    return texts;
}

}  // namespace testsupport
