#include "gui/GridTools.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTableView>

#include "core/app/AppState.h"
#include "core/grid/GridColumns.h"
#include "core/ports/Prompts.h"

namespace kavoro {
namespace {

// The hourglass and a grid that draws nothing until the sort is over, also when it fails.
class BusyGrid {
 public:
  explicit BusyGrid(QTableView* grid) : grid_(grid) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    grid_->setUpdatesEnabled(false);
  }
  ~BusyGrid() {
    grid_->setUpdatesEnabled(true);
    grid_->viewport()->update();
    QApplication::restoreOverrideCursor();
  }
  BusyGrid(const BusyGrid&) = delete;
  BusyGrid& operator=(const BusyGrid&) = delete;

 private:
  QTableView* grid_;
};

}  // namespace

void SortButton::mouseReleaseEvent(QMouseEvent* event) {
  QRadioButton::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && isChecked() && hitButton(event->position().toPoint())) {
    emit Released();
  }
}

GridToolsController::GridToolsController(AppState& state, Prompts& prompts, QTableView* grid,
                                         QLineEdit* const (&width_fields)[5],
                                         SortButton* const (&sort_buttons)[5],
                                         QPushButton* renumber, QObject* parent)
    : QObject(parent), state_(state), prompts_(prompts), grid_(grid) {
  // A width field may make a column as narrow as zero pixels.
  grid->horizontalHeader()->setMinimumSectionSize(0);
  for (int i = 0; i < 5; ++i) {
    sort_buttons_[i] = sort_buttons[i];
    connect(sort_buttons[i], &SortButton::Released, this, [this, i] { SortClick(i); });
    connect(sort_buttons[i], &QRadioButton::toggled, this, [this, i](bool on) {
      if (on) state_.grid_tools.sort_choice = i + 1;
    });

    QLineEdit* field = width_fields[i];
    field->setMaxLength(i == 0 ? 2 : 3);
    // Digits only, typed or pasted.
    field->setValidator(new QRegularExpressionValidator(QRegularExpression(u"[0-9]*"_qs), field));
    // Only the user's changes write; filling the fields at start does not.
    connect(field, &QLineEdit::textEdited, this,
            [this, i](const QString& text) { WidthChange(i, text); });
  }
  connect(renumber, &QPushButton::clicked, this, &GridToolsController::RenumberClick);
  ShowHints();
}

void GridToolsController::SortClick(int button) {
  {
    BusyGrid busy(grid_);
    ClickSortColumn(state_.doc, state_.grid_tools, kSortButtonColumn[button], dates_);
  }
  ShowHints();
}

void GridToolsController::RenumberClick() {
  RenumberGrid(state_.doc, state_.grid_tools);
  ShowHints();
}

void GridToolsController::WidthChange(int column, const QString& text) {
  if (const auto error =
          StoreColumnWidth(state_.options, state_.doc, state_.grid_tools, column, text)) {
    prompts_.Error(*error);
  }
}

void GridToolsController::ShowHints() {
  for (int i = 0; i < 5; ++i) {
    sort_buttons_[i]->setToolTip(SortHint(state_.grid_tools, kSortButtonColumn[i]));
  }
}

}  // namespace kavoro
