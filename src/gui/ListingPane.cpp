#include "gui/ListingPane.h"

#include <QFontDatabase>
#include <QHeaderView>
#include <QListView>
#include <QPushButton>
#include <QTableView>

#include "core/app/AppState.h"
#include "gui/GridToolsBar.h"
#include "gui/ListingModels.h"
#include "gui/MemoSelection.h"
#include "gui/NamedWidget.h"

namespace kavoro {
namespace {

// A view of whole lines in a fixed font, with its caret and selected characters.
QListView* MakeLineView(QWidget* parent, const char* name, QAbstractItemModel* model) {
  auto* view = Named(new QListView(parent), name);
  view->setModel(model);
  view->setUniformItemSizes(true);
  view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setSelectionMode(QAbstractItemView::ExtendedSelection);
  view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  new MemoSelection(view);
  return view;
}

}  // namespace

ListingPane::ListingPane(AppState& state, Prompts& prompts, QWidget* parent)
    : FittingTabWidget(parent), state_(state) {
  setObjectName(u"TabbedNotebook1"_qs);
  auto* text_page = new QWidget;
  auto* grid_page = new QWidget;
  auto* html_page = new QWidget;
  addTab(text_page, QString());
  addTab(grid_page, QString());
  addTab(html_page, QString());

  ListingDocument& doc = state.doc;
  text_view_ = MakeLineView(text_page, "Memo1",
                            new ListingViewModel(doc, ListingDocument::View::Text, this));
  html_view_ = MakeLineView(html_page, "Memo2",
                            new ListingViewModel(doc, ListingDocument::View::Html, this));
  grid_view_ = Named(new QTableView(grid_page), "StringGrid1");
  grid_view_->setModel(new ListingViewModel(doc, ListingDocument::View::Grid, this));
  grid_view_->horizontalHeader()->hide();
  grid_view_->verticalHeader()->hide();
  grid_view_->verticalHeader()->setDefaultSectionSize(grid_view_->fontMetrics().height() + 6);
  grid_view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_view_->setWordWrap(false);
  connect(grid_view_->model(), &QAbstractItemModel::modelReset, this, &ListingPane::ShowGridLayout);
  connect(&doc, &ListingDocument::GridLayoutChanged, this, &ListingPane::ShowGridLayout);
  grid_tools_ = new GridToolsBar(state, prompts, grid_view_, grid_page);

  edit_source_ = Named(new QPushButton(html_page), "Button3");
  refresh_preview_ = Named(new QPushButton(html_page), "Button4");
  connect(edit_source_, &QPushButton::clicked, this, &ListingPane::EditHtmlStyleClicked);
  connect(refresh_preview_, &QPushButton::clicked, this, &ListingPane::PreviewClicked);
}

void ListingPane::ShowGridLayout() {
  for (int c = 0; c < state_.doc.ColumnCount(); ++c) {
    grid_view_->setColumnWidth(c, state_.doc.ColumnWidth(c));
  }
}

void ListingPane::PlaceControls(const MainWindowGeometry& g) {
  Place(text_view_, g.text_view);
  Place(grid_view_, g.grid_view);
  Place(html_view_, g.html_view);
  grid_tools_->PlaceGroups(g);
  Place(edit_source_, g.edit_source);
  Place(refresh_preview_, g.refresh_preview);
}

void ListingPane::ShowGridRow(qint64 row) {
  setCurrentIndex(1);
  if (row < 0 || row >= grid_view_->model()->rowCount()) return;
  // The row from its first column, so that the view does not scroll sideways.
  const QModelIndex cell = grid_view_->model()->index(int(row), 0);
  grid_view_->setCurrentIndex(cell);
  grid_view_->selectRow(int(row));
  grid_view_->scrollTo(cell, QAbstractItemView::PositionAtCenter);
  grid_view_->setFocus();
}

}  // namespace kavoro
