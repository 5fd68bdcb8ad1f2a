#pragma once
// Checks on real widgets shared by the Qt tests.
#include <gtest/gtest.h>

#include <QFontMetrics>
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

}  // namespace testsupport
