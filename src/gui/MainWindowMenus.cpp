#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <tuple>

#include "core/app/HelpLinks.h"
#include "core/ports/Shell.h"
#include "gui/FolderPane.h"
#include "gui/MainWindow.h"
#include "gui/ShownText.h"

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
  connect(NewAction(types_menu_, "NachallenDateiensuchen1"), &QAction::triggered, this, [this] {
    ChooseAllFiles(state_);
    ShowCaptions();
  });
  types_menu_->addSeparator();
  AddAction(types_menu_, "NachmehrerenDateiartensuchen1", &MainWindow::OpenSeveralTypes);
  AddAction(types_menu_, "MehrereOrdnerdurchsuchen2", &MainWindow::OpenSeveralFolders);
  types_menu_->addSeparator();
  connect(NewAction(types_menu_, "Oberverzeichnishinzufgenlschen1"), &QAction::triggered, this,
          [this] { OpenCatalogEditor(false); });
  connect(NewAction(types_menu_, "Dateiartenhinzufgenlschen1"), &QAction::triggered, this,
          [this] { OpenCatalogEditor(true); });
  types_menu_->addSeparator();

  search_action_ = AddAction(nullptr, "Suchen1", &MainWindow::Suchen1Click);
  bar->addAction(search_action_);

  language_menu_ = AddMenu(bar, "SpracheLanguage1");
  language_menu_->setTitle(QString::fromUtf16(kLanguageMenuCaption));
  german_ = AddAction(language_menu_, "Deutsch1", &MainWindow::Deutsch1Click);
  german_->setText(u"Deutsch"_qs);
  english_ = AddAction(language_menu_, "English1", &MainWindow::English1Click);
  english_->setText(u"English"_qs);
  for (QAction* a : {german_, english_}) a->setCheckable(true);

  help_menu_ = AddMenu(bar, "Info1");
  AddAction(help_menu_, "Hilfe1", &MainWindow::Hilfe1Click);
  help_menu_->addSeparator();
  AddAction(help_menu_, "Info2", &MainWindow::Info2Click);
  AddAction(help_menu_, "InfoszudenVersionen1", &MainWindow::InfoszudenVersionen1Click);
  help_menu_->addSeparator();
  auto add_link = [this](QMenu* menu, const char* name, const char* url, const QString& text) {
    connect(NewAction(menu, name, text), &QAction::triggered, this,
            [this, url] { shell_->OpenUrl(QUrl(QLatin1String(url))); });
  };
  add_link(help_menu_, "LinkzurHomepage1", address::kProductHomepage, u"Link zur Homepage"_qs);
  add_link(help_menu_, "Gstebuch1", address::kGuestBook, QString());
  // Site names are not translated; a menu without sites says so in a disabled entry.
  const std::tuple<const char*, std::span<const MenuLink>, const char*> link_menus[] = {
      {"DasProgrammgibtesbei1", DownloadPortals(), "KeineEintraege1"},
      {"MeineInternetseiten1", LinkSites(), "KeineEintraege2"}};
  for (auto [menu_name, links, empty_name] : link_menus) {
    help_menu_->addSeparator();
    QMenu* menu = AddSubmenu(help_menu_, menu_name);
    for (const MenuLink& link : links) add_link(menu, "", link.url, QLatin1String(link.caption));
    if (links.empty()) NewAction(menu, empty_name)->setEnabled(false);
  }
}

// One submenu per catalog category with its extensions, in file order. Every extension entry
// carries the index of its catalog line, so all of them are made anew after each change.
void MainWindow::BuildCatalogMenus() {
  constexpr int kFixedEntries = 8;
  const QList<QAction*> old = types_menu_->actions().mid(kFixedEntries);
  for (QAction* action : old) {
    types_menu_->removeAction(action);
    if (QMenu* menu = action->menu()) menu->deleteLater();
  }
  qDeleteAll(catalog_actions_);
  catalog_actions_.clear();
  AddCatalogEntries(types_menu_);
  types_menu_->addSeparator();
  for (QMenu* search : folder_pane_->SearchMenus()) {
    for (QAction* action : search->actions()) {
      if (QMenu* menu = action->menu()) menu->deleteLater();
    }
    search->clear();
    AddCatalogEntries(search);
    search->addSeparator();
    QAction* all =
        search->addAction(CaptionText("TForm1", "NachallenDateiensuchen1", state_.language));
    connect(all, &QAction::triggered, this, [this] {
      ChooseAllFiles(state_);
      ShowCaptions();
    });
  }
}

void MainWindow::AddCatalogEntries(QMenu* menu) {
  const QStringList& lines = state_.catalog.Lines();
  menu->setToolTipsVisible(true);  // long names are shown whole there
  QMenu* category = nullptr;
  for (int i = 0; i < lines.size(); ++i) {
    if (!lines[i].startsWith(u'.')) {
      category = menu->addMenu(QString());
      SetNameOf(category->menuAction(), lines[i], menu->fontMetrics());
      category->setToolTipsVisible(true);
      continue;
    }
    if (!category) continue;
    QAction* action = category->addAction(QString());
    SetNameOf(action, lines[i], category->fontMetrics());
    catalog_actions_.append(action);
    connect(action, &QAction::triggered, this, [this, i] {
      ChooseCatalogExtension(state_, i);
      ShowCaptions();
    });
  }
}

}  // namespace kavoro
