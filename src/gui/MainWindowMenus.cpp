#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "gui/MainWindow.h"

namespace kavoro {
namespace {

QMenu* AddMenu(QMenuBar* bar, const char* name) {
  QMenu* menu = bar->addMenu(QString());
  menu->setObjectName(QLatin1String(name));
  return menu;
}

QMenu* AddSubmenu(QMenu* parent, const char* name, const QString& title = QString()) {
  QMenu* menu = parent->addMenu(title);
  menu->setObjectName(QLatin1String(name));
  return menu;
}

}  // namespace

QAction* MainWindow::NewAction(QMenu* menu, const char* name, const QString& text) {
  auto* action = new QAction(text, this);
  action->setObjectName(QLatin1String(name));
  if (menu) menu->addAction(action);
  return action;
}

QAction* MainWindow::AddAction(QMenu* menu, const char* name, void (MainWindow::*slot)()) {
  QAction* action = NewAction(menu, name);
  connect(action, &QAction::triggered, this, slot);
  return action;
}

// Entries whose commands are not part of the program yet are shown, but disabled.
QAction* MainWindow::AddUnbuilt(QMenu* menu, const char* name, const QString& text) {
  QAction* action = NewAction(menu, name, text);
  action->setEnabled(false);
  return action;
}

void MainWindow::BuildMenus() {
  QMenuBar* bar = menuBar();
  bar->setObjectName(u"MainMenu1"_qs);

  file_menu_ = AddMenu(bar, "Datei1");
  AddAction(file_menu_, "Neu1", &MainWindow::Neu1Click);
  file_menu_->addSeparator();
  AddAction(file_menu_, "ffnen1", &MainWindow::ffnen1Click);
  file_menu_->addSeparator();
  AddAction(file_menu_, "Speichern2", &MainWindow::Speichern2Click);
  AddAction(file_menu_, "Speichern1", &MainWindow::Speichern1Click);
  file_menu_->addSeparator();
  connect(NewAction(file_menu_, "Exit1"), &QAction::triggered, this, &QWidget::close);

  options_action_ = AddAction(nullptr, "Optionen1", &MainWindow::Optionen1Click);
  bar->addAction(options_action_);

  types_menu_ = AddMenu(bar, "Dateiarten1");
  AddUnbuilt(types_menu_, "NachallenDateiensuchen1");
  types_menu_->addSeparator();
  AddUnbuilt(types_menu_, "NachmehrerenDateiartensuchen1");
  AddUnbuilt(types_menu_, "MehrereOrdnerdurchsuchen1");
  types_menu_->addSeparator();
  AddUnbuilt(types_menu_, "Oberverzeichnishinzufgenlschen1");
  AddUnbuilt(types_menu_, "Dateiartenhinzufgenlschen1");
  types_menu_->addSeparator();

  search_action_ = AddAction(nullptr, "Suchen1", &MainWindow::Suchen1Click);
  bar->addAction(search_action_);

  language_menu_ = AddMenu(bar, "SpracheLanguage1");
  language_menu_->setTitle(u"Sprache / Language"_qs);
  german_ = AddAction(language_menu_, "Deutsch1", &MainWindow::Deutsch1Click);
  german_->setText(u"Deutsch"_qs);
  english_ = AddAction(language_menu_, "English1", &MainWindow::English1Click);
  english_->setText(u"English"_qs);
  for (QAction* a : {german_, english_}) a->setCheckable(true);

  help_menu_ = AddMenu(bar, "Info1");
  AddUnbuilt(help_menu_, "Hilfe1");
  help_menu_->addSeparator();
  AddUnbuilt(help_menu_, "Info2");
  AddUnbuilt(help_menu_, "InfoszudenVersionen1");
  help_menu_->addSeparator();
  AddUnbuilt(help_menu_, "LinkzurHomepage1", u"Link zur Homepage"_qs);
  AddUnbuilt(help_menu_, "Gstebuch1");
  help_menu_->addSeparator();
  AddSubmenu(help_menu_, "DasProgrammgibtesbei1")->setEnabled(false);
  help_menu_->addSeparator();
  AddSubmenu(help_menu_, "MeineInternetseiten1")->setEnabled(false);
}

// One submenu per catalog category with its extensions, in file order.
void MainWindow::BuildCatalogMenus() {
  for (const FileTypeCatalog::Category& category : state_.catalog.Categories()) {
    QMenu* menu = types_menu_->addMenu(category.name);
    for (const QString& ext : category.extensions) {
      menu->addAction(ext)->setEnabled(false);
    }
  }
}

}  // namespace kavoro
