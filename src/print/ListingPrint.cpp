#include "print/ListingPrint.h"

#include <QDateTime>
#include <QFont>
#include <QFontMetricsF>
#include <QLocale>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextLayout>
#include <algorithm>
#include <optional>
#include <vector>

#include "core/listing/ListingDocument.h"

namespace kavoro {
namespace {

constexpr double kPointsPerInch = 72.0;
constexpr double kMillimetresPerInch = 25.4;

// Columns whose text is right-aligned: the number, the size and the duration.
bool RightAligned(ListingData::ColumnId column) {
  return column == ListingData::kNumber || column == ListingData::kSize ||
         column == ListingData::kDuration;
}

// Columns of free text, which wrap: the names and the tags of music.
bool Wraps(ListingData::ColumnId column) {
  return column == ListingData::kName || column == ListingData::kArtist ||
         column == ListingData::kTitle || column == ListingData::kAlbum;
}

// Whether a text of this advance fits into `room`; a column widened to its widest text holds
// it even when the sums of the widths round below it.
bool Fits(double advance, double room) {
  constexpr double kRounding = 1e-6;  // device pixels
  return advance <= room + kRounding;
}

// A font that holds the characters of names in any script; others fill in what it lacks.
QFont PrintFont(double points, bool bold) {
  QFont font(u"DejaVu Sans"_qs);
  font.setPointSizeF(points);
  font.setBold(bold);
  // Without ligatures, so that the text of a PDF reads back as the names are ("fi", not "ﬁ").
  font.setStyleStrategy(QFont::PreferNoShaping);
  return font;
}

// The grid's shown columns on a page: where each begins and how wide it is.
struct Columns {
  std::vector<double> left;
  std::vector<double> width;
};

class PageLayout {
 public:
  PageLayout(const ListingData& doc, const PrintTexts& texts, QPagedPaintDevice& device)
      : doc_(doc),
        texts_(texts),
        device_(&device),
        body_(PrintFont(8.5, false)),
        head_(PrintFont(8.5, true)),
        title_(PrintFont(11, true)),
        small_(PrintFont(7.5, false)) {
    const double dpi = device.logicalDpiY();
    mm_ = dpi / kMillimetresPerInch;
    width_ = device.width();
    height_ = device.height();
    body_metrics_.emplace(body_, &device);
    head_metrics_.emplace(head_, &device);
    padding_ = 0.8 * mm_;
    FitColumns();
    const QFontMetricsF title_metrics(title_, &device);
    const QFontMetricsF small_metrics(small_, &device);
    header_height_ = title_metrics.height() +
                     (texts.folders.isEmpty() ? 0 : small_metrics.height() * 1.2) + 2.5 * mm_;
    footer_height_ = small_metrics.height() + 2 * mm_;
    table_top_ = header_height_;
    table_bottom_ = height_ - footer_height_;
    header_row_height_ = RowHeight(0, *head_metrics_, head_);
  }

  int Rows() const { return int(doc_.RowCount()); }
  double TableHeight() const { return table_bottom_ - table_top_ - header_row_height_; }

  // The height of a row's tallest cell.
  double RowHeight(qsizetype row, const QFontMetricsF& metrics, const QFont& font) const {
    int lines = 1;
    for (int c = 0; c < doc_.ColumnCount(); ++c) {
      const QString text = doc_.Cell(c, row);
      const double room = columns_.width[std::size_t(c)] - 2 * padding_;
      if (Fits(metrics.horizontalAdvance(text), room)) continue;
      lines = std::max(lines, int(Wrapped(text, font, room).lineCount()));
    }
    return lines * metrics.lineSpacing() + 2 * padding_;
  }
  double BodyRowHeight(qsizetype row) const { return RowHeight(row, *body_metrics_, body_); }

  void PaintPage(QPainter& painter, int page, int pages, qsizetype first, qsizetype end) {
    PaintHeader(painter);
    double y = table_top_;
    y = PaintRow(painter, 0, y, head_, *head_metrics_, true);
    for (qsizetype row = first; row < end; ++row) {
      y = PaintRow(painter, row, y, body_, *body_metrics_, false);
    }
    painter.setFont(small_);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(0, table_bottom_, width_, footer_height_),
                     Qt::AlignHCenter | Qt::AlignBottom, texts_.page_of.arg(page).arg(pages));
  }

 private:
  // The columns share the page as the grid's columns share the grid. A column of values that
  // would wrap its widest text gets the room for it from the columns of free text, in the
  // shares they have; together they keep at least a third of the page.
  void FitColumns() {
    const int count = doc_.ColumnCount();
    double total = 0;
    for (int c = 0; c < count; ++c) total += std::max(1, doc_.ColumnWidth(c));
    columns_.width.resize(std::size_t(count));
    std::vector<double> widest(std::size_t(count), 0);
    for (int c = 0; c < count; ++c) {
      columns_.width[std::size_t(c)] = width_ * std::max(1, doc_.ColumnWidth(c)) / total;
      widest[std::size_t(c)] = head_metrics_->horizontalAdvance(doc_.Cell(c, 0));
    }
    std::vector<int> text_columns;
    for (int c = 0; c < count; ++c) {
      if (Wraps(doc_.ColumnAt(c))) text_columns.push_back(c);
    }
    for (qsizetype row = 1; row < doc_.RowCount(); ++row) {
      for (int c = 0; c < count; ++c) {
        if (Wraps(doc_.ColumnAt(c))) continue;
        widest[std::size_t(c)] =
            std::max(widest[std::size_t(c)], body_metrics_->horizontalAdvance(doc_.Cell(c, row)));
      }
    }
    for (int c = 0; c < count; ++c) {
      if (Wraps(doc_.ColumnAt(c))) continue;
      double texts = 0;
      for (const int t : text_columns) texts += columns_.width[std::size_t(t)];
      const double missing = widest[std::size_t(c)] + 2 * padding_ - columns_.width[std::size_t(c)];
      const double spare = texts - width_ / 3;
      if (missing <= 0 || spare <= 0) continue;
      const double moved = std::min(missing, spare);
      columns_.width[std::size_t(c)] += moved;
      for (const int t : text_columns) {
        double& text = columns_.width[std::size_t(t)];
        text -= moved * (text / texts);
      }
    }
    double left = 0;
    for (double w : columns_.width) {
      columns_.left.push_back(left);
      left += w;
    }
  }

  // The text broken into lines of at most `room` wide, between words where it can.
  QTextLayout& Wrapped(const QString& text, const QFont& font, double room) const {
    // Laid out for the device, whose resolution the font's size is measured in.
    layout_.emplace(text, font, device_);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout_->setTextOption(option);
    layout_->beginLayout();
    for (double y = 0;;) {
      QTextLine line = layout_->createLine();
      if (!line.isValid()) break;
      line.setLineWidth(room);
      line.setPosition(QPointF(0, y));
      y += line.height();
    }
    layout_->endLayout();
    return *layout_;
  }

  void PaintHeader(QPainter& painter) {
    painter.setPen(Qt::black);
    painter.setFont(title_);
    const QFontMetricsF title_metrics(title_, painter.device());
    const QRectF top(0, 0, width_, title_metrics.height());
    painter.drawText(top, Qt::AlignLeft | Qt::AlignVCenter, texts_.title);
    painter.setFont(small_);
    painter.drawText(top, Qt::AlignRight | Qt::AlignVCenter, texts_.printed);
    if (!texts_.folders.isEmpty()) {
      const QFontMetricsF small_metrics(small_, painter.device());
      const QString folders =
          small_metrics.elidedText(texts_.folders.join(u", "_qs), Qt::ElideMiddle, width_);
      painter.drawText(
          QRectF(0, top.bottom() + 0.2 * small_metrics.height(), width_, small_metrics.height()),
          Qt::AlignLeft | Qt::AlignVCenter, folders);
    }
  }

  double PaintRow(QPainter& painter, qsizetype row, double y, const QFont& font,
                  const QFontMetricsF& metrics, bool header) {
    const double height = header ? header_row_height_ : RowHeight(row, metrics, font);
    if (header) painter.fillRect(QRectF(0, y, width_, height), QColor(230, 230, 230));
    painter.setFont(font);
    painter.setPen(Qt::black);
    for (int c = 0; c < doc_.ColumnCount(); ++c) {
      const QString text = doc_.Cell(c, row);
      const QRectF cell(columns_.left[std::size_t(c)] + padding_, y + padding_,
                        columns_.width[std::size_t(c)] - 2 * padding_, height - 2 * padding_);
      const bool right = RightAligned(doc_.ColumnAt(c));
      if (Fits(metrics.horizontalAdvance(text), cell.width())) {
        painter.drawText(cell, (right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop, text);
      } else {
        Wrapped(text, font, cell.width()).draw(&painter, cell.topLeft());
      }
    }
    painter.setPen(QPen(header ? QColor(0, 0, 0) : QColor(200, 200, 200), 0.15 * mm_));
    painter.drawLine(QPointF(0, y + height), QPointF(width_, y + height));
    return y + height;
  }

  const ListingData& doc_;
  const PrintTexts& texts_;
  QPaintDevice* device_;
  QFont body_, head_, title_, small_;
  std::optional<QFontMetricsF> body_metrics_, head_metrics_;
  mutable std::optional<QTextLayout> layout_;
  Columns columns_;
  double mm_ = 1, width_ = 0, height_ = 0, padding_ = 0;
  double header_height_ = 0, footer_height_ = 0, table_top_ = 0, table_bottom_ = 0;
  double header_row_height_ = 0;
};

}  // namespace

PrintTexts PrintTextsNow(UiLanguage language, const QStringList& folders) {
  const bool german = language == UiLanguage::German;
  const QLocale locale(german ? QLocale::German : QLocale::English,
                       german ? QLocale::Germany : QLocale::UnitedStates);
  const QDateTime now = QDateTime::currentDateTime();
  return {u"Kavoro 2.2"_qs,
          locale.toString(now.date(), QLocale::LongFormat) + u", "_qs +
              locale.toString(now.time(), QLocale::ShortFormat),
          folders, MessageSlotsFor(language).printPageOf};
}

bool PrintListing(const ListingData& doc, const PrintTexts& texts, QPagedPaintDevice& device,
                  const PrintProgress& progress) {
  PageLayout layout(doc, texts, device);
  // The page breaks first, so that every page can say how many there are; only where each
  // page begins is kept.
  std::vector<qsizetype> starts{1};
  double used = 0;
  const double room = layout.TableHeight();
  for (qsizetype row = 1; row < layout.Rows(); ++row) {
    const double h = layout.BodyRowHeight(row);
    if (used + h > room && used > 0) {
      starts.push_back(row);
      used = 0;
    }
    used += h;
  }
  const int pages = int(starts.size());
  starts.push_back(layout.Rows());

  QPainter painter;
  if (!painter.begin(&device)) return false;
  for (int page = 0; page < pages; ++page) {
    if (progress && !progress(page, pages)) {
      painter.end();
      return false;
    }
    if (page > 0 && !device.newPage()) {
      painter.end();
      return false;
    }
    layout.PaintPage(painter, page + 1, pages, starts[std::size_t(page)],
                     starts[std::size_t(page) + 1]);
  }
  if (progress) progress(pages, pages);
  return painter.end();
}

QPageSize DefaultPageSize() {
  return QPageSize(QLocale().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                              : QPageSize::A4);
}

QPageLayout::Orientation DefaultOrientation(const ListingData& doc) {
  return doc.HasMedia() ? QPageLayout::Landscape : QPageLayout::Portrait;
}

bool WritePdf(const ListingData& doc, const PrintTexts& texts, const QString& path, QString* error,
              const PrintProgress& progress) {
  QSaveFile file(path);
  // A pipe or device named as the file is written straight away.
  file.setDirectWriteFallback(true);
  if (!file.open(QIODevice::WriteOnly)) {
    *error = u"Cannot create file %1 (%2)"_qs.arg(path, file.errorString());
    return false;
  }
  {
    QPdfWriter writer(&file);
    writer.setCreator(texts.title);
    writer.setTitle(texts.folders.join(u", "_qs));
    writer.setResolution(300);
    writer.setPageSize(DefaultPageSize());
    writer.setPageOrientation(DefaultOrientation(doc));
    writer.setPageMargins(QMarginsF(15, 12, 15, 12), QPageLayout::Millimeter);
    bool stopped = false;
    const auto watched = [&](int done, int pages) {
      stopped = progress && !progress(done, pages);
      return !stopped;
    };
    if (!PrintListing(doc, texts, writer, watched)) {
      file.cancelWriting();
      *error = stopped ? QString() : u"Cannot write file %1"_qs.arg(path);
      return false;
    }
  }
  if (!file.commit()) {
    *error = u"Cannot create file %1 (%2)"_qs.arg(path, file.errorString());
    return false;
  }
  return true;
}

}  // namespace kavoro
