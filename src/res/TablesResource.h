#pragma once
// Resource ids of the extended data tables: the internal-database panes and the editors
// they lay over a cell.

// The report list that fills each internal-database pane.
constexpr int IDC_IDB_LIST = 59648;
// The choice list and the edit placed over a clicked cell.
constexpr int IDC_IDB_CELL_COMBO = 1001;
constexpr int IDC_IDB_CELL_EDIT = 1;
