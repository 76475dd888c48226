#include "gui/CatalogEditor.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include "gui/FittingTabs.h"
#include "gui/NamedWidget.h"
#include "gui/OwnedWindow.h"
#include "gui/ShownText.h"

namespace kavoro {
namespace {

QWidget* AddPage(QTabWidget* tabs) {
  auto* page = new QWidget;
  tabs->addTab(page, QString());
  return page;
}

}  // namespace

CatalogEditor::CatalogEditor() : QDialog(nullptr, Qt::Dialog | Qt::FramelessWindowHint) {
  setObjectName(u"TForm5"_qs);
  setWindowModality(Qt::ApplicationModal);
  auto button = [this](QWidget* page, const char* name, int left, int top) {
    auto* b = AddNamed<QPushButton>(page, name, left, top, 110, 24);
    return b;
  };

  category_pages_ = AddNamed<FittingTabWidget>(this, "TabbedNotebook1", 0, 0, 300, 120);
  QWidget* add_category = AddPage(category_pages_);
  AddNamed<QLabel>(add_category, "Label1", 8, 10, 60, 20);
  category_name_ = AddNamed<QLineEdit>(add_category, "Edit1", 70, 8, 210, 22);
  connect(button(add_category, "Button1", 40, 44), &QPushButton::clicked, this,
          [this] { emit Proposed(AddCategory(lines_, category_name_->text())); });
  connect(button(add_category, "Button3", 160, 44), &QPushButton::clicked, this,
          &CatalogEditor::Cancelled);
  QWidget* delete_category = AddPage(category_pages_);
  AddNamed<QLabel>(delete_category, "Label4", 28, 10, 110, 20);
  category_to_delete_ = AddNamed<QComboBox>(delete_category, "ComboBox2", 140, 8, 140, 22);
  connect(button(delete_category, "Button5", 40, 44), &QPushButton::clicked, this,
          [this] { emit Proposed(DeleteCategory(lines_, category_to_delete_->currentIndex())); });
  connect(button(delete_category, "Button4", 160, 44), &QPushButton::clicked, this,
          &CatalogEditor::Cancelled);

  extension_pages_ = AddNamed<FittingTabWidget>(this, "TabbedNotebook2", 0, 0, 298, 150);
  QWidget* add_extension = AddPage(extension_pages_);
  AddNamed<QLabel>(add_extension, "Label3", 16, 10, 120, 20);
  category_to_extend_ = AddNamed<QComboBox>(add_extension, "ComboBox1", 140, 8, 140, 22);
  AddNamed<QLabel>(add_extension, "Label2", 32, 40, 110, 20);
  extension_name_ = AddNamed<QLineEdit>(add_extension, "Edit2", 140, 38, 140, 22);
  connect(button(add_extension, "Button2", 40, 74), &QPushButton::clicked, this, [this] {
    emit Proposed(
        AddExtension(lines_, category_to_extend_->currentIndex(), extension_name_->text()));
  });
  connect(button(add_extension, "Button6", 160, 74), &QPushButton::clicked, this,
          &CatalogEditor::Cancelled);
  QWidget* delete_extension = AddPage(extension_pages_);
  AddNamed<QLabel>(delete_extension, "Label6", 7, 10, 130, 20);
  category_of_extension_ = AddNamed<QComboBox>(delete_extension, "ComboBox4", 140, 8, 140, 22);
  AddNamed<QLabel>(delete_extension, "Label5", 32, 40, 100, 20);
  extension_to_delete_ = AddNamed<QComboBox>(delete_extension, "ComboBox3", 140, 38, 140, 22);
  delete_extension_ = button(delete_extension, "Button7", 40, 74);
  connect(delete_extension_, &QPushButton::clicked, this, [this] {
    emit Proposed(DeleteExtension(lines_, category_of_extension_->currentIndex(),
                                  extension_to_delete_->currentIndex()));
  });
  connect(button(delete_extension, "Button8", 160, 74), &QPushButton::clicked, this,
          &CatalogEditor::Cancelled);
  connect(category_of_extension_, &QComboBox::currentIndexChanged, this,
          &CatalogEditor::ListExtensions);
  LeaveThrough(this, [this] { emit Cancelled(); });
}

void CatalogEditor::OpenForCategories(const QStringList& lines) {
  lines_ = lines;
  extension_pages_->hide();
  category_pages_->show();
  category_pages_->setCurrentIndex(0);
  category_name_->clear();
  FillWithNames(category_to_delete_, CategoriesInOrder(lines));
  setFixedSize(300, 120);
}

void CatalogEditor::OpenForExtensions(const QStringList& lines) {
  lines_ = lines;
  category_pages_->hide();
  extension_pages_->show();
  extension_pages_->setCurrentIndex(0);
  extension_name_->setText(u"."_qs);
  const QStringList categories = CategoriesInOrder(lines);
  for (QComboBox* box : {category_to_extend_, category_of_extension_}) {
    box->blockSignals(true);
    FillWithNames(box, categories);
    box->blockSignals(false);
  }
  ListExtensions();
  setFixedSize(298, 150);
}

void CatalogEditor::ListExtensions() {
  FillWithNames(extension_to_delete_, ExtensionsOf(lines_, category_of_extension_->currentIndex()));
  delete_extension_->setEnabled(extension_to_delete_->count() > 0);
}

}  // namespace kavoro
