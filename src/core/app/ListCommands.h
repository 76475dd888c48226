#pragma once

class QString;

namespace kavoro {

class AppState;
class Prompts;

// The filter of the list files' dialogs.
QString ListFileFilter();

// "Speichern unter": asks for a name, writes the three list files, remembers the base.
// True when the listing was saved.
bool SaveListAs(AppState& state, Prompts& prompts);

// "Speichern": writes to the remembered base, or asks for one first.
bool SaveList(AppState& state, Prompts& prompts);

// "Öffnen": replaces the listing by a stored one, after asking when it holds unsaved
// entries. True when a list was opened.
bool OpenList(AppState& state, Prompts& prompts);

// Replaces the listing by the stored one of `base` (the path without ".mpl"), without asking;
// a set of files that cannot be read is reported and changes nothing.
bool LoadList(AppState& state, Prompts& prompts, const QString& base);

}  // namespace kavoro
