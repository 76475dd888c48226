#include "gui/GridToolsBar.h"

#include <QApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTableView>

#include "core/app/AppState.h"
#include "core/grid/GridColumns.h"
#include "core/ports/Prompts.h"
#include "gui/NamedWidget.h"

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

GridToolsBar::GridToolsBar(AppState& state, Prompts& prompts, QTableView* grid, QWidget* grid_page)
    : QObject(grid_page), state_(state), prompts_(prompts), grid_(grid) {
  BuildWidthFields(grid_page);
  BuildSortButtons(grid_page);
  // The captions fit between their neighbours in a slightly smaller font.
  for (QGroupBox* group : {width_group_, sort_group_}) {
    QFont small = group->font();
    small.setPixelSize(10);
    group->setFont(small);
  }
  ShowHints();
}

void GridToolsBar::BuildWidthFields(QWidget* grid_page) {
  width_group_ = Named(new QGroupBox(grid_page), "GroupBox2");
  static const char* kLabels[] = {"Label5", "Label6", "Label7", "Label8", "Label9"};
  static const char* kEdits[] = {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5"};
  // A width field may make a column as narrow as zero pixels.
  grid_->horizontalHeader()->setMinimumSectionSize(0);
  for (int i = 0; i < 5; ++i) {
    Named(new QLabel(width_group_), kLabels[i])->setGeometry(24 + 70 * i, 15, 60, 18);
    QLineEdit* field = width_fields_[i] = Named(new QLineEdit(width_group_), kEdits[i]);
    field->setGeometry(46 + 70 * i, 12, 34, 22);
    field->setMaxLength(i == 0 ? 2 : 3);
    // Digits only, typed or pasted.
    field->setValidator(new QRegularExpressionValidator(QRegularExpression(u"[0-9]*"_qs), field));
    // Only the user's changes write; filling the fields at start does not.
    connect(field, &QLineEdit::textEdited, this,
            [this, i](const QString& text) { WidthChange(i, text); });
  }
}

void GridToolsBar::BuildSortButtons(QWidget* grid_page) {
  sort_group_ = Named(new QGroupBox(grid_page), "GroupBox4");
  struct Spot {
    const char* name;
    int left, top, width;
  };
  // Nr., File, Type, Size, Date; each button ends where the next one to its right begins. The
  // media columns' row below: Duration, Artist, Title, Album, Pixels, Taken.
  static constexpr Spot kSpots[ListingData::kMaxColumns] = {
      {"RadioButton1", 8, 14, 52},          {"RadioButton2", 60, 14, 60},
      {"RadioButton3", 180, 14, 60},        {"RadioButton4", 120, 14, 60},
      {"RadioButton5", 240, 14, 80},        {"RadioButtonDauer", 8, 36, 70},
      {"RadioButtonInterpret", 78, 36, 70}, {"RadioButtonTitel", 148, 36, 56},
      {"RadioButtonAlbum", 204, 36, 60},    {"RadioButtonPixel", 264, 36, 60},
      {"RadioButtonAufnahme", 324, 36, 80}};
  for (int i = 0; i < ListingData::kMaxColumns; ++i) {
    const Spot& spot = kSpots[i];
    SortButton* button = sort_buttons_[i] = Named(new SortButton(sort_group_), spot.name);
    button->setGeometry(spot.left, spot.top, spot.width, 20);
    connect(button, &SortButton::Released, this, [this, i] { SortClick(i); });
    connect(button, &QRadioButton::toggled, this, [this, i](bool on) {
      if (on) state_.grid_tools.sort_choice = i + 1;
    });
  }
  sort_buttons_[0]->setChecked(true);
  auto* renumber = Named(new QPushButton(sort_group_), "Button16");
  renumber->setGeometry(320, 10, 120, 24);
  connect(renumber, &QPushButton::clicked, this, &GridToolsBar::RenumberClick);
}

void GridToolsBar::ShowTools() {
  const GridToolState& tools = state_.grid_tools;
  for (int i = 0; i < 5; ++i) width_fields_[i]->setText(tools.width_fields[i]);
  for (int i = 2; i < 5; ++i) {
    width_fields_[i]->setEnabled(tools.detail_tools_enabled);
    sort_buttons_[i]->setEnabled(tools.detail_tools_enabled);
  }
  for (int i = ListingData::kFirstMediaColumn; i < ListingData::kMaxColumns; ++i) {
    sort_buttons_[i]->setEnabled(tools.media_tools_enabled);
  }
  sort_buttons_[tools.sort_choice - 1]->setChecked(true);
}

void GridToolsBar::PlaceGroups(const MainWindowGeometry& g) {
  Place(width_group_, g.width_group);
  Place(sort_group_, g.sort_group);
}

void GridToolsBar::SortClick(int button) {
  {
    BusyGrid busy(grid_);
    ClickSortColumn(state_.doc, state_.grid_tools, kSortButtonColumn[button], dates_);
  }
  ShowHints();
}

void GridToolsBar::RenumberClick() {
  RenumberGrid(state_.doc, state_.grid_tools);
  ShowHints();
}

void GridToolsBar::WidthChange(int column, const QString& text) {
  if (const auto error =
          StoreColumnWidth(state_.options, state_.doc, state_.grid_tools, column, text)) {
    prompts_.Error(*error);
  }
}

void GridToolsBar::ShowHints() {
  for (int i = 0; i < ListingData::kMaxColumns; ++i) {
    sort_buttons_[i]->setToolTip(SortHint(state_.grid_tools, kSortButtonColumn[i]));
  }
}

}  // namespace kavoro
