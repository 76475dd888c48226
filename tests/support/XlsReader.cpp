#include "support/XlsReader.h"

#include <freexl.h>

#include <QFile>

namespace kavoro::test {

std::optional<XlsBook> ReadXls(const QString& path, int* error) {
  const void* handle = nullptr;
  auto fail = [&](int code) -> std::optional<XlsBook> {
    if (error) *error = code;
    freexl_close(handle);
    return std::nullopt;
  };
  int rc = freexl_open(QFile::encodeName(path).constData(), &handle);
  if (rc != FREEXL_OK) return fail(rc);
  unsigned sheet_count = 0;
  rc = freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &sheet_count);
  if (rc != FREEXL_OK) return fail(rc);
  XlsBook book;
  for (unsigned short s = 0; s < sheet_count; ++s) {
    XlsSheet sheet;
    const char* name = nullptr;
    if ((rc = freexl_get_worksheet_name(handle, s, &name)) != FREEXL_OK) return fail(rc);
    sheet.name = QString::fromUtf8(name);
    if ((rc = freexl_select_active_worksheet(handle, s)) != FREEXL_OK) return fail(rc);
    unsigned short columns = 0;
    if ((rc = freexl_worksheet_dimensions(handle, &sheet.rows, &columns)) != FREEXL_OK) {
      return fail(rc);
    }
    sheet.columns = columns;
    sheet.cells.resize(sheet.rows);
    for (unsigned r = 0; r < sheet.rows; ++r) {
      for (unsigned short c = 0; c < columns; ++c) {
        FreeXL_CellValue value;
        if ((rc = freexl_get_cell_value(handle, r, c, &value)) != FREEXL_OK) return fail(rc);
        XlsCell cell{value.type, {}};
        if (value.type == FREEXL_CELL_TEXT || value.type == FREEXL_CELL_SST_TEXT) {
          cell.text = QString::fromUtf8(value.value.text_value);
        }
        sheet.cells[r].push_back(cell);
      }
    }
    book.sheets.push_back(std::move(sheet));
  }
  freexl_close(handle);
  return book;
}

bool IsTextCell(const XlsCell& cell) {
  return cell.type == FREEXL_CELL_TEXT || cell.type == FREEXL_CELL_SST_TEXT;
}

}  // namespace kavoro::test
