#pragma once

#include <initializer_list>

class QAbstractItemModel;
class QTableView;
class QWidget;

namespace kavoro {

// "StringGrid1" of a window that shows results: whole rows chosen, nothing edited, rows one
// line high, the columns `widths` wide and the last one filling the rest.
QTableView* ResultTable(QWidget* parent, QAbstractItemModel* model,
                        std::initializer_list<int> widths);

}  // namespace kavoro
