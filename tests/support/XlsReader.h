#pragma once

#include <QString>
#include <optional>
#include <vector>

namespace kavoro::test {

// What an independent reader (FreeXL) finds in an .xls file.
struct XlsCell {
  int type = 0;  // FREEXL_CELL_*
  QString text;
};

struct XlsSheet {
  QString name;
  unsigned rows = 0;
  unsigned columns = 0;
  std::vector<std::vector<XlsCell>> cells;  // [row][column]
};

struct XlsBook {
  std::vector<XlsSheet> sheets;
};

// Reads every sheet and cell; nothing (with FreeXL's error code in `error`) when it cannot.
std::optional<XlsBook> ReadXls(const QString& path, int* error = nullptr);

// True for the cell types FreeXL reports for text cells.
bool IsTextCell(const XlsCell& cell);

}  // namespace kavoro::test
