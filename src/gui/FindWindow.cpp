#include "gui/FindWindow.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>

#include "core/app/AppState.h"
#include "core/ports/Prompts.h"
#include "gui/MemoSelection.h"
#include "gui/NamedWidget.h"
#include "gui/OwnedWindow.h"

namespace kavoro {
namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 156;

}  // namespace

FindWindow::FindWindow(QMainWindow* main_window, AppState& state, Prompts& prompts,
                       const Views& views)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      main_(main_window),
      state_(state),
      prompts_(prompts),
      views_(views) {
  setObjectName(u"TForm8"_qs);
  setFixedSize(kWidth, kHeight);
  BuildStartPanel();
  BuildSearchPanel();
  // Closed from outside, the panel that is shown is cancelled.
  LeaveThrough(this, [this] { start_panel_->isVisible() ? StartCancelClick() : CloseClick(); });
}

void FindWindow::BuildStartPanel() {
  start_panel_ = AddNamed<QGroupBox>(this, "GroupBox1", 0, 0, kWidth, kHeight);
  from_beginning_ = AddNamed<QRadioButton>(start_panel_, "RadioButton3", 14, 22, 270, 20);
  from_selection_ = AddNamed<QRadioButton>(start_panel_, "RadioButton4", 14, 44, 270, 20);
  from_end_ = AddNamed<QRadioButton>(start_panel_, "RadioButton5", 14, 66, 270, 20);
  dont_ask_ = AddNamed<QCheckBox>(start_panel_, "CheckBox2", 14, 94, 270, 20);
  auto* ok = AddNamed<QPushButton>(start_panel_, "Button1", 50, 122, 100, 25);
  ok->setText(u"OK"_qs);
  auto* cancel = AddNamed<QPushButton>(start_panel_, "Button2", 170, 122, 100, 25);
  connect(ok, &QPushButton::clicked, this, &FindWindow::StartOkClick);
  connect(cancel, &QPushButton::clicked, this, &FindWindow::StartCancelClick);
}

void FindWindow::BuildSearchPanel() {
  search_panel_ = AddNamed<QGroupBox>(this, "GroupBox3", 0, 0, kWidth, kHeight);
  // The edit's own label: the language tables address it through the edit.
  auto* label = AddNamed<QLabel>(search_panel_, "LabeledEdit1Label", 14, 8, 270, 18);
  label->setText(u"Name der Datei"_qs);
  search_text_ = AddNamed<QLineEdit>(search_panel_, "LabeledEdit1", 14, 26, 292, 22);
  label->setBuddy(search_text_);
  // Wide enough for "Downward" beside "Upward", with room between the two.
  auto* direction = AddNamed<QGroupBox>(search_panel_, "GroupBox4", 14, 54, 167, 56);
  upward_ = AddNamed<QRadioButton>(direction, "RadioButton1", 6, 24, 74, 22);
  downward_ = AddNamed<QRadioButton>(direction, "RadioButton2", 82, 24, 83, 22);
  downward_->setChecked(true);
  match_case_ = AddNamed<QCheckBox>(search_panel_, "CheckBox1", 182, 64, 18, 20);
  auto* case_label = AddNamed<QLabel>(search_panel_, "Label1", 202, 56, 114, 48);
  case_label->setWordWrap(true);
  case_label->installEventFilter(this);
  match_case_label_ = case_label;
  search_ = AddNamed<QPushButton>(search_panel_, "Button14", 50, 122, 100, 25);
  search_->installEventFilter(this);
  auto* cancel = AddNamed<QPushButton>(search_panel_, "Button15", 170, 122, 100, 25);

  connect(search_text_, &QLineEdit::textChanged, this,
          [this](const QString& text) { search_->setEnabled(!text.isEmpty()); });
  connect(search_, &QPushButton::clicked, this, &FindWindow::SearchClick);
  // Enter in the field searches, as in any find box.
  connect(search_text_, &QLineEdit::returnPressed, this, [this] {
    if (search_->isEnabled()) search_->click();
  });
  connect(cancel, &QPushButton::clicked, this, &FindWindow::CloseClick);
  // A change of direction passes over the hit that is selected now.
  connect(upward_, &QRadioButton::clicked, this, [this] { TurnClick(true); });
  connect(downward_, &QRadioButton::clicked, this, [this] { TurnClick(false); });
}

void FindWindow::TurnClick(bool upward) {
  const auto tab = ActiveTab();
  if (MemoSelection* memo = tab ? MemoOf(*tab) : nullptr) {
    session_.RecordTurn(*tab, memo->Get(), upward);
  }
}

bool FindWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == match_case_label_ && event->type() == QEvent::MouseButtonRelease) {
    match_case_->toggle();
    return true;
  }
  if (watched == search_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && search_->isEnabled()) {
      search_->click();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void FindWindow::Open() {
  search_text_->clear();
  search_->setEnabled(false);
  from_selection_->setChecked(true);
  const QRect frame = main_->frameGeometry();
  const QPoint at(frame.left() + views_.folder_tabs->width() / 2 - width() / 2 + 4,
                  frame.top() + 80);
  const SearchStartAsk answer = AsksSearchStart(state_);
  start_panel_->setVisible(answer.ask);
  search_panel_->setVisible(!answer.ask);
  session_.Reset();
  SetMainEnabled(false);
  ShowOwned(this, main_, at);
  if (answer.error) prompts_.Error(*answer.error);
}

void FindWindow::StartOkClick() {
  if (const auto tab = ActiveTab()) {
    const SearchStart start = from_beginning_->isChecked() ? SearchStart::Beginning
                              : from_end_->isChecked()     ? SearchStart::End
                                                           : SearchStart::Selected;
    const QModelIndex current = views_.grid->currentIndex();
    const GridCell cell =
        current.isValid() ? GridCell{current.row(), current.column()} : GridCell{};
    MemoSelection* memo = MemoOf(*tab);
    TextSelection selection = memo ? memo->Get() : TextSelection{};
    session_.ApplyStart(start, *tab, state_.doc, selection, cell);
    if (memo && selection != memo->Get()) memo->Set(selection);
  }
  StoreStartQuestion();
  search_panel_->show();
  start_panel_->hide();
}

void FindWindow::StartCancelClick() {
  StoreStartQuestion();
  CloseClick();
}

void FindWindow::StoreStartQuestion() {
  const std::optional<QString> failed = StoreSearchStartQuestion(state_, dont_ask_->isChecked());
  emit SearchStartStored();
  if (failed) prompts_.Error(*failed);
}

void FindWindow::SearchClick() {
  views_.tabs->setEnabled(true);
  Find();
}

void FindWindow::CloseClick() {
  SetMainEnabled(true);
  hide();
}

void FindWindow::Find() {
  const auto tab = ActiveTab();
  if (!tab) return;
  const FindRequest request{search_text_->text(), downward_->isChecked(), match_case_->isChecked()};
  SetMainEnabled(true);
  MemoSelection* memo = MemoOf(*tab);
  TextSelection selection = memo ? memo->Get() : TextSelection{};
  const FindOutcome outcome =
      session_.Find(*tab, request, state_.doc, selection, prompts_, state_.Slots());
  if (memo) {
    if (outcome.found) memo->View()->setFocus();
    if (selection != memo->Get()) memo->Set(selection);
  } else if (outcome.found) {
    views_.grid->setFocus();
    const QModelIndex cell =
        views_.grid->model()->index(static_cast<int>(outcome.cell.row), outcome.cell.column);
    views_.grid->setCurrentIndex(cell);
    views_.grid->scrollTo(cell);
  }
  SetMainEnabled(outcome.main_window_enabled);
}

void FindWindow::SetMainEnabled(bool enabled) { main_->setEnabled(enabled); }

std::optional<FindTab> FindWindow::ActiveTab() const {
  const int index = views_.tabs->currentIndex();
  if (index < 0 || index > 2) return std::nullopt;
  return static_cast<FindTab>(index);
}

MemoSelection* FindWindow::MemoOf(FindTab tab) const {
  switch (tab) {
    case FindTab::Text:
      return MemoSelection::Of(views_.text);
    case FindTab::Html:
      return MemoSelection::Of(views_.html);
    case FindTab::Grid:
      break;
  }
  return nullptr;
}

}  // namespace kavoro
