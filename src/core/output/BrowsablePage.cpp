#include "core/output/BrowsablePage.h"

#include <QLocale>
#include <algorithm>

#include "core/listing/DateKey.h"
#include "core/listing/ListingHeaders.h"
#include "core/text/LineFile.h"

namespace kavoro {
namespace {

// The style and script of a browsable page. ASCII only (the page may be cp1252); the script
// finds its texts in `kavoroPage`, which the line before it defines.
constexpr char16_t kStyle[] =
    uR"css(.kv-bar { text-align: center; margin: 0 0 8pt 0; }
.kv-bar input { font: inherit; width: 22em; max-width: 90%; }
.kv-count, .kv-bar button { margin-left: 1em; }
tr.kv-head td { cursor: pointer; user-select: none; }
td.kv-up:after { content: " \25B2"; }
td.kv-down:after { content: " \25BC"; }
@media print { .kv-bar { display: none; } })css";

// The script in two halves, split inside the routine that reads a column's values.
constexpr char16_t kScriptHead[] =
    uR"js(document.addEventListener('DOMContentLoaded', function () {
  'use strict';
  var texts = kavoroPage;
  var table = document.getElementsByTagName('table')[0];
  if (!table || table.rows.length === 0) return;
  var header = table.rows[0];
  var body = header.parentNode;
  header.className = 'kv-head';

  // Lower case without accents; umlauts also match their spelled-out form (ae, oe, ue).
  function fold(s) {
    return s.toLowerCase().replace(/\u00df/g, 'ss').normalize('NFD')
        .replace(/[\u0300-\u036f]/g, '').replace(/([aou])e/g, '$1');
  }
  function cellText(row, c) {
    var cell = row.cells[c];
    return cell ? cell.textContent.replace(/\s+/g, ' ').trim() : '';
  }
  // The rows after the header in its part of the table; a footer row stays where it is.
  var entries = [];
  for (var r = 1; r < body.rows.length; r++) {
    var row = body.rows[r];
    var parts = [];
    for (var c = 0; c < row.cells.length; c++) parts.push(cellText(row, c));
    entries.push({row: row, key: fold(parts.join('\n')), shown: true, sortKey: null});
  }

  // Sizes and numbers as the listing writes them ("1.234 KB", "1,234 KB"), dates in the
  // listing's forms; anything else is no value.
  var months = {jan: 1, feb: 2, mar: 3, apr: 4, may: 5, mai: 5, jun: 6, jul: 7, aug: 8,
                sep: 9, oct: 10, okt: 10, nov: 11, dec: 12, dez: 12};
  function monthOf(name) {
    return months[fold(name).slice(0, 3)] || 0;
  }
  function numberOf(s) {
    if (!/^(\d{1,3}([.,]\d{3})+|\d+)( KB)?$/.test(s)) return NaN;
    return Number(s.replace(/[^0-9]/g, ''));
  }
  function dateOf(s) {
    var m, y, mo, d, h, mi, ampm;
    if ((m = /^(\d{4})-(\d{1,2})-(\d{1,2})[ T](\d{1,2}):(\d{2})(:\d{2})?$/.exec(s))) {
      y = m[1]; mo = m[2]; d = m[3]; h = m[4]; mi = m[5];
    } else if ((m = /^(\d{1,2})([./-])(\d{1,2})\2(\d{4}),? (\d{1,2}):(\d{2})(:\d{2})? ?([AaPp])?\.?[Mm]?\.?$/.exec(s))) {
      var dayFirst = m[2] === '.' || texts.dayFirst;
      d = dayFirst ? m[1] : m[3]; mo = dayFirst ? m[3] : m[1];
      y = m[4]; h = m[5]; mi = m[6]; ampm = m[8];
    } else if ((m = /^(\d{1,2})\.? ([^\d\s.,]{3,})\.? (\d{4}),? (\d{1,2}):(\d{2})(:\d{2})? ?([AaPp])?\.?[Mm]?\.?$/.exec(s))) {
      d = m[1]; mo = monthOf(m[2]); y = m[3]; h = m[4]; mi = m[5]; ampm = m[7];
    } else if ((m = /^([^\d\s.,]{3,})\.? (\d{1,2}),? (\d{4}),? (\d{1,2}):(\d{2})(:\d{2})? ?([AaPp])?\.?[Mm]?\.?$/.exec(s))) {
      mo = monthOf(m[1]); d = m[2]; y = m[3]; h = m[4]; mi = m[5]; ampm = m[7];
    } else {
      return NaN;
    }
    h = Number(h) % (ampm ? 12 : 24) + (ampm && /p/i.test(ampm) ? 12 : 0);
    if (!(mo >= 1 && mo <= 12) || !(d >= 1 && d <= 31) || Number(mi) > 59) return NaN;
    return Date.UTC(Number(y), Number(mo) - 1, Number(d), h, Number(mi));
  }
  // A column sorts by value when most of its cells have one; cells without sort as text,
  // after those with.
  function prepareColumn(c) {
    var filled = 0, valued = 0;
    entries.forEach(function (e) {
      var text = cellText(e.row, c);
      var value = numberOf(text);
      if (isNaN(value)) value = dateOf(text);)js";

// With the media columns, the line that reads their values too, between the two halves.
constexpr char16_t kMediaValueLine[] = u"      if (isNaN(value)) value = kavoroMediaValue(text);";

constexpr char16_t kScriptTail[] =
    uR"js(      e.sortKey = {text: text, value: value};
      if (text !== '') filled++;
      if (!isNaN(value)) valued++;
    });
    if (valued * 2 < filled) entries.forEach(function (e) { e.sortKey.value = NaN; });
  }
  var collator = new Intl.Collator(texts.lang, {numeric: true, sensitivity: 'base'});
  function compare(a, b) {
    var av = !isNaN(a.value), bv = !isNaN(b.value);
    if (av && bv) return a.value - b.value;
    if (av !== bv) return av ? -1 : 1;
    return collator.compare(a.text, b.text);
  }
  var sortColumn = -1, sortDown = false;
  function sortBy(c, down) {
    if (c < 0 || c >= header.cells.length) return;
    if (c !== sortColumn) prepareColumn(c);
    entries.sort(function (a, b) {
      var r = compare(a.sortKey, b.sortKey);
      return down ? -r : r;
    });
    var rows = document.createDocumentFragment();
    entries.forEach(function (e) { rows.appendChild(e.row); });
    body.appendChild(rows);
    for (var i = 0; i < header.cells.length; i++) header.cells[i].className = '';
    header.cells[c].className = down ? 'kv-down' : 'kv-up';
    sortColumn = c;
    sortDown = down;
    showAll = false;
    filter();
  }

  var bar = document.createElement('div');
  bar.className = 'kv-bar';
  var box = document.createElement('input');
  box.type = 'search';
  box.placeholder = texts.search;
  box.setAttribute('aria-label', texts.search);
  var count = document.createElement('span');
  count.className = 'kv-count';
  count.setAttribute('aria-live', 'polite');
  // A browser lays out every shown row again after each change, so of many matches only the
  // first are shown until the user asks for all.
  var limit = 2000, showAll = true;
  var more = document.createElement('button');
  more.type = 'button';
  more.hidden = true;
  bar.appendChild(box);
  bar.appendChild(count);
  bar.appendChild(more);
  table.parentNode.insertBefore(bar, table);

  function grouped(n) {
    return String(n).replace(/\B(?=(\d{3})+(?!\d))/g, texts.thousands);
  }
  // One pass over the rows; only rows that change are touched.
  function filter() {
    var wanted = fold(box.value.replace(/\s+/g, ' ').trim());
    var matching = 0;
    // Rows changed outside the document cost the browser one layout, not one each.
    var place = body.nextSibling;
    if (entries.length > limit) table.removeChild(body);
    for (var i = 0; i < entries.length; i++) {
      var e = entries[i];
      var match = wanted === '' || e.key.indexOf(wanted) !== -1;
      var on = match && (showAll || matching < limit);
      if (on !== e.shown) {
        e.row.style.display = on ? '' : 'none';
        e.shown = on;
      }
      if (match) matching++;
    }
    if (!body.parentNode) table.insertBefore(body, place);
    count.textContent = grouped(matching) + ' ' + texts.of + ' ' + grouped(entries.length) + ' ' +
        texts.entries;
    more.hidden = showAll || matching <= limit;
    more.textContent = texts.showAll.replace('N', grouped(matching));
  }
  function keepInAddress() {
    var parts = [];
    if (box.value !== '') parts.push('q=' + encodeURIComponent(box.value));
    if (sortColumn >= 0) parts.push('sort=' + (sortDown ? '-' : '') + (sortColumn + 1));
    var address = parts.length ? '#' + parts.join('&') : location.pathname + location.search;
    try { history.replaceState(null, '', address); } catch (err) { /* a page without history */ }
  }
  function fromAddress() {
    var q = '', sort = '';
    location.hash.replace(/^#/, '').split('&').forEach(function (part) {
      var eq = part.indexOf('=');
      var value = part.slice(eq + 1);
      try { value = decodeURIComponent(value); } catch (err) { /* keep it as written */ }
      if (part.slice(0, eq) === 'q') q = value;
      if (part.slice(0, eq) === 'sort') sort = value;
    });
    var column = parseInt(sort, 10) || 0;
    if (column && (Math.abs(column) - 1 !== sortColumn || (column < 0) !== sortDown)) {
      sortBy(Math.abs(column) - 1, column < 0);
    }
    box.value = q;
    if (q !== '') showAll = false;
    filter();
  }

  var pending = 0;
  box.addEventListener('input', function () {
    clearTimeout(pending);
    pending = setTimeout(function () {
      showAll = false;
      filter();
      keepInAddress();
    }, 80);
  });
  for (var h = 0; h < header.cells.length; h++) {
    header.cells[h].addEventListener('click', (function (c) {
      return function () {
        sortBy(c, c === sortColumn ? !sortDown : false);
        keepInAddress();
      };
    })(h));
  }
  more.addEventListener('click', function () {
    showAll = true;
    filter();
  });
  window.addEventListener('hashchange', fromAddress);
  fromAddress();
});)js";

// Read before the script: durations ("3:07", "1:02:03") as seconds, picture sizes
// ("4000 x 3000", with U+00D7) as their number of pixels.
constexpr char16_t kMediaValues[] =
    uR"js(function kavoroMediaValue(s) {
  var m = /^(?:(\d+):)?(\d+):([0-5]\d)$/.exec(s);
  if (m) return (Number(m[1] || 0) * 60 + Number(m[2])) * 60 + Number(m[3]);
  m = /^(\d+) \u00d7 (\d+)$/.exec(s);
  return m ? m[1] * m[2] : NaN;
})js";

QString JsString(const QString& text) {
  QString out = u"\""_qs;
  for (const QChar c : text) {
    if (c.unicode() < 0x80 && c != u'"' && c != u'\\' && c != u'<') {
      out += c;
    } else {
      out += u"\\u"_qs + QString::number(c.unicode(), 16).rightJustified(4, u'0');
    }
  }
  return out + u'"';
}

// The texts of the script in the listing's language, and how the listing writes dates.
QString PageTexts(UiLanguage language) {
  const bool german = language == UiLanguage::German;
  const QString date_form = ListingDateFormat(QLocale::system());
  const bool day_first = date_form.indexOf(u'd') < date_form.indexOf(u'M');
  return u"var kavoroPage = {lang: "_qs + JsString(german ? u"de"_qs : u"en"_qs) + u", of: "_qs +
         JsString(german ? u"von"_qs : u"of"_qs) + u", entries: "_qs +
         JsString(german ? u"Einträgen"_qs : u"entries"_qs) + u", search: "_qs +
         JsString(german ? u"Suchen"_qs : u"Search"_qs) + u", showAll: "_qs +
         JsString(german ? u"Alle N zeigen"_qs : u"Show all N"_qs) + u", thousands: "_qs +
         JsString(german ? u"."_qs : u","_qs) + u", dayFirst: "_qs +
         (day_first ? u"true"_qs : u"false"_qs) + u"};"_qs;
}

// The line of the page template that is `text`, or -1.
qsizetype TemplateLine(const QStringList& page, const QString& text) {
  for (qsizetype i = 0; i < page.size() && i < html_line::kTemplateLines; ++i) {
    if (page[i].trimmed().compare(text, Qt::CaseInsensitive) == 0) return i;
  }
  return -1;
}

QString MetaLine(const QString& charset) { return u"<meta charset=\""_qs + charset + u"\">"_qs; }

}  // namespace

QStringList BrowsableLines(const QStringList& page, UiLanguage language, bool media,
                           const QString& charset) {
  QStringList added = {u"<style type=\"text/css\">"_qs};
  added += QString::fromUtf16(kStyle).split(u'\n');
  added += {u"</style>"_qs, u"<script>"_qs, PageTexts(language)};
  if (media) added += QString::fromUtf16(kMediaValues).split(u'\n');
  added += QString::fromUtf16(kScriptHead).split(u'\n');
  if (media) added += QString::fromUtf16(kMediaValueLine);
  added += QString::fromUtf16(kScriptTail).split(u'\n');
  added += u"</script>"_qs;

  // A page without "<head>" (a list file's page edited by hand) gets them at the top.
  const qsizetype head = TemplateLine(page, u"<head>"_qs) + 1;
  const qsizetype end = std::max(head, TemplateLine(page, u"</head>"_qs));
  QStringList out;
  out.reserve(page.size() + added.size() + 1);
  out += page.mid(0, head);
  out += MetaLine(charset);
  out += page.mid(head, end - head);
  out += added;
  out += page.mid(end);
  return out;
}

bool WriteHtmlPage(const QString& path, const QStringList& page, const PageBrowsing& browsing,
                   QString* error) {
  if (!browsing.on) return LineFile::Write(path, page, error);
  QByteArray bytes = LineFile::EncodeLines(BrowsableLines(page, browsing.language, browsing.media),
                                           LineFile::IsUtf8File(path));
  if (bytes.startsWith("\xEF\xBB\xBF")) {
    const QByteArray cp1252 = MetaLine(u"windows-1252"_qs).toLatin1();
    const qsizetype at = bytes.indexOf(cp1252);
    if (at >= 0) bytes.replace(at, cp1252.size(), MetaLine(u"utf-8"_qs).toLatin1());
  }
  return LineFile::WriteBytes(path, bytes, error);
}

}  // namespace kavoro
