#pragma once
// Checks on real widgets shared by the Qt tests.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <cstdlib>
#include <functional>
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

}  // namespace testsupport
