#include "core/listing/NameCollation.h"

#include <unicode/ucol.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <vector>

#include "core/text/Utf8.h"

namespace kavoro {
namespace {

constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kLastPrintable = 0x7e;

bool IsPrintableAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) {
    return static_cast<unsigned char>(c) >= kFirstPrintable &&
           static_cast<unsigned char>(c) <= kLastPrintable;
  });
}

// Each UTF-16 unit, folded where it stands for a character of its own, in the UTF-8 form of
// its value, which keeps the order of the values.
void AppendFoldedKey(std::string_view utf8, std::string& out) {
  for (std::size_t i = 0; i < utf8.size();) {
    const char c = utf8[i];
    if (static_cast<unsigned char>(c) < 0x80) {
      out.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c);
      ++i;
      continue;
    }
    const char32_t code = utf8::Next(utf8, i);
    if (code < 0x10000) {
      utf8::Append(QChar(static_cast<char16_t>(code)).toCaseFolded().unicode(), out);
    } else {
      utf8::Append(QChar::highSurrogate(code), out);
      utf8::Append(QChar::lowSurrogate(code), out);
    }
  }
}

}  // namespace

NameCollation::NameCollation(const QLocale& locale) {
  if (locale.language() == QLocale::C) return;
  UErrorCode error = U_ZERO_ERROR;
  collator_ = ucol_open(locale.name().toUtf8().constData(), &error);
  if (U_FAILURE(error)) {
    collator_ = nullptr;
    return;
  }
  // Secondary strength: accents count, case does not.
  ucol_setStrength(collator_, UCOL_SECONDARY);
  ascii_ranks_ = LearnAsciiRanks();
}

NameCollation::~NameCollation() {
  if (collator_) ucol_close(collator_);
}

const NameCollation& NameCollation::ForUser() {
  thread_local const NameCollation collation{QLocale::system()};
  return collation;
}

bool NameCollation::LearnAsciiRanks() {
  // Rank the printable characters by their full keys, equal keys sharing a rank.
  std::vector<std::pair<std::string, unsigned char>> singles;
  for (unsigned char c = kFirstPrintable; c <= kLastPrintable; ++c) {
    std::string key;
    AppendKey(std::string_view(reinterpret_cast<const char*>(&c), 1), key);
    singles.emplace_back(std::move(key), c);
  }
  std::sort(singles.begin(), singles.end());
  unsigned char rank = 0;
  for (std::size_t i = 0; i < singles.size(); ++i) {
    if (i == 0 || singles[i].first != singles[i - 1].first) ++rank;
    ascii_rank_[singles[i].second] = rank;
  }
  // The table holds only when every two-character text orders by its ranks as well: a locale
  // that joins letters (Czech "ch", Danish "aa") or ignores some of them fails here.
  std::vector<std::pair<std::string, std::string>> pairs;  // ranks, full key
  for (unsigned char a = kFirstPrintable; a <= kLastPrintable; ++a) {
    for (unsigned char b = kFirstPrintable; b <= kLastPrintable; ++b) {
      const char text[2] = {static_cast<char>(a), static_cast<char>(b)};
      std::string key;
      AppendKey(std::string_view(text, 2), key);
      pairs.emplace_back(std::string{char(ascii_rank_[a]), char(ascii_rank_[b])}, std::move(key));
    }
  }
  for (const auto& single : singles) {
    pairs.emplace_back(std::string(1, char(ascii_rank_[single.second])), single.first);
  }
  std::sort(pairs.begin(), pairs.end());
  for (std::size_t i = 1; i < pairs.size(); ++i) {
    const bool same_rank = pairs[i].first == pairs[i - 1].first;
    const int order = pairs[i - 1].second.compare(pairs[i].second);
    if (same_rank ? order != 0 : order >= 0) return false;
  }
  return true;
}

void NameCollation::AppendKey(std::string_view utf8, std::string& out) const {
  if (!collator_) {
    AppendFoldedKey(utf8, out);
    return;
  }
  thread_local std::vector<UChar> units;
  units.resize(utf8.size() + 1);
  UErrorCode error = U_ZERO_ERROR;
  int32_t length = 0;
  u_strFromUTF8WithSub(units.data(), int32_t(units.size()), &length, utf8.data(),
                       int32_t(utf8.size()), 0xFFFD, nullptr, &error);
  const std::size_t start = out.size();
  out.resize(start + 4 * std::size_t(length) + 16);
  for (;;) {
    const int32_t needed = ucol_getSortKey(collator_, units.data(), length,
                                           reinterpret_cast<uint8_t*>(out.data() + start),
                                           int32_t(out.size() - start));
    if (std::size_t(needed) <= out.size() - start) {
      out.resize(start + std::size_t(needed) - 1);  // without the closing zero byte
      return;
    }
    out.resize(start + std::size_t(needed));
  }
}

std::vector<std::uint32_t> NameCollation::Order(const ByteKeys& texts) const {
  // Two parts, each in its own key order: names the rank table serves, and all others.
  ByteKeys plain_keys;
  ByteKeys other_keys;
  std::vector<std::uint32_t> plain_rows;
  std::vector<std::uint32_t> other_rows;
  for (std::uint32_t row = 0; row < texts.Count(); ++row) {
    const std::string_view text = texts.At(row);
    if (collator_ && ascii_ranks_ && IsPrintableAscii(text)) {
      for (char c : text)
        plain_keys.Buffer().push_back(char(ascii_rank_[static_cast<unsigned char>(c)]));
      plain_keys.EndKey();
      plain_rows.push_back(row);
    } else {
      AppendKey(text, other_keys.Buffer());
      other_keys.EndKey();
      other_rows.push_back(row);
    }
  }
  std::vector<std::uint32_t> plain = OrderByKeys(plain_keys, 0);
  for (std::uint32_t& i : plain) i = plain_rows[i];
  std::vector<std::uint32_t> other = OrderByKeys(other_keys, 0);
  for (std::uint32_t& i : other) i = other_rows[i];
  if (plain.empty()) return other;
  if (other.empty()) return plain;

  std::vector<std::uint32_t> order;
  order.reserve(texts.Count());
  auto p = plain.begin();
  auto o = other.begin();
  while (p != plain.end() && o != other.end()) {
    const std::string_view a = texts.At(*p);
    const std::string_view b = texts.At(*o);
    UErrorCode error = U_ZERO_ERROR;
    const UCollationResult result = ucol_strcollUTF8(collator_, a.data(), int32_t(a.size()),
                                                     b.data(), int32_t(b.size()), &error);
    const bool plain_first = result == UCOL_LESS || (result == UCOL_EQUAL && *p < *o);
    order.push_back(plain_first ? *p++ : *o++);
  }
  order.insert(order.end(), p, plain.end());
  order.insert(order.end(), o, other.end());
  return order;
}

int NameCollation::Compare(const QString& a, const QString& b) const {
  if (!collator_) return QString::compare(a, b, Qt::CaseInsensitive);
  const UCollationResult result =
      ucol_strcoll(collator_, reinterpret_cast<const UChar*>(a.utf16()), int32_t(a.size()),
                   reinterpret_cast<const UChar*>(b.utf16()), int32_t(b.size()));
  return result == UCOL_LESS ? -1 : result == UCOL_GREATER ? 1 : 0;
}

}  // namespace kavoro
