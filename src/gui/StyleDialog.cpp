#include "gui/StyleDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QValidator>

#include "core/app/AppState.h"
#include "core/output/Export.h"
#include "core/ports/Prompts.h"
#include "gui/NamedWidget.h"
#include "gui/OwnedWindow.h"

namespace kavoro {
namespace {

// The custom size field lets through what the style rules accept: up to two digits.
class SizeValidator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int&) const override {
    return StyleDialogState::IsCustomSizeText(input) ? Acceptable : Invalid;
  }
};

QComboBox* AddColorBox(QWidget* parent, const char* name, int left, int top) {
  auto* box = AddNamed<QComboBox>(parent, name, left, top, 120, 22);
  for (int i = 0; i < 16; ++i) {
    QPixmap swatch(14, 14);
    swatch.fill(QColor(ColorName(i)));
    QPainter(&swatch).drawRect(0, 0, 13, 13);
    box->addItem(QIcon(swatch), ColorName(i));
  }
  return box;
}

}  // namespace

StyleDialog::StyleDialog(AppState& state, Prompts& prompts, Shell& shell)
    : QWidget(nullptr, Qt::Dialog | Qt::FramelessWindowHint),
      state_(state),
      prompts_(prompts),
      shell_(shell) {
  setObjectName(u"TForm3"_qs);
  setFixedSize(436, 362);
  auto* frame = AddNamed<QGroupBox>(this, "GroupBox1", 4, 0, 428, 358);
  auto* fonts = AddNamed<QGroupBox>(frame, "GroupBox3", 12, 20, 404, 116);
  AddNamed<QLabel>(fonts, "Label4", 12, 26, 110, 20);
  text_color_ = AddColorBox(fonts, "ColorBox3", 140, 24);
  AddNamed<QLabel>(fonts, "Label5", 12, 54, 110, 20);
  // Narrow enough to stay inside its group where the German layout places it (left 288).
  size_ = AddNamed<QComboBox>(fonts, "ComboBox2", 140, 52, 108, 22);
  for (int i = 0; i < 4; ++i) size_->addItem(QString());  // captions from the language tables
  AddNamed<QLabel>(fonts, "Label7", 12, 82, 110, 20);
  family_ = AddNamed<QComboBox>(fonts, "ComboBox4", 140, 80, 180, 22);
  family_->addItems({u"Arial"_qs, u"Comic Sans MS"_qs, u"Lucida Sans Unicode"_qs,
                     u"Times New Roman"_qs, u"Verdana"_qs});

  no_lines_ = AddNamed<QCheckBox>(frame, "CheckBox4", 24, 146, 300, 20);
  page_on_ = AddNamed<QCheckBox>(frame, "CheckBox5", 24, 176, 230, 20);
  page_color_ = AddColorBox(frame, "ColorBox7", 264, 175);
  table_on_ = AddNamed<QCheckBox>(frame, "CheckBox3", 24, 206, 230, 20);
  table_color_ = AddColorBox(frame, "ColorBox6", 264, 205);
  browsable_ = AddNamed<QCheckBox>(frame, "CheckBoxBrowsable", 24, 236, 384, 20);
  store_ = AddNamed<QCheckBox>(frame, "CheckBox1", 24, 274, 300, 20);
  apply_ = AddNamed<QPushButton>(frame, "Button1", 24, 312, 110, 27);
  preview_ = AddNamed<QPushButton>(frame, "Button2", 158, 312, 110, 27);
  cancel_ = AddNamed<QPushButton>(frame, "Button3", 292, 312, 110, 27);

  size_panel_ = AddNamed<QFrame>(this, "Panel1", 108, 110, 220, 100);
  size_panel_->setFrameShape(QFrame::Panel);
  size_panel_->setFrameShadow(QFrame::Raised);
  size_panel_->setAutoFillBackground(true);
  AddNamed<QLabel>(size_panel_, "Label1", 16, 20, 100, 20);
  custom_size_ = AddNamed<QLineEdit>(size_panel_, "Edit1", 130, 18, 40, 22);
  custom_size_->setMaxLength(2);
  custom_size_->setValidator(new SizeValidator(custom_size_));
  custom_ok_ = AddNamed<QPushButton>(size_panel_, "Button4", 16, 60, 90, 25);
  auto* custom_cancel = AddNamed<QPushButton>(size_panel_, "Button5", 114, 60, 90, 25);
  size_panel_->hide();

  // User actions only: choices set by code run no action.
  StyleDialogState& d = state_.style;
  QStringList& page = state_.style_page;
  auto on_choice = [this](QComboBox* box, void (StyleDialogState::*action)(int, QStringList&)) {
    connect(box, &QComboBox::activated, this, [this, action](int index) {
      (state_.style.*action)(index, state_.style_page);
      ShowEnabled();
    });
  };
  auto on_tick = [this](QCheckBox* box, void (StyleDialogState::*action)(bool, QStringList&)) {
    connect(box, &QCheckBox::clicked, this, [this, action](bool on) {
      (state_.style.*action)(on, state_.style_page);
      ShowEnabled();
    });
  };
  on_choice(text_color_, &StyleDialogState::TextColorChosen);
  on_choice(size_, &StyleDialogState::SizeChosen);
  on_choice(family_, &StyleDialogState::FamilyChosen);
  on_choice(page_color_, &StyleDialogState::PageColorChosen);
  on_choice(table_color_, &StyleDialogState::TableColorChosen);
  on_tick(no_lines_, &StyleDialogState::NoLinesClicked);
  on_tick(page_on_, &StyleDialogState::PageBackgroundClicked);
  on_tick(table_on_, &StyleDialogState::TableBackgroundClicked);
  connect(store_, &QCheckBox::toggled, this, [&d](bool on) { d.store_defaults = on; });
  connect(browsable_, &QCheckBox::clicked, this, [&d](bool on) { d.BrowsableClicked(on); });
  connect(custom_size_, &QLineEdit::textChanged, this, [this, &d](const QString& text) {
    d.size_field = text;
    ShowEnabled();
  });
  connect(custom_ok_, &QPushButton::clicked, this, [this, &d, &page] {
    d.CustomSizeOk(page);
    ShowEnabled();
  });
  connect(custom_cancel, &QPushButton::clicked, this, [this, &d] {
    d.CustomSizeCancel();
    ShowChoices();
  });
  connect(apply_, &QPushButton::clicked, this, &StyleDialog::Apply);
  connect(cancel_, &QPushButton::clicked, this, &StyleDialog::Cancel);
  connect(preview_, &QPushButton::clicked, this, [this] {
    ShowPreview(state_.program_dir, state_.style_page, shell_, prompts_, state_.DialogBrowsing());
  });
  LeaveThrough(this, [this] { Cancel(); });
}

void StyleDialog::ShowChoices() {
  const StyleDialogState& d = state_.style;
  const StyleSettings& c = d.choice;
  // Set by code, so no action runs.
  const std::initializer_list<QWidget*> controls = {
      text_color_, size_,     family_, page_color_, table_color_, no_lines_,
      page_on_,    table_on_, store_,  browsable_,  custom_size_};
  for (QWidget* w : controls) w->blockSignals(true);
  text_color_->setCurrentIndex(c.font_color);
  size_->setCurrentIndex(c.size_choice);
  family_->setCurrentIndex(c.family);
  page_color_->setCurrentIndex(c.page_color);
  table_color_->setCurrentIndex(c.table_color);
  no_lines_->setChecked(c.no_lines);
  page_on_->setChecked(c.page_color_on);
  table_on_->setChecked(c.table_color_on);
  store_->setChecked(d.store_defaults);
  browsable_->setChecked(c.browsable);
  custom_size_->setText(d.size_field);
  for (QWidget* w : controls) w->blockSignals(false);
  ShowEnabled();
}

void StyleDialog::ShowEnabled() {
  const StyleDialogState& d = state_.style;
  const bool choices = d.ChoicesEnabled();
  for (QWidget* w :
       std::initializer_list<QWidget*>{text_color_, size_, family_, no_lines_, page_on_, table_on_,
                                       browsable_, apply_, preview_, cancel_}) {
    w->setEnabled(choices);
  }
  page_color_->setEnabled(d.PageColorEnabled());
  table_color_->setEnabled(d.TableColorEnabled());
  store_->setEnabled(d.StoreDefaultsEnabled());
  custom_ok_->setEnabled(d.CustomSizeOkEnabled());
  size_panel_->setVisible(d.size_panel_shown);
  if (d.size_panel_shown) {
    size_panel_->raise();
    custom_size_->setFocus();
  }
}

void StyleDialog::Apply() {
  if (const auto error = ApplyStyleDialog(state_)) {
    prompts_.Error(*error);
    return;
  }
  custom_size_->setText(state_.style.size_field);  // "0" when stored empty
  emit Finished();
}

void StyleDialog::Cancel() {
  state_.style.RestoreDefaults(state_.options);
  ShowChoices();
  emit Finished();
}

}  // namespace kavoro
