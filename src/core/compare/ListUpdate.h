#pragma once

#include <QString>
#include <atomic>

#include "core/compare/ListCompare.h"

namespace kavoro {

// The base the backup of the list set at `base` gets: base + ".bak1" (so "musik.bak1.mpl",
// ".mpl2", ".mpl3"), or the first ".bakN" of which no file exists yet.
QString FreeBackupBase(const QString& base);

// Brings a saved list up to date: walks `folder` in `form` (details, whole paths and links
// as the list has them), copies the list's three files byte for byte to `backup_base`
// (never over a file that exists), and writes the new listing over the list: numbered from
// 1, with the list's own header lines, page template and date form. False with `error` set
// when the backup or the new list cannot be written (the list is then as it was, the backup
// may stay); false with `error` empty when cancelled (nothing written).
bool UpdateList(const SavedList& list, const QString& folder, const ListForm& form,
                const QString& backup_base, const MessageSlots& messages, QString* error,
                const std::atomic<bool>* cancel = nullptr, const Scanner::Progress& progress = {});

}  // namespace kavoro
