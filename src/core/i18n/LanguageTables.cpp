#include "core/i18n/LanguageTables.h"

#include <span>

namespace kavoro {
namespace {

// The control's own text (as opposed to a tab or item index).
constexpr int kOwn = -1;

// A caption row without its form; the forms are listed once in CaptionTable().
struct CaptionRow {
  const char* object;
  int index;
  const char16_t* german;
  const char16_t* english;
};

// Menu items of the main window, including both context menus. The language menu itself
// ("Sprache / Language", "Deutsch", "English") is the same in both languages and not listed.
constexpr CaptionRow kMainMenuRows[] = {
    {"Datei1", kOwn, u"Datei", u"File"},
    {"Neu1", kOwn, u"Neu", u"New"},
    {"ffnen1", kOwn, u"Öffnen", u"Open"},
    {"Speichern2", kOwn, u"Speichern", u"Save"},
    {"Speichern1", kOwn, u"Speichern unter", u"Save as"},
    {"Drucken1", kOwn, u"Drucken ...", u"Print ..."},
    {"Druckvorschau1", kOwn, u"Druckvorschau", u"Print preview"},
    {"AlsPDFspeichern1", kOwn, u"Als PDF speichern ...", u"Save as PDF ..."},
    {"Katalogdurchsuchen1", kOwn, u"Katalog durchsuchen ...", u"Search catalogue ..."},
    {"MitOrdnervergleichen1", kOwn, u"Mit Ordner vergleichen ...", u"Compare with folder ..."},
    {"Exit1", kOwn, u"Exit", u"Exit"},
    {"Optionen1", kOwn, u"Optionen", u"Options"},
    {"Dateiarten1", kOwn, u"Dateiarten", u"File type"},
    {"Oberverzeichnishinzufgenlschen1", kOwn, u"Oberverzeichnis hinzufügen / löschen",
     u"Create / erase upper listing"},
    {"Dateiartenhinzufgenlschen1", kOwn, u"Dateiarten hinzufügen / löschen",
     u"Create / erase file type"},
    {"NachallenDateiensuchen1", kOwn, u"Nach allen Dateien suchen", u"Search for all files"},
    {"NachmehrerenDateiartensuchen1", kOwn, u"Nach mehreren Dateiarten suchen",
     u"Search for several file types"},
    {"MehrereOrdnerdurchsuchen1", kOwn, u"Mehrere Ordner durchsuchen",
     u"Search in several folders"},
    {"MehrereOrdnerdurchsuchen2", kOwn, u"Mehrere Ordner durchsuchen",
     u"Search in several folders"},
    {"Suchen1", kOwn, u"Text suchen", u"Search"},
    {"Hilfe1", kOwn, u"Hilfe", u"Help"},
    {"Info1", kOwn, u"Hilfe", u"Help"},
    {"Info2", kOwn, u"Info", u"Info"},
    {"InfoszudenVersionen1", kOwn, u"Infos zu den Versionen",
     u"Information to the versions (only German)"},
    {"MeineInternetseiten1", kOwn, u"Verschiedene Links :", u"Different links"},
    {"DasProgrammgibtesbei1", kOwn, u"Das Programm gibt es bei :",
     u"You can get the programm here :"},
    {"Gstebuch1", kOwn, u"Gästebuch", u"Guest book"},
    // The one disabled entry of a link menu that has no addresses yet.
    {"KeineEintraege1", kOwn, u"(noch keine Einträge)", u"(no entries yet)"},
    {"KeineEintraege2", kOwn, u"(noch keine Einträge)", u"(no entries yet)"},
    {"Eintragen1", kOwn, u"Eintragen", u"Enter"},
    {"Eintragen2", kOwn, u"Eintragen", u"Enter"},
    {"Alstxtxlsoderhtmspeichern1", kOwn, u"Als *.txt, *.xls oder *.htm speichern",
     u"Save as *.txt, *.xls oder *.htm"},
    {"Alstxtxlsoderhtmspeichern2", kOwn, u"Als *.txt, *.xls oder *.htm speichern",
     u"Save as *.txt, *.xls oder *.htm"},
    {"AuchUnterordnerdurchsuchen1", kOwn, u"Auch Unterordner durchsuchen",
     u"Also scan in under folder"},
    {"Suchennach1", kOwn, u"Suchen nach :", u"Search for :"},
    {"Suchennach2", kOwn, u"Suchen nach :", u"Search for :"},
    {"Externffnen1", kOwn, u"Extern öffnen", u"Open external"},
    {"ffnen2", kOwn, u"Extern öffnen", u"Open external"},
    {"Aktualisieren1", kOwn, u"Aktualisieren", u"Update"},
    {"Aktualisieren2", kOwn, u"Aktualisieren", u"Update"},
    {"Auschneiden1", kOwn, u"Ausschneiden", u"Cut"},
    {"Ausschneiden1", kOwn, u"Ausschneiden", u"Cut"},
    {"Kopieren1", kOwn, u"Kopieren", u"Copy"},
    {"Kopieren2", kOwn, u"Kopieren", u"Copy"},
    {"Einfgen1", kOwn, u"Einfügen", u"Past"},
    {"Einfgen2", kOwn, u"Einfügen", u"Past"},
    {"Lschen1", kOwn, u"Löschen", u"Delete"},
    {"Lschen2", kOwn, u"Löschen", u"Delete"},
    {"Umbenennen1", kOwn, u"Umbenennen", u"Rename"},
    {"Umbenennen2", kOwn, u"Umbenennen", u"Rename"},
    {"Eigenschaften1", kOwn, u"Eigenschaften", u"Attributes"},
    {"Ordnereigenschaften1", kOwn, u"Eigenschaften", u"Attributes"},
};

// The padding blanks of the tab captions are part of the texts: they set the tab widths.
constexpr CaptionRow kMainControlRows[] = {
    {"TabbedNotebook1", 0, u"          Text-Datei (*.txt)          ",
     u"            Text-file (*.txt)            "},
    {"TabbedNotebook1", 1, u"          Excel-Datei (*.xls)          ",
     u"            Excel-file (*.xls)            "},
    {"TabbedNotebook1", 2, u"           HTML-Datei (*.htm)          ",
     u"            HTML-file (*.htm)             "},
    {"TabbedNotebook2", 0, u"Ordner wählen", u"Select folder "},
    {"TabbedNotebook2", 1, u"Inhalt des Ordners zeigen", u"Show content of the folder "},
    {"Button1", kOwn, u"Eintragen", u"Enter"},
    {"Button5", kOwn, u"Eintragen", u"Enter"},
    {"Button17", kOwn, u"Eintragen", u"Enter"},
    {"Button2", kOwn, u"Als *.txt, *.xls oder *.htm speichern", u"Save as *.txt, *.xls oder *.htm"},
    {"Button6", kOwn, u"Als *.txt, *.xls oder *.htm speichern", u"Save as *.txt, *.xls oder *.htm"},
    {"CheckBox1", kOwn, u"Auch Unterordner durchsuchen", u"Also scan in under folder"},
    {"CheckBox3", kOwn, u"Auch Unterordner durchsuchen", u"Also scan in under folder"},
    {"Button3", kOwn, u"Quelltext bearbeiten", u"Edit source text"},
    {"Button4", kOwn, u"Aktualisieren", u"Update"},
    {"GroupBox2", kOwn, u"Breite :", u"Width :"},
    {"Label5", kOwn, u"Nr :", u"Nr :"},
    {"Label6", kOwn, u"Datei :", u"File :"},
    {"Label7", kOwn, u"Größe :", u"Size :"},
    {"Label8", kOwn, u"Typ :", u"Typ :"},
    {"Label9", kOwn, u"Geändert :", u"Date :"},
    {"GroupBox4", kOwn, u"Ordnen nach :", u"Arrange after :"},
    {"RadioButton1", kOwn, u"Nr.", u"Nr."},
    {"RadioButton2", kOwn, u"Datei", u"File"},
    {"RadioButton4", kOwn, u"Größe", u"Size"},
    {"RadioButton3", kOwn, u"Typ", u"Typ"},
    {"RadioButton5", kOwn, u"Geändert", u"Date"},
    // The media columns' sort buttons, named as their columns.
    {"RadioButtonDauer", kOwn, u"Dauer", u"Duration"},
    {"RadioButtonInterpret", kOwn, u"Interpret", u"Artist"},
    {"RadioButtonTitel", kOwn, u"Titel", u"Title"},
    {"RadioButtonAlbum", kOwn, u"Album", u"Album"},
    {"RadioButtonPixel", kOwn, u"Pixel", u"Pixels"},
    {"RadioButtonAufnahme", kOwn, u"Aufnahme", u"Taken"},
    {"Button16", kOwn, u"Neu nummerieren", u"New number"},
    {"GroupBox5", kOwn, u"Mehrere Ordner durchsuchen", u"Search in several folders"},
    {"Label12", kOwn, u"In diesen Ordnern suchen :", u"Search in this folders"},
    {"Label13", kOwn, u"Ordner wählen :", u"Select folder"},
    {"Button18", kOwn, u"Ordner hinzufügen", u"Add folder"},
    {"Button19", kOwn, u"Abbrechen", u"Cancel"},
    {"Button15", kOwn, u"Abbrechen", u"Cancel"},
    {"Button12", kOwn, u"Abbrechen", u"Cancel"},
    {"GroupBox3", kOwn, u"Nach mehreren Dateiarten suchen :", u"Search for several file types :"},
    {"Label11", kOwn, u"Alle Dateiarten :", u"All file-types :"},
    {"Label10", kOwn, u"Nach diesen Dateiarten suchen :", u"Search for this file-types :"},
    {"Button13", kOwn, u"Dateiart hinzufügen", u"Add file-type"},
    {"Button14", kOwn, u"Nach diesen Dateiarten suchen", u"Look for these file types"},
};

// Options panel of the main window. The caption of the "no files found" check box is missing
// on purpose: it names the current extension and is composed when the language is applied.
constexpr CaptionRow kMainOptionsRows[] = {
    {"GroupBox1", kOwn, u"Optionen", u"Options"},
    {"Label1", kOwn, u"Info zeigen :", u"Show info :"},
    {"InfozeigenwievieleDateiengefundenwurden1", kOwn,
     u"wie viele Dateien gefunden wurden und wie lange es dauerte",
     u"how many files were found and how long it lasted"},
    {"Label2", kOwn, u"Anzeigen :", u"Show :"},
    // The English text has a grave accent for its apostrophe and two blanks before "show".
    {"Dateiendungenmitanzeigen1", kOwn, u"Dateiendungen von gesuchten Dateien nicht anzeigen",
     u"Don`t  show file ending of found files"},
    {"GanzenDateifahrtanzeigen1", kOwn, u"Ganzen Dateipfad anzeigen",
     u"Show the whole file travel"},
    {"LinkzudenDateienbeiHTML1", kOwn, u"Link zu aufgelisteten Dateien",
     u"Create a link to listed files"},
    {"Label3", kOwn, u"(bei HTML-Datei)", u"(in HTML files)"},
    {"versuch1", kOwn, u"Auch Größe, Typ und Datum der Datei anzeigen",
     u"Also show size, type and date of file"},
    // The caption of CheckBoxMedien, a label beside it: it takes two lines.
    {"LabelMedien", kOwn,
     u"Auch Medien-Infos anzeigen (Musik: Dauer, Interpret, Titel, Album; Bilder: Pixel, "
     u"Aufnahmedatum)",
     u"Also show media details (music: duration, artist, title, album; pictures: pixels, date "
     u"taken)"},
    {"Label4", kOwn, u"Suchen :", u"Search :"},
    {"CheckBox2", kOwn, u"Fragen, von wo die Suche gestartet werden soll",
     u"Ask, of where the search has to start"},
    {"Button7", kOwn, u"Einstellungen speichern", u"Save"},
};

// Export dialog.
constexpr CaptionRow kExportRows[] = {
    {"Label1", kOwn, u"Einträge speichern als :", u"Save registers as :"},
    {"CheckBox1", kOwn, u"Text-Datei (*.txt)", u"Text-file (*.txt)"},
    {"CheckBox2", kOwn, u"Excel-Datei (*.xls)", u"Excel-file (*.xls)"},
    {"CheckBox3", kOwn, u"HTML-Datei (*.htm)", u"HTML-file (*.htm)"},
    {"CheckBoxTotals", kOwn, u"Summe anhängen", u"Append totals"},
    {"LabelLinks", kOwn, u"Verweise der Seite :", u"Links of the page :"},
    {"ComboBoxLinks", 0, u"auf die Dateien (file://)", u"to the files (file://)"},
    {"ComboBoxLinks", 1, u"relativ zur Seite", u"relative to the page"},
    {"ComboBoxLinks", 2, u"unter dieser Adresse :", u"under this address :"},
    {"Button1", kOwn, u"Speichern", u"Save"},
    {"Button2", kOwn, u"Abbrechen", u"Cancel"},
};

// HTML style dialog; ComboBox2 holds the font sizes.
constexpr CaptionRow kStyleRows[] = {
    {"Button1", kOwn, u"Übernehmen", u"OK"},
    {"Button2", kOwn, u"Vorschau", u"Preview"},
    {"Button3", kOwn, u"Abbrechen", u"Cancel"},
    {"Button5", kOwn, u"Abbrechen", u"Cancel"},
    {"Button4", kOwn, u"OK", u"OK"},
    {"CheckBox1", kOwn, u"Als Grundeinstellungen speichern", u"Save as main setting"},
    {"CheckBox3", kOwn, u"Tabelle mit Hintergrundfarbe :", u"Table with backgroundcolour :"},
    {"CheckBox4", kOwn, u"Tabelle ohne Striche anzeigen", u"Show table without lines"},
    {"CheckBox5", kOwn, u"Hintergrundfarbe :", u"Backgoundcolour :"},
    {"CheckBoxBrowsable", kOwn, u"Seite mit Suchfeld und sortierbaren Spalten",
     u"Page with search box and sortable columns"},
    {"ComboBox2", 0, u"Groß", u"Big"},
    {"ComboBox2", 1, u"Mittel", u"Middle"},
    {"ComboBox2", 2, u"Klein", u"Small"},
    {"ComboBox2", 3, u"Andere", u"Others"},
    {"GroupBox1", kOwn, u"Optionen", u"Options"},
    {"GroupBox3", kOwn, u"Schriftart der Einträge", u"Textfonts of the registers"},
    {"Label1", kOwn, u"Schriftgröße :", u"Text size :"},
    {"Label5", kOwn, u"Schriftgröße :", u"Text size :"},
    {"Label4", kOwn, u"Farbe :", u"Colour :"},
    {"Label7", kOwn, u"Schriftart :", u"Text type :"},
};

// About box. The donation note, the bank account lines and the messenger contact are not
// published.
constexpr CaptionRow kAboutRows[] = {
    {"TForm4", kOwn, u"Info", u"Info"},
    {"BitBtn1", kOwn, u"OK", u"OK"},
    {"Label1", kOwn, u"Von Tolvar", u"From Tolvar"},
    {"Label7", kOwn, u"Bei Kritik, Anregung oder Sonstigem bitte",
     u"When you have criticism or other things"},
    {"Label9", kOwn, u"an", u"write to :"},
    {"Label10", kOwn, u"schreiben", u""},  // English hides it.
    {"Label11", kOwn, u"Internetseiten von mir :", u"My homepage :"},
    {"Label4", kOwn, u"Dieses Programm ist Freeware", u"This program is freeware"},
    {"Label5", kOwn, u"und darf frei weitergegeben werden.", u"and may be passed on freely."},
};

// File-type catalog editor. Its tab captions are padded like the main window's.
constexpr CaptionRow kCatalogRows[] = {
    {"TabbedNotebook1", 0, u"   Neues Oberverzeichnis :   ", u"       New upper listing :        "},
    {"TabbedNotebook1", 1, u"  Oberverzeichnis löschen :   ",
     u"        Erase upper listing :        "},
    {"TabbedNotebook2", 0, u"         Neue Dateiart :          ",
     u"          New file type :           "},
    {"TabbedNotebook2", 1, u"         Dateiart löschen :          ",
     u"           Erase file type :           "},
    {"Label1", kOwn, u"Name :", u"Name :"},
    {"Label4", kOwn, u"Oberverzeichnis :", u"Upper listing :"},
    {"Label3", kOwn, u"In Oberverzeichnis :", u"In upper listing :"},
    {"Label2", kOwn, u"Name (z.B. .txt) :", u"Name (e.g. .txt) :"},
    {"Label6", kOwn, u"Aus Oberverzeichnis :", u"Out of upper listing :"},
    {"Label5", kOwn, u"Dateiart :", u"File type :"},
    {"Button1", kOwn, u"Hinzufügen", u"Add"},
    {"Button2", kOwn, u"Hinzufügen", u"Add"},
    {"Button5", kOwn, u"Löschen", u"Erase"},
    {"Button7", kOwn, u"Löschen", u"Erase"},
    {"Button3", kOwn, u"Abbrechen", u"Chancel"},
    {"Button4", kOwn, u"Abbrechen", u"Chancel"},
    {"Button6", kOwn, u"Abbrechen", u"Chancel"},
    {"Button8", kOwn, u"Abbrechen", u"Cancel"},
};

// Exit question; its question text is a message slot.
constexpr CaptionRow kExitRows[] = {
    {"Button1", kOwn, u"Ja", u"Yes"},
    {"Button2", kOwn, u"Nein", u"No"},
    {"Button3", kOwn, u"Abbrechen", u"Chancel"},
};

// Version history with the feedback note.
constexpr CaptionRow kHistoryRows[] = {
    {"TForm7", kOwn, u"Infos zu den Versionen", u"Information to the versions"},
    {"Button1", kOwn, u"OK", u"OK"},
    {"Label1", kOwn,
     u"Anregung, Verbesserungsvorschläge, Kritik, Lob oder gefundene Fehler bitte mir "
     u"schreiben :",
     u"Suggestion, improvement suggestions, criticism, prais or found errors write please me :"},
};

// Find window.
constexpr CaptionRow kFindRows[] = {
    {"GroupBox1", kOwn, u"Die Suche starten :", u"Start search :"},
    {"RadioButton3", kOwn, u"Am Anfang der Liste", u"At the beginning of the list"},
    {"RadioButton4", kOwn, u"An der gewählten Position", u"At the selected position"},
    {"RadioButton5", kOwn, u"Am Ende der Liste", u"At the end of the list"},
    {"CheckBox2", kOwn, u"Nicht mehr danach fragen", u"Do not ask again"},
    {"Button2", kOwn, u"Abbrechen", u"Chancel"},
    {"Button15", kOwn, u"Abbrechen", u"Chancel"},
    {"LabeledEdit1", kOwn, u"Suchen nach :", u"Search for :"},  // The edit's label.
    {"Button14", kOwn, u"Suchen", u"Search"},
    {"GroupBox4", kOwn, u"Suchrichtung :", u"Search direction :"},
    {"RadioButton1", kOwn, u"Aufwärts", u"Upward"},
    {"RadioButton2", kOwn, u"Abwärts", u"Downward"},
    {"Label1", kOwn, u"Groß- / Kleinschreibung beachten", u"Large / lower case consider"},
};

// The catalogue of saved lists.
constexpr CaptionRow kCatalogueRows[] = {
    {"TForm9", kOwn, u"Katalog durchsuchen", u"Search catalogue"},
    {"Label1", kOwn, u"Suchen nach :", u"Search for :"},
    {"Label2", kOwn, u"Endung :", u"Extension :"},
    {"Label3", kOwn, u"KB von :", u"KB from :"},
    {"Label4", kOwn, u"bis :", u"to :"},
    {"Label5", kOwn, u"Liste :", u"List :"},
    {"Label7", kOwn, u"Ordner mit Listen :", u"Folders of lists :"},
    {"Button1", kOwn, u"Ordner hinzufügen ...", u"Add folder ..."},
    {"Button2", kOwn, u"Ordner entfernen", u"Remove folder"},
    {"Button3", kOwn, u"Doppelte zeigen", u"Show duplicates"},
    {"Button4", kOwn, u"Ordner öffnen", u"Open folder"},
    {"Button5", kOwn, u"Ergebnis speichern ...", u"Save result ..."},
    {"Button6", kOwn, u"Katalog als HTML-Seite speichern ...", u"Save catalogue as HTML page ..."},
    {"Button7", kOwn, u"Schließen", u"Close"},
};

// A saved list compared with its folder, and the result.
constexpr CaptionRow kCompareRows[] = {
    {"TForm10", kOwn, u"Mit Ordner vergleichen", u"Compare with folder"},
    {"RadioButton1", kOwn, u"Gespeicherte Liste :", u"Saved list :"},
    {"Button1", kOwn, u"...", u"..."},
    {"RadioButton2", kOwn, u"Die aktuelle Auflistung", u"The current listing"},
    {"Label1", kOwn, u"Ordner :", u"Folder :"},
    {"Button2", kOwn, u"...", u"..."},
    {"CheckBox1", kOwn, u"Mit Unterordnern", u"With subfolders"},
    {"Label2", kOwn, u"Gesuchte Endungen (leer = alle) :",
     u"Extensions looked for (empty = all) :"},
    {"CheckBox2", kOwn, u"Endungen ausgeblendet", u"Extensions hidden"},
    {"Button3", kOwn, u"Vergleichen", u"Compare"},
    {"Label5", kOwn, u"Zeigen :", u"Show :"},
    {"Button4", kOwn, u"Ergebnis speichern ...", u"Save result ..."},
    {"Button5", kOwn, u"Liste auf den neuen Stand bringen", u"Bring the list up to date"},
    {"Button6", kOwn, u"Schließen", u"Close"},
};

void AppendRows(std::vector<Caption>& table, const char* form, std::span<const CaptionRow> rows) {
  for (const CaptionRow& row : rows) {
    table.push_back(Caption{form, row.object, row.index, QString::fromUtf16(row.german),
                            QString::fromUtf16(row.english)});
  }
}

std::vector<Caption> BuildCaptionTable() {
  std::vector<Caption> table;
  AppendRows(table, "TForm1", kMainMenuRows);
  AppendRows(table, "TForm1", kMainControlRows);
  AppendRows(table, "TForm1", kMainOptionsRows);
  AppendRows(table, "TForm2", kExportRows);
  AppendRows(table, "TForm3", kStyleRows);
  AppendRows(table, "TForm4", kAboutRows);
  AppendRows(table, "TForm5", kCatalogRows);
  AppendRows(table, "TForm6", kExitRows);
  AppendRows(table, "TForm7", kHistoryRows);
  AppendRows(table, "TForm8", kFindRows);
  AppendRows(table, "TForm9", kCatalogueRows);
  AppendRows(table, "TForm10", kCompareRows);
  return table;
}

MessageSlots GermanSlots() {
  return MessageSlots{
      .msgNoTypeHead = QStringLiteral("Es wurden keine *"),
      .msgNoTypeTail = QStringLiteral(" - Dateien in diesem Ordner gefunden"),
      .msgNoFiles = QStringLiteral("Es wurden keine Dateien in diesem Ordner gefunden"),
      .msgNoTypeHead2 = QStringLiteral("Es wurden keine *"),
      .msgNoTypeTail2 = QStringLiteral(" - Dateien in diesem Ordner gefunden"),
      .msgNoFiles2 = QStringLiteral("Es wurden keine Dateien in diesem Ordner gefunden"),
      .msgNoSelTypeHead = QStringLiteral("Unter den gewählten Dateien befinden sich keine *"),
      .msgNoSelTypeTail = QStringLiteral(" - Dateien"),
      .msgNoneSelected = QStringLiteral("Es wurden keine Dateien in diesem Ordner ausgewählt"),
      .msgDiscard =
          QStringLiteral("Alle nicht gespeicherten Einträge werden hierdurch verloren gehen !"),
      .msgContinue = QStringLiteral("Weiter ?"),
      .msgOverwrite = QStringLiteral("Soll die Datei wirklich überschrieben werden ?"),
      .optNoTypeHead = QStringLiteral("wenn keine *"),
      .optNoTypeTail = QStringLiteral(" - Dateien im Ordner sind"),
      .capTypeHead = QStringLiteral("Suchen nach : *"),
      .capTypeTail = QStringLiteral(" - Dateien"),
      .optNoFiles2 = QStringLiteral("wenn keine Dateien im Ordner sind"),
      .capAll2 = QStringLiteral("Suchen nach : allen Dateien"),
      .msgNotFound = QStringLiteral(" wurde leider nicht gefunden"),
      .msgAgainFromStart = QStringLiteral("Soll noch einmal vom Anfang gesucht werden ?"),
      .msgAgainFromEnd = QStringLiteral("Soll noch einmal vom Ende gesucht werden ?"),
      .msgTimeHead = QStringLiteral("Benötigte Zeit : "),
      .msgTimeUnit = QStringLiteral(" Minuten"),
      .msgFoundCount = QStringLiteral("Gefundene Dateien : "),
      .menuSubfoldersHead = QStringLiteral("Alle Unterordner von :"),
      .menuSubfoldersTail = QStringLiteral(" öffnen"),
      .msgSaveOnExit = QStringLiteral("Sollen die Einträge vor dem Beenden gespeichert werden ?"),
      .msgCategoryIsExtension =
          QStringLiteral("Ein Oberverzeichnis darf nicht mit einem Punkt beginnen."),
      .msgCatalogUnusable =
          QStringLiteral("Diese Änderung würde die Datei endungen.ini unbrauchbar machen."),
      .msgNoFolder = QStringLiteral("Bitte zuerst einen Ordner wählen."),
      .msgStartFolderMissing = QStringLiteral("Dieser Ordner wurde nicht gefunden :\n"),
      .progressEscape = QStringLiteral("Suche läuft ... Esc bricht sie ab"),
      .progressStopped = QStringLiteral("Suche abgebrochen"),
      .progressMedia = QStringLiteral("Medien-Infos: %1 von %2 Dateien ... Esc bricht ab"),
      .capRemoveType = QStringLiteral("Dateiart löschen"),
      .capRemoveFolder = QStringLiteral("Ordner löschen"),
      .msgWorkbooks = QStringLiteral("Die Einträge wurden auf mehrere Arbeitsmappen verteilt :"),
      .msgListRefused = QStringLiteral("Diese Liste kann nicht geöffnet werden :"),
      .msgListEmptyLine = QStringLiteral("Zeile %1 ist leer."),
      .msgListNoTemplate =
          QStringLiteral("Die Seitenvorlage (Zeilen 1 bis 21) fehlt oder ist unvollständig."),
      .msgListNoHeaderRow = QStringLiteral(
          "Zeile 22 ist weder die Kopfzeile der Tabelle noch der Anfang eines Eintrags."),
      .msgListBrokenEntry =
          QStringLiteral("Der Eintrag ab Zeile %1 ist unvollständig oder beschädigt."),
      .msgListCounts = QStringLiteral("%1 enthält %2 Einträge, %3 enthält %4 Einträge."),
      .msgBadName =
          QStringLiteral("Ein Name darf kein \"/\" enthalten und nicht \".\" oder \"..\" sein."),
      .msgNameExists = QStringLiteral("Dieser Name ist schon vergeben :"),
      .msgIntoItself = QStringLiteral(
          "Ein Ordner kann nicht in sich selbst oder einen seiner Unterordner eingefügt werden."),
      .msgNoCopyName = QStringLiteral(
          "Für die Kopie gibt es hier keinen freien Namen (der Name wäre zu lang, oder es gibt "
          "schon zu viele Kopien) :"),
      .msgOperationFailed = QStringLiteral("Die Aktion ist fehlgeschlagen :"),
      .msgSpecialSkipped = QStringLiteral(
          "Pipes, Sockets und Gerätedateien werden nicht kopiert; diese sind geblieben, wo sie "
          "waren :"),
      .capStopOperation = QStringLiteral("Abbrechen"),
      .msgExpandLimitHead = QStringLiteral("Der Ordner hat mehr als "),
      .msgExpandLimitTail = QStringLiteral(" Unterordner; nur so viele wurden geöffnet."),
      .msgBadLinkBase = QStringLiteral(
          "Die Adresse für die Verweise muss mit ihrem Schema beginnen, z. B. https://"),
      .msgCompareNoFolder = QStringLiteral("Den Ordner %1 gibt es nicht."),
      .msgCompareMixedPaths = QStringLiteral(
          "Die Namen der Liste passen zu keiner Form: %1 von %2 Namen sind ganze Pfade, die "
          "anderen nicht."),
      .msgCompareOutside =
          QStringLiteral("Keiner der ganzen Pfade der Liste liegt im Ordner %1 (die Liste nennt "
                         "den Ordner %2)."),
      .msgCompareDates = QStringLiteral(
          "Die Datumsangaben der Liste passen zu keiner bekannten Form, zum Beispiel \"%1\"."),
      .msgCompareSizes = QStringLiteral(
          "Die Größen der Liste haben nicht die Form \"1.234 KB\", zum Beispiel \"%1\"."),
      .msgBackupExists =
          QStringLiteral("Die Sicherungskopie %1 gibt es schon; sie wird nicht überschrieben."),
      .totalsLabel = QStringLiteral("Summe"),
      .totalsOneEntry = QStringLiteral("%1 Eintrag"),
      .totalsEntries = QStringLiteral("%1 Einträge"),
      .totalsWithSize = QStringLiteral("%1, zusammen %2"),
      .printPageOf = QStringLiteral("Seite %1 von %2"),
      .printProgress = QStringLiteral("Seite %1 von %2 ... Esc bricht ab"),
      .catalogUnusable = QStringLiteral(
          "Der Katalog %1 kann nicht benutzt werden (%2); die Listen werden nur für diesen "
          "Lauf erfasst."),
      .catalogColumns = {QStringLiteral("Liste"), QStringLiteral("Nr."), QStringLiteral("Datei"),
                         QStringLiteral("Größe"), QStringLiteral("Typ"), QStringLiteral("Geändert"),
                         QStringLiteral("Vorhanden")},
      .catalogHits = QStringLiteral("%1 Treffer in %2 Listen"),
      .catalogShownPart = QStringLiteral(" (die ersten %1 werden gezeigt)"),
      .catalogIndexing =
          QStringLiteral("Katalog wird aufgebaut: Liste %1 von %2 ... Esc bricht ab"),
      .catalogIndexStopped =
          QStringLiteral("Aufbau abgebrochen; gesucht wird in dem, was der Katalog schon hat."),
      .catalogSkippedOne = QStringLiteral("1 Liste übersprungen: %1"),
      .catalogSkipped = QStringLiteral("%1 Listen übersprungen: %2"),
      .catalogSearching = QStringLiteral("Suche läuft ..."),
      .catalogDuplicates = QStringLiteral("%1 Gruppen doppelter Einträge, %2 mehr als nötig"),
      .catalogCopies = QStringLiteral("%1 Kopien, %2 mehr"),
      .catalogShowHits = QStringLiteral("Suchergebnis zeigen"),
      .catalogNoFolder =
          QStringLiteral("Noch kein Ordner mit Listen: bitte „Ordner hinzufügen ...“ wählen."),
      .catalogFileThere = QStringLiteral("ja"),
      .catalogFileGone = QStringLiteral("nein"),
      .compareFormFound = QStringLiteral("Die Liste hat %1."),
      .compareFormParts = {QStringLiteral("nur Namen"), QStringLiteral("Details"),
                           QStringLiteral("ganze Pfade"), QStringLiteral("Namen ohne Pfad"),
                           QStringLiteral("mit Unterordnern"), QStringLiteral("ohne Unterordner"),
                           QStringLiteral("alle Dateien"), QStringLiteral("Endungen ausgeblendet")},
      .compareGroups = {QStringLiteral("Neu"), QStringLiteral("Fehlt"), QStringLiteral("Geändert"),
                        QStringLiteral("Verschoben"), QStringLiteral("Nicht lesbar")},
      .compareAllGroups = QStringLiteral("Alle Änderungen"),
      .compareUnchanged = QStringLiteral("Unverändert"),
      .compareColumns = {QStringLiteral("Gruppe"), QStringLiteral("Name"), QStringLiteral("Größe"),
                         QStringLiteral("Datum"), QStringLiteral("Größe jetzt"),
                         QStringLiteral("Datum jetzt"), QStringLiteral("Verschoben nach")},
      .compareUsedForm = QStringLiteral("Verglichen mit %1 als: %2; Datumsform %3."),
      .compareWithoutExtensions = QStringLiteral("Die Namen wurden ohne Endung verglichen."),
      .compareUnreadableFolders = QStringLiteral("Nicht lesbare Ordner: %1"),
      .compareWalking = QStringLiteral("Der Ordner wird durchsucht: %1 Ordner ... Esc bricht ab"),
      .compareStopped = QStringLiteral("Abgebrochen."),
      .compareNoList = QStringLiteral("Bitte zuerst eine Liste wählen."),
      .compareUpdateQuestion = QStringLiteral(
          "Die Liste %1 wird durch eine neue Auflistung des Ordners %2 ersetzt. Die alte Liste "
          "bleibt als Sicherungskopie %3 (mit .mpl2 und .mpl3) erhalten.\nWeiter ?"),
      .compareUpdated =
          QStringLiteral("Die Liste ist auf dem neuen Stand; die alte ist als %1 gesichert."),
      .contentsColumns = {QStringLiteral("Name"), QStringLiteral("Größe"), QStringLiteral("Typ"),
                          QStringLiteral("Geändert")},
      .propertyLabels = {QStringLiteral("Name :"), QStringLiteral("Ordner :"),
                         QStringLiteral("Typ :"), QStringLiteral("Größe :"),
                         QStringLiteral("Geändert :"), QStringLiteral("Erstellt :"),
                         QStringLiteral("Letzter Zugriff :"), QStringLiteral("Rechte :"),
                         QStringLiteral("Besitzer / Gruppe :")},
  };
}

// The English texts keep their original wording and spelling ("Ther", "rally"); they are
// what users of the program know.
MessageSlots EnglishSlots() {
  return MessageSlots{
      .msgNoTypeHead = QStringLiteral("There are no *"),
      .msgNoTypeTail = QStringLiteral("-files in this folder"),
      .msgNoFiles = QStringLiteral("There are no files in this folder"),
      .msgNoTypeHead2 = QStringLiteral("There are no *"),
      .msgNoTypeTail2 = QStringLiteral("-files in this folder"),
      .msgNoFiles2 = QStringLiteral("There are no files in this folder"),
      .msgNoSelTypeHead = QStringLiteral("There are no *"),
      .msgNoSelTypeTail = QStringLiteral("-files by the selected ones"),
      .msgNoneSelected = QStringLiteral("Ther are no files selected in this folder"),
      .msgDiscard = QStringLiteral("All not saved entries will be lost !"),
      .msgContinue = QStringLiteral("Continue ?"),
      .msgOverwrite = QStringLiteral("Should this file rally be replaced ?"),
      .optNoTypeHead = QStringLiteral("if no *"),
      .optNoTypeTail = QStringLiteral("-files are in the folder"),
      .capTypeHead = QStringLiteral("Search for : *"),
      .capTypeTail = QStringLiteral(" - files"),
      .optNoFiles2 = QStringLiteral("if no file is in the folder"),
      .capAll2 = QStringLiteral("Search for : all files"),
      .msgNotFound = QStringLiteral(" was not found"),
      .msgAgainFromStart = QStringLiteral("Do you want to search again at the beginning ?"),
      .msgAgainFromEnd = QStringLiteral("Do you want to search again at the end?"),
      .msgTimeHead = QStringLiteral("Used time : "),
      .msgTimeUnit = QStringLiteral(" minutes"),
      .msgFoundCount = QStringLiteral("Found files : "),
      .menuSubfoldersHead = QStringLiteral("Open all under folder from :"),
      .menuSubfoldersTail = QString(),
      .msgSaveOnExit = QStringLiteral("Should the entries be saved before closing ?"),
      .msgCategoryIsExtension = QStringLiteral("An upper listing must not begin with a dot."),
      .msgCatalogUnusable =
          QStringLiteral("This change would make the file endungen.ini unusable."),
      .msgNoFolder = QStringLiteral("Please select a folder first."),
      .msgStartFolderMissing = QStringLiteral("This folder was not found :\n"),
      .progressEscape = QStringLiteral("Searching ... Esc stops it"),
      .progressStopped = QStringLiteral("Search stopped"),
      .progressMedia = QStringLiteral("Media details: %1 of %2 files ... Esc stops"),
      .capRemoveType = QStringLiteral("File-type delete"),
      .capRemoveFolder = QStringLiteral("Delete folder"),
      .msgWorkbooks = QStringLiteral("The entries were divided among several workbooks :"),
      .msgListRefused = QStringLiteral("This list cannot be opened :"),
      .msgListEmptyLine = QStringLiteral("Line %1 is empty."),
      .msgListNoTemplate =
          QStringLiteral("The page template (lines 1 to 21) is missing or incomplete."),
      .msgListNoHeaderRow = QStringLiteral(
          "Line 22 is neither the header row of the table nor the start of an entry."),
      .msgListBrokenEntry = QStringLiteral("The entry from line %1 on is incomplete or damaged."),
      .msgListCounts = QStringLiteral("%1 holds %2 entries, %3 holds %4 entries."),
      .msgBadName =
          QStringLiteral("A name must not contain \"/\" and must not be \".\" or \"..\"."),
      .msgNameExists = QStringLiteral("This name is already taken :"),
      .msgIntoItself =
          QStringLiteral("A folder cannot be pasted into itself or one of its subfolders."),
      .msgNoCopyName = QStringLiteral(
          "There is no free name for the copy here (the name would be too long, or there are "
          "too many copies already) :"),
      .msgOperationFailed = QStringLiteral("The operation failed :"),
      .msgSpecialSkipped = QStringLiteral(
          "Pipes, sockets and device files are not copied; these stayed where they were :"),
      .capStopOperation = QStringLiteral("Cancel"),
      .msgExpandLimitHead = QStringLiteral("The folder has more than "),
      .msgExpandLimitTail = QStringLiteral(" subfolders; only that many were opened."),
      .msgBadLinkBase =
          QStringLiteral("The address for the links must begin with its scheme, e.g. https://"),
      .msgCompareNoFolder = QStringLiteral("There is no folder %1."),
      .msgCompareMixedPaths =
          QStringLiteral("The names of the list fit no form: %1 of %2 names are whole paths, "
                         "the others are not."),
      .msgCompareOutside = QStringLiteral("None of the whole paths of the list lies in the folder "
                                          "%1 (the list names the folder %2)."),
      .msgCompareDates =
          QStringLiteral("The dates of the list fit no known form, for example \"%1\"."),
      .msgCompareSizes = QStringLiteral(
          "The sizes of the list are not in the form \"1.234 KB\", for example \"%1\"."),
      .msgBackupExists =
          QStringLiteral("The backup copy %1 exists already; it is not overwritten."),
      .totalsLabel = QStringLiteral("Total"),
      .totalsOneEntry = QStringLiteral("%1 entry"),
      .totalsEntries = QStringLiteral("%1 entries"),
      .totalsWithSize = QStringLiteral("%1, %2 in all"),
      .printPageOf = QStringLiteral("Page %1 of %2"),
      .printProgress = QStringLiteral("Page %1 of %2 ... Esc stops it"),
      .catalogUnusable = QStringLiteral(
          "The catalogue %1 cannot be used (%2); the lists are indexed for this run only."),
      .catalogColumns = {QStringLiteral("List"), QStringLiteral("No."), QStringLiteral("File"),
                         QStringLiteral("Size"), QStringLiteral("Type"), QStringLiteral("Date"),
                         QStringLiteral("There now")},
      .catalogHits = QStringLiteral("%1 hits in %2 lists"),
      .catalogShownPart = QStringLiteral(" (the first %1 are shown)"),
      .catalogIndexing = QStringLiteral("Building the catalogue: list %1 of %2 ... Esc stops it"),
      .catalogIndexStopped = QStringLiteral("Stopped; searching what the catalogue holds so far."),
      .catalogSkippedOne = QStringLiteral("1 list skipped: %1"),
      .catalogSkipped = QStringLiteral("%1 lists skipped: %2"),
      .catalogSearching = QStringLiteral("Searching ..."),
      .catalogDuplicates = QStringLiteral("%1 groups of duplicates, %2 more than needed"),
      .catalogCopies = QStringLiteral("%1 copies, %2 more"),
      .catalogShowHits = QStringLiteral("Show search results"),
      .catalogNoFolder =
          QStringLiteral("No folder of lists yet: please choose \"Add folder ...\"."),
      .catalogFileThere = QStringLiteral("yes"),
      .catalogFileGone = QStringLiteral("no"),
      .compareFormFound = QStringLiteral("The list has %1."),
      .compareFormParts = {QStringLiteral("names only"), QStringLiteral("details"),
                           QStringLiteral("whole paths"), QStringLiteral("names without path"),
                           QStringLiteral("with subfolders"), QStringLiteral("without subfolders"),
                           QStringLiteral("all files"), QStringLiteral("extensions hidden")},
      .compareGroups = {QStringLiteral("New"), QStringLiteral("Missing"), QStringLiteral("Changed"),
                        QStringLiteral("Moved"), QStringLiteral("Unreadable")},
      .compareAllGroups = QStringLiteral("All changes"),
      .compareUnchanged = QStringLiteral("Unchanged"),
      .compareColumns = {QStringLiteral("Group"), QStringLiteral("Name"), QStringLiteral("Size"),
                         QStringLiteral("Date"), QStringLiteral("Size now"),
                         QStringLiteral("Date now"), QStringLiteral("Moved to")},
      .compareUsedForm = QStringLiteral("Compared with %1 as: %2; dates as %3."),
      .compareWithoutExtensions = QStringLiteral("The names were matched without extensions."),
      .compareUnreadableFolders = QStringLiteral("Folders that could not be read: %1"),
      .compareWalking = QStringLiteral("Searching the folder: %1 folders ... Esc stops it"),
      .compareStopped = QStringLiteral("Stopped."),
      .compareNoList = QStringLiteral("Please choose a list first."),
      .compareUpdateQuestion = QStringLiteral(
          "The list %1 is replaced by a new listing of the folder %2. The old list is kept as "
          "the backup copy %3 (with .mpl2 and .mpl3).\nContinue ?"),
      .compareUpdated = QStringLiteral("The list is up to date; the old one is kept as %1."),
      .contentsColumns = {QStringLiteral("Name"), QStringLiteral("Size"), QStringLiteral("Type"),
                          QStringLiteral("Date")},
      .propertyLabels = {QStringLiteral("Name :"), QStringLiteral("Folder :"),
                         QStringLiteral("Type :"), QStringLiteral("Size :"),
                         QStringLiteral("Modified :"), QStringLiteral("Created :"),
                         QStringLiteral("Last access :"), QStringLiteral("Permissions :"),
                         QStringLiteral("Owner / group :")},
  };
}

}  // namespace

const MessageSlots& MessageSlotsFor(UiLanguage language) {
  static const MessageSlots kGerman = GermanSlots();
  static const MessageSlots kEnglish = EnglishSlots();
  return language == UiLanguage::German ? kGerman : kEnglish;
}

const std::vector<Caption>& CaptionTable() {
  static const std::vector<Caption> kTable = BuildCaptionTable();
  return kTable;
}

// Positions derived from other controls' sizes (the about box's button and address labels)
// are computed where the language is applied, not listed here.
const std::vector<Placement>& PlacementTable() {
  using enum GeometryProperty;
  static const std::vector<Placement> kTable = {
      // Main window, the column width labels and their edit fields.
      {"TForm1", "Label5", Left, 24, 24},
      {"TForm1", "Label6", Left, 80, 80},
      {"TForm1", "Label7", Left, 159, 150},
      {"TForm1", "Label8", Left, 242, 224},
      {"TForm1", "Label9", Left, 314, 296},
      {"TForm1", "Edit1", Left, 46, 46},
      {"TForm1", "Edit2", Left, 116, 107},
      {"TForm1", "Edit3", Left, 199, 181},
      {"TForm1", "Edit4", Left, 271, 253},
      {"TForm1", "Edit5", Left, 369, 330},
      // Each width label ends where the field after it begins.
      {"TForm1", "Label5", Width, 22, 22},
      {"TForm1", "Label6", Width, 36, 27},
      {"TForm1", "Label7", Width, 40, 31},
      {"TForm1", "Label8", Width, 29, 29},
      {"TForm1", "Label9", Width, 55, 34},
      {"TForm3", "ComboBox2", Left, 288, 264},
      // The catalog editor's labels end before the field beside them, at 140.
      {"TForm5", "Label4", Left, 28, 46},
      {"TForm5", "Label4", Width, 110, 93},
      {"TForm5", "Label6", Left, 7, 16},
      {"TForm5", "Label6", Width, 133, 124},
      {"TForm5", "Label3", Left, 16, 38},
      {"TForm5", "Label3", Width, 120, 101},
      {"TForm5", "Label2", Left, 32, 34},
      {"TForm5", "Label2", Width, 106, 105},
      {"TForm7", "Label2", Left, 136, 90},
      {"TForm7", "Label1", Width, 336, 336},
      // About box: the English one is shorter by the lines it hides.
      {"TForm4", "TForm4", Height, 433, 390},
      {"TForm4", "GroupBox1", Height, 408, 365},
      // Below the three address labels in both languages.
      {"TForm4", "Label4", Top, 180, 180},
      {"TForm4", "Label5", Top, 207, 207},
      {"TForm4", "Label4", Width, 257, 257},
      {"TForm4", "Label5", Width, 257, 257},
      {"TForm4", "Label7", Width, 192, 192},
      {"TForm4", "Label1", Left, 78, 79},
      {"TForm4", "Label7", Left, 46, 49},
      {"TForm4", "Label9", Left, 45, 56},
  };
  return kTable;
}

const std::vector<Visibility>& VisibilityTable() {
  static const std::vector<Visibility> kTable = {
      // The exit question has one question control per language.
      {"TForm6", "Image1", true, false},
      {"TForm6", "Image2", false, true},
      {"TForm4", "Label10", true, false},
  };
  return kTable;
}

QString CaptionText(const char* form, const char* object, UiLanguage language) {
  for (const Caption& c : CaptionTable()) {
    if (c.index == -1 && qstrcmp(c.form, form) == 0 && qstrcmp(c.object, object) == 0) {
      return language == UiLanguage::German ? c.german : c.english;
    }
  }
  return QString();
}

}  // namespace kavoro
