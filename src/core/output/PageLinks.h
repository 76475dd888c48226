#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace kavoro {

// Where the file links of an exported page point: the files' own places (file://, as the
// HTML view has them), places relative to the page's folder (the page is copied together with
// the files: to a disc, a share, a web server), or those relative places under a base address.
struct LinkForm {
  enum class Kind { Absolute, Relative, Base };
  Kind kind = Kind::Absolute;
  QString base;  // with Kind::Base, e.g. "https://example.org/musik/"
};

// The form a command line or dialog names: "abs", "rel" or an address with a scheme
// ("https://...", "file:///..."); nothing for anything else.
std::optional<LinkForm> ReadLinkForm(const QString& text);

// The lines of an HTML view with every file link in `form`, for a page written as `page_path`.
QStringList WithLinks(QStringList lines, const LinkForm& form, const QString& page_path);

}  // namespace kavoro
