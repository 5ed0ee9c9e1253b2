#include "wordgridtable.h"

#include "wordgrid.h"

int WordGridTable::RowCount() const {
    return grid_.RowCount();
}

std::u16string WordGridTable::Cell(int column, int row) const {
    return grid_.Cells(column, row).toStdU16String();
}
