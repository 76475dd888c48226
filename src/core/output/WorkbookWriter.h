#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace kavoro {

// A table of texts, read cell by cell: the grid of the listing, or anything shaped like it.
struct CellTable {
  qsizetype rows = 0;
  int columns = 0;
  std::function<QString(int column, qsizetype row)> cell;
};

// Limits of one .xls workbook: sheets of at most 256 columns, at most 65536 rows.
constexpr int kXlsSheetColumns = 256;
constexpr qsizetype kXlsWorkbookRows = 65536;
// The longest text a spreadsheet cell holds.
constexpr qsizetype kMaxCellText = 32767;

// The spreadsheet name of a cell (row and column from 1): column letters and row number,
// e.g. (7, 27) gives "AA7".
QString CellReference(qsizetype row, int column);

// The message for a cell text longer than a spreadsheet cell takes (row and column from 1).
QString CellTextTooLong(qsizetype row, int column, qsizetype length);

// Where the extension of the path's file name begins (at its last "."), or the path's length
// when the name has none; a leading "." of a hidden file's name is no extension.
qsizetype ExtensionStart(const QString& path);

// Workbook `number` (from 1) of an export to `path`: the first keeps the name, later ones get
// " (2)", " (3)", ... before the extension.
QString WorkbookFileName(const QString& path, int number);

// The BIFF8 compound file of one workbook: `rows` rows of the table from `first_row` on,
// split into sheets of 256 columns named `sheet_name` followed by 1, 2, ...; every cell a text
// cell. Empty when a cell text is too long for a spreadsheet (`error` names the cell).
QByteArray Biff8Workbook(const CellTable& table, qsizetype first_row, qsizetype rows,
                         const QString& sheet_name, QString* error);

// Writes the table as .xls workbooks of at most 65536 rows each, every file through a
// temporary file. `written` gets the names of the files written, in order.
bool WriteXlsWorkbooks(const CellTable& table, const QString& path, const QString& sheet_name,
                       QStringList* written, QString* error);

// Writes the table as one Office Open XML workbook (.xlsx), every cell a text cell; rows
// beyond a sheet's limit continue on further sheets.
bool WriteXlsxWorkbook(const CellTable& table, const QString& path, const QString& sheet_name,
                       QString* error);

}  // namespace kavoro
