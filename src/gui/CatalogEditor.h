#pragma once

#include <QDialog>

#include "core/i18n/LanguageTables.h"
#include "core/settings/CatalogEditing.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace kavoro {

// TForm5: adds and deletes categories and extensions of the file-type catalog. It only
// proposes changes; CatalogMenus commits them.
class CatalogEditor : public QDialog {
  Q_OBJECT

 public:
  CatalogEditor();

  void OpenForCategories(const QStringList& lines);
  void OpenForExtensions(const QStringList& lines);

 signals:
  void Proposed(kavoro::CatalogResult result);
  void Cancelled();

 private:
  void ListExtensions();

  QStringList lines_;
  QTabWidget* category_pages_;
  QTabWidget* extension_pages_;
  QLineEdit* category_name_;
  QComboBox* category_to_delete_;
  QComboBox* category_to_extend_;
  QLineEdit* extension_name_;
  QComboBox* category_of_extension_;
  QComboBox* extension_to_delete_;
  QPushButton* delete_extension_;
};

}  // namespace kavoro
