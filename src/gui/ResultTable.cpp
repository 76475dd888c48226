#include "gui/ResultTable.h"

#include <QHeaderView>
#include <QTableView>

#include "gui/NamedWidget.h"

namespace kavoro {

QTableView* ResultTable(QWidget* parent, QAbstractItemModel* model,
                        std::initializer_list<int> widths) {
  auto* table = Named(new QTableView(parent), "StringGrid1");
  table->setModel(model);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->verticalHeader()->hide();
  table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
  table->setWordWrap(false);
  int column = 0;
  for (const int width : widths) table->setColumnWidth(column++, width);
  table->horizontalHeader()->setStretchLastSection(true);
  return table;
}

}  // namespace kavoro
