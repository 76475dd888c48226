#include "core/output/PageLinks.h"

#include <QFileInfo>
#include <QUrl>

#include "core/listing/FileTexts.h"
#include "core/listing/HtmlText.h"

namespace kavoro {
namespace {

// How an entry's link begins and ends in the HTML view.
const QString kLinkHead = u"</td><td><a href=\""_qs;
const QString kLinkTail = u"\" target=\"_blank\">"_qs;
const QString kFileScheme = u"file://"_qs;

// `target` (an encoded path) as seen from the folder `from` (encoded, ending in "/").
QString RelativeTo(const QString& target, const QString& from) {
  const QStringList to_parts = target.split(u'/');
  const QStringList from_parts = from.split(u'/');
  qsizetype common = 0;
  // The last part of `to_parts` is the file's name, the last of `from_parts` empty.
  while (common + 1 < to_parts.size() && common + 1 < from_parts.size() &&
         to_parts[common] == from_parts[common]) {
    ++common;
  }
  QString relative;
  for (qsizetype i = common; i + 1 < from_parts.size(); ++i) relative += u"../"_qs;
  // A first part with a colon would read as a scheme ("a:b.mp3").
  if (relative.isEmpty() && to_parts[common].contains(u':')) relative = u"./"_qs;
  return relative + to_parts.mid(common).join(u'/');
}

}  // namespace

std::optional<LinkForm> ReadLinkForm(const QString& text) {
  if (text == u"abs") return LinkForm{};
  if (text == u"rel") return LinkForm{LinkForm::Kind::Relative, {}};
  const QUrl url(text);
  if (!url.isValid() || url.scheme().isEmpty() || url.isRelative()) return std::nullopt;
  QString base = url.toString(QUrl::FullyEncoded);
  if (!base.endsWith(u'/')) base += u'/';
  return LinkForm{LinkForm::Kind::Base, base};
}

QStringList WithLinks(QStringList lines, const LinkForm& form, const QString& page_path) {
  if (form.kind == LinkForm::Kind::Absolute) return lines;
  // The page's folder encoded as the links are, so that the two compare part by part.
  QString folder = LinkTarget(QFileInfo(page_path).absolutePath() + u'/');
  folder.remove(0, kFileScheme.size());
  const QString prefix = form.kind == LinkForm::Kind::Base ? HtmlEscape(form.base) : QString();
  for (QString& line : lines) {
    if (!line.startsWith(kLinkHead + kFileScheme) || !line.endsWith(kLinkTail)) continue;
    const qsizetype start = kLinkHead.size() + kFileScheme.size();
    const QString target = line.mid(start, line.size() - start - kLinkTail.size());
    line = kLinkHead + prefix + RelativeTo(target, folder) + kLinkTail;
  }
  return lines;
}

}  // namespace kavoro
