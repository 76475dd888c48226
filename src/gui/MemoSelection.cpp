#include "gui/MemoSelection.h"

#include <QApplication>
#include <QListView>
#include <QPainter>
#include <QStyledItemDelegate>

namespace kavoro {
namespace {

// Draws the line as usual and the selected characters over it in the highlight colours.
class SelectionDelegate : public QStyledItemDelegate {
 public:
  SelectionDelegate(const MemoSelection& selection, QObject* parent)
      : QStyledItemDelegate(parent), selection_(selection) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyledItemDelegate::paint(painter, option, index);
    const TextSelection& sel = selection_.Get();
    if (sel.length <= 0 || index.row() != sel.start.line) return;
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QWidget* widget = opt.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    QRect text_rect = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget);
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    text_rect.adjust(margin, 0, -margin, 0);
    const QFontMetrics metrics(opt.font);
    const QString hit = opt.text.mid(sel.start.column, sel.length);
    const QRect area(text_rect.left() + metrics.horizontalAdvance(opt.text.left(sel.start.column)),
                     opt.rect.top(), metrics.horizontalAdvance(hit), opt.rect.height());
    painter->save();
    painter->setClipRect(opt.rect);
    painter->fillRect(area, opt.palette.brush(QPalette::Highlight));
    painter->setFont(opt.font);
    painter->setPen(opt.palette.color(QPalette::HighlightedText));
    painter->drawText(area, Qt::AlignLeft | Qt::AlignVCenter, hit);
    painter->restore();
  }

 private:
  const MemoSelection& selection_;
};

}  // namespace

MemoSelection::MemoSelection(QListView* view) : QObject(view), view_(view) {
  view->setItemDelegate(new SelectionDelegate(*this, this));
  connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this,
          &MemoSelection::OnCurrentChanged);
  // A view filled anew no longer holds the marked characters; the caret stays where it was.
  connect(view->model(), &QAbstractItemModel::modelReset, this, [this] { selection_.length = 0; });
}

MemoSelection* MemoSelection::Of(const QListView* view) {
  return view ? view->findChild<MemoSelection*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

void MemoSelection::Set(const TextSelection& selection) {
  selection_ = selection;
  const QModelIndex line = view_->model()->index(static_cast<int>(selection.start.line), 0);
  if (line.isValid()) {
    setting_ = true;
    view_->selectionModel()->setCurrentIndex(line, QItemSelectionModel::Clear);
    setting_ = false;
    view_->scrollTo(line);
  }
  view_->viewport()->update();
}

void MemoSelection::OnCurrentChanged(const QModelIndex& current) {
  if (setting_ || !current.isValid()) return;
  selection_ = TextSelection{TextPos{current.row(), 0}, 0};
  view_->viewport()->update();
}

}  // namespace kavoro
