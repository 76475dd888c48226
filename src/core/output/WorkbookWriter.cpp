#include "core/output/WorkbookWriter.h"

#include <QFileInfo>
#include <QHash>
#include <QtEndian>
#include <cstdint>
#include <vector>

#include "core/output/CompoundFile.h"
#include "core/text/LineFile.h"

namespace kavoro {
namespace {

// Record types.
constexpr std::uint16_t kBof = 0x0809;
constexpr std::uint16_t kEof = 0x000A;
constexpr std::uint16_t kCodePage = 0x0042;
constexpr std::uint16_t kWindow1 = 0x003D;
constexpr std::uint16_t kDateMode = 0x0022;
constexpr std::uint16_t kFont = 0x0031;
constexpr std::uint16_t kXf = 0x00E0;
constexpr std::uint16_t kStyle = 0x0293;
constexpr std::uint16_t kBoundSheet = 0x0085;
constexpr std::uint16_t kSst = 0x00FC;
constexpr std::uint16_t kContinue = 0x003C;
constexpr std::uint16_t kExtSst = 0x00FF;
constexpr std::uint16_t kDimensions = 0x0200;
constexpr std::uint16_t kWindow2 = 0x023E;
constexpr std::uint16_t kLabelSst = 0x00FD;
constexpr std::uint16_t kBlank = 0x0201;

constexpr qsizetype kMaxRecordData = 8224;
constexpr std::uint16_t kTextFormat = 49;  // the built-in format "@"
constexpr std::uint16_t kTextXf = 16;      // after the 15 style formats and the default cell format

class Bytes {
 public:
  Bytes& U8(std::uint8_t v) {
    data_.append(static_cast<char>(v));
    return *this;
  }
  Bytes& U16(std::uint16_t v) { return Raw(&v, 2); }
  Bytes& U32(std::uint32_t v) { return Raw(&v, 4); }
  Bytes& Append(const QByteArray& bytes) {
    data_.append(bytes);
    return *this;
  }
  const QByteArray& Data() const { return data_; }

 private:
  template <typename T>
  Bytes& Raw(T* v, int size) {
    const T le = qToLittleEndian(*v);
    data_.append(reinterpret_cast<const char*>(&le), size);
    return *this;
  }
  QByteArray data_;
};

bool IsCompressible(const QString& text) {
  for (QChar c : text) {
    if (c.unicode() > 0xFF) return false;
  }
  return true;
}

// The characters of a string: one byte each when all fit, else UTF-16LE.
QByteArray CharBytes(const QString& text, bool compressed) {
  QByteArray out;
  out.reserve(text.size() * (compressed ? 1 : 2));
  for (QChar c : text) {
    out.append(static_cast<char>(c.unicode() & 0xFF));
    if (!compressed) out.append(static_cast<char>(c.unicode() >> 8));
  }
  return out;
}

class BiffStream {
 public:
  qsizetype Pos() const { return data_.size(); }

  void Record(std::uint16_t type, const QByteArray& body) {
    Bytes head;
    head.U16(type).U16(static_cast<std::uint16_t>(body.size()));
    data_.append(head.Data()).append(body);
  }

  void Patch32(qsizetype at, std::uint32_t v) { qToLittleEndian(v, data_.data() + at); }

  // The shared string table, split into CONTINUE records where it outgrows one record, and
  // its index (one entry per bucket of strings) for readers that look strings up quickly.
  void SharedStrings(const QStringList& strings, std::uint32_t references) {
    const int per_bucket = std::max(8, int((strings.size() + 127) / 128));
    Bytes ext;
    ext.U16(static_cast<std::uint16_t>(per_bucket));

    Bytes first;
    first.U32(references).U32(static_cast<std::uint32_t>(strings.size()));
    QByteArray record = first.Data();
    std::uint16_t record_type = kSst;
    qsizetype record_start = Pos();
    auto flush = [&](std::uint16_t next_type) {
      Record(record_type, record);
      record.clear();
      record_type = next_type;
      record_start = Pos();
    };
    for (qsizetype i = 0; i < strings.size(); ++i) {
      const QString& s = strings[i];
      const bool compressed = IsCompressible(s);
      const int char_size = compressed ? 1 : 2;
      // The header and at least one character stay in the record they start in.
      if (record.size() + 3 + char_size > kMaxRecordData) flush(kContinue);
      if (i % per_bucket == 0) {
        ext.U32(static_cast<std::uint32_t>(record_start + 4 + record.size()))
            .U16(static_cast<std::uint16_t>(4 + record.size()))
            .U16(0);
      }
      Bytes header;
      header.U16(static_cast<std::uint16_t>(s.size())).U8(compressed ? 0 : 1);
      record.append(header.Data());
      const QByteArray chars = CharBytes(s, compressed);
      qsizetype done = 0;
      while (done < chars.size()) {
        qsizetype room = (kMaxRecordData - record.size()) / char_size * char_size;
        if (room == 0) {
          flush(kContinue);
          record.append(static_cast<char>(compressed ? 0 : 1));
          room = (kMaxRecordData - 1) / char_size * char_size;
        }
        const qsizetype take = std::min(room, chars.size() - done);
        record.append(chars.constData() + done, take);
        done += take;
      }
    }
    flush(kExtSst);
    Record(kExtSst, ext.Data());
  }

  QByteArray Take() { return std::move(data_); }

 private:
  QByteArray data_;
};

QByteArray BofBody(std::uint16_t substream) {
  Bytes b;
  b.U16(0x0600).U16(substream).U16(0x0DBB).U16(0x07CC).U32(0).U32(6);
  return b.Data();
}

QByteArray FontBody() {
  Bytes b;
  b.U16(200).U16(0).U16(0x7FFF).U16(400).U16(0).U8(0).U8(0).U8(0).U8(0);
  b.U8(5).U8(0).Append("Arial");
  return b.Data();
}

QByteArray XfBody(std::uint16_t format, bool style) {
  Bytes b;
  b.U16(0).U16(format).U16(style ? 0xFFF5 : 0x0001).U8(0x20).U8(0).U8(0);
  b.U8(style ? 0xF4 : (format != 0 ? 0x04 : 0x00));
  b.U32(0).U32(0).U16(0x20C0);
  return b.Data();
}

QByteArray Window1Body() {
  Bytes b;
  b.U16(0).U16(0).U16(0x4000).U16(0x2000).U16(0x0038).U16(0).U16(0).U16(1).U16(0x0258);
  return b.Data();
}

QByteArray Window2Body(bool first_sheet) {
  Bytes b;
  b.U16(first_sheet ? 0x06B6 : 0x00B6).U16(0).U16(0).U16(0x40).U16(0).U16(0).U16(0).U32(0);
  return b.Data();
}

QByteArray BoundSheetBody(const QString& name) {
  const bool compressed = IsCompressible(name);
  Bytes b;
  b.U32(0).U8(0).U8(0).U8(static_cast<std::uint8_t>(name.size())).U8(compressed ? 0 : 1);
  b.Append(CharBytes(name, compressed));
  return b.Data();
}

// One sheet's cells: a shared-string index per cell, or -1 for an empty cell.
struct SheetCells {
  int first_column = 0;
  int columns = 0;
  std::vector<std::int64_t> refs;  // row-major
};

}  // namespace

QString CellReference(qsizetype row, int column) {
  QString letters;
  for (int c = column; c > 0; c = (c - 1) / 26) {
    letters.prepend(QChar(u'A' + (c - 1) % 26));
  }
  return letters + QString::number(row);
}

QString CellTextTooLong(qsizetype row, int column, qsizetype length) {
  return QStringLiteral("Cell %1 holds %2 characters; a spreadsheet cell takes at most %3.")
      .arg(CellReference(row, column))
      .arg(length)
      .arg(kMaxCellText);
}

qsizetype ExtensionStart(const QString& path) {
  const qsizetype slash = path.lastIndexOf(u'/');
  const qsizetype dot = path.lastIndexOf(u'.');
  return dot <= slash + 1 ? path.size() : dot;
}

QString WorkbookFileName(const QString& path, int number) {
  if (number <= 1) return path;
  const qsizetype dot = ExtensionStart(path);
  return path.left(dot) + u" ("_qs + QString::number(number) + u")"_qs + path.mid(dot);
}

QByteArray Biff8Workbook(const CellTable& table, qsizetype first_row, qsizetype rows,
                         const QString& sheet_name, QString* error) {
  const int sheet_count = std::max(1, (table.columns + kXlsSheetColumns - 1) / kXlsSheetColumns);
  QStringList strings;
  QHash<QString, std::uint32_t> string_index;
  std::uint32_t references = 0;
  std::vector<SheetCells> sheets(static_cast<std::size_t>(sheet_count));
  for (int n = 0; n < sheet_count; ++n) {
    SheetCells& sheet = sheets[static_cast<std::size_t>(n)];
    sheet.first_column = n * kXlsSheetColumns;
    sheet.columns = std::min(kXlsSheetColumns, table.columns - sheet.first_column);
    sheet.refs.reserve(static_cast<std::size_t>(rows * sheet.columns));
    for (qsizetype r = 0; r < rows; ++r) {
      for (int c = 0; c < sheet.columns; ++c) {
        const QString text = table.cell(sheet.first_column + c, first_row + r);
        if (text.isEmpty()) {
          sheet.refs.push_back(-1);
          continue;
        }
        if (text.size() > kMaxCellText) {
          if (error)
            *error = CellTextTooLong(first_row + r + 1, sheet.first_column + c + 1, text.size());
          return {};
        }
        auto it = string_index.constFind(text);
        if (it == string_index.cend()) {
          it = string_index.insert(text, static_cast<std::uint32_t>(strings.size()));
          strings.append(text);
        }
        sheet.refs.push_back(*it);
        ++references;
      }
    }
  }

  BiffStream s;
  s.Record(kBof, BofBody(0x0005));
  s.Record(kCodePage, Bytes().U16(0x04B0).Data());
  s.Record(kWindow1, Window1Body());
  s.Record(kDateMode, Bytes().U16(0).Data());
  for (int i = 0; i < 5; ++i) s.Record(kFont, FontBody());
  for (int i = 0; i < 15; ++i) s.Record(kXf, XfBody(0, true));
  s.Record(kXf, XfBody(0, false));
  s.Record(kXf, XfBody(kTextFormat, false));
  s.Record(kStyle, Bytes().U16(0x8000).U8(0).U8(0xFF).Data());
  std::vector<qsizetype> sheet_offsets;
  for (int n = 0; n < sheet_count; ++n) {
    sheet_offsets.push_back(s.Pos() + 4);
    s.Record(kBoundSheet, BoundSheetBody((sheet_name + QString::number(n + 1)).left(31)));
  }
  s.SharedStrings(strings, references);
  s.Record(kEof, {});

  for (int n = 0; n < sheet_count; ++n) {
    const SheetCells& sheet = sheets[static_cast<std::size_t>(n)];
    s.Patch32(sheet_offsets[static_cast<std::size_t>(n)], static_cast<std::uint32_t>(s.Pos()));
    s.Record(kBof, BofBody(0x0010));
    s.Record(kDimensions, Bytes()
                              .U32(0)
                              .U32(static_cast<std::uint32_t>(rows))
                              .U16(0)
                              .U16(static_cast<std::uint16_t>(sheet.columns))
                              .U16(0)
                              .Data());
    std::size_t k = 0;
    for (qsizetype r = 0; r < rows; ++r) {
      for (int c = 0; c < sheet.columns; ++c, ++k) {
        Bytes cell;
        cell.U16(static_cast<std::uint16_t>(r)).U16(static_cast<std::uint16_t>(c)).U16(kTextXf);
        const std::int64_t ref = sheet.refs[k];
        if (ref < 0) {
          s.Record(kBlank, cell.Data());
        } else {
          s.Record(kLabelSst, cell.U32(static_cast<std::uint32_t>(ref)).Data());
        }
      }
    }
    s.Record(kWindow2, Window2Body(n == 0));
    s.Record(kEof, {});
  }
  return CompoundFileWithStream(u"Workbook"_qs, s.Take());
}

bool WriteXlsWorkbooks(const CellTable& table, const QString& path, const QString& sheet_name,
                       QStringList* written, QString* error) {
  const qsizetype workbooks =
      std::max<qsizetype>(1, (table.rows + kXlsWorkbookRows - 1) / kXlsWorkbookRows);
  for (qsizetype m = 0; m < workbooks; ++m) {
    const qsizetype first = m * kXlsWorkbookRows;
    const qsizetype rows = std::min(kXlsWorkbookRows, table.rows - first);
    const QByteArray bytes = Biff8Workbook(table, first, rows, sheet_name, error);
    if (bytes.isEmpty()) return false;
    const QString name = WorkbookFileName(path, int(m + 1));
    if (!LineFile::WriteBytes(name, bytes, error)) return false;
    if (written) written->append(name);
  }
  return true;
}

}  // namespace kavoro
