#include <xlsxwriter.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/output/WorkbookWriter.h"

namespace kavoro {
namespace {

QString WriteError(const QString& path, const QString& reason) {
  return QStringLiteral("Cannot create file %1 (%2)").arg(path, reason);
}

// Fills the workbook; an error text when a cell cannot be written.
QString FillWorkbook(lxw_workbook* workbook, const CellTable& table, const QString& sheet_name) {
  lxw_format* text = workbook_add_format(workbook);
  format_set_num_format_index(text, 49);  // the built-in "@": text
  const qsizetype sheets = std::max<qsizetype>(1, (table.rows + LXW_ROW_MAX - 1) / LXW_ROW_MAX);
  for (qsizetype n = 0; n < sheets; ++n) {
    const QByteArray name = (sheet_name + QString::number(n + 1)).left(31).toUtf8();
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, name.constData());
    if (!sheet) return QStringLiteral("Cannot add the sheet %1").arg(QString::fromUtf8(name));
    const qsizetype first = n * LXW_ROW_MAX;
    const qsizetype rows = std::min<qsizetype>(LXW_ROW_MAX, table.rows - first);
    for (qsizetype r = 0; r < rows; ++r) {
      for (int c = 0; c < table.columns; ++c) {
        const QString cell = table.cell(c, first + r);
        if (cell.size() > kMaxCellText) return CellTextTooLong(first + r + 1, c + 1, cell.size());
        const lxw_error e =
            worksheet_write_string(sheet, static_cast<lxw_row_t>(r), static_cast<lxw_col_t>(c),
                                   cell.toUtf8().constData(), text);
        if (e != LXW_NO_ERROR) return QString::fromUtf8(lxw_strerror(e));
      }
    }
  }
  return {};
}

}  // namespace

bool WriteXlsxWorkbook(const CellTable& table, const QString& path, const QString& sheet_name,
                       QString* error) {
  auto fail = [&](const QString& text) {
    if (error) *error = text;
    return false;
  };
  if (table.columns > LXW_COL_MAX) {
    return fail(QStringLiteral("A sheet takes at most %1 columns.").arg(LXW_COL_MAX));
  }
  // Written beside the target and renamed over it, so a failure leaves no half-written file.
  QTemporaryFile temp(QFileInfo(path).absolutePath() + u"/.kavoro-XXXXXX.xlsx"_qs);
  if (!temp.open()) return fail(WriteError(path, temp.errorString()));
  temp.close();
  // A new file gets the usual permissions, a replaced one keeps its own.
  temp.setPermissions(QFileInfo::exists(path) ? QFile::permissions(path)
                                              : QFile::ReadOwner | QFile::WriteOwner |
                                                    QFile::ReadGroup | QFile::ReadOther);
  const QByteArray temp_name = QFile::encodeName(temp.fileName());
  lxw_workbook_options options = {};
  options.constant_memory = LXW_TRUE;  // rows go to disk as they are written
  lxw_workbook* workbook = workbook_new_opt(temp_name.constData(), &options);
  if (!workbook) return fail(WriteError(path, u"out of memory"_qs));
  const QString fill_error = FillWorkbook(workbook, table, sheet_name);
  errno = 0;
  const lxw_error closed = workbook_close(workbook);
  if (!fill_error.isEmpty()) return fail(fill_error);
  if (closed != LXW_NO_ERROR) {
    // The system's reason says more than the library's ("Error in zip file operation").
    const int reason = errno;
    return fail(WriteError(path, reason != 0 ? QString::fromLocal8Bit(std::strerror(reason))
                                             : QString::fromUtf8(lxw_strerror(closed))));
  }
  if (std::rename(temp_name.constData(), QFile::encodeName(path).constData()) != 0) {
    return fail(WriteError(path, QString::fromLocal8Bit(std::strerror(errno))));
  }
  temp.setAutoRemove(false);
  return true;
}

}  // namespace kavoro
