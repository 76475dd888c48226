#include "core/text/StringPool.h"

#include <QStringList>
#include <array>

#include "core/text/Utf8.h"

namespace kavoro {
namespace {

// Reference layout: bits 0..23 length, bits 24..63 offset. Two length values are markers.
constexpr std::uint64_t kLengthBits = 24;
constexpr std::uint64_t kLengthMask = (std::uint64_t{1} << kLengthBits) - 1;
constexpr std::uint64_t kInternedMark = kLengthMask;
constexpr std::uint64_t kBigMark = kLengthMask - 1;

// Lines every HTML entry repeats; kept as constants rather than copies. ASCII only, so the
// same bytes serve as UTF-8 and as Latin-1.
constexpr std::array<std::string_view, 8> kInterned = {"<tr><td align=\"right\">",
                                                       "</td><td>",
                                                       "</td>",
                                                       "</tr>",
                                                       "</a></td>",
                                                       "</a></td><td>",
                                                       "",
                                                       "</td></tr>"};

QLatin1StringView Latin1(std::string_view text) {
  return QLatin1StringView(text.data(), static_cast<qsizetype>(text.size()));
}

StringPool::Ref MakeRef(std::uint64_t offset, std::uint64_t length) {
  return (offset << kLengthBits) | length;
}

// UTF-8 straight into the pool, without a temporary buffer per text.
void AppendUtf8(QStringView text, std::string& out) {
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    char32_t u = text[i].unicode();
    if (QChar::isHighSurrogate(u) && i + 1 < n && text[i + 1].isLowSurrogate()) {
      u = QChar::surrogateToUcs4(char16_t(u), text[++i].unicode());
    } else if (QChar::isSurrogate(u)) {
      u = 0xFFFD;  // a lone surrogate has no UTF-8 form
    }
    utf8::Append(u, out);
  }
}

}  // namespace

StringPool::Ref StringPool::Add(QStringView text) {
  if (text.size() <= 22) {
    for (std::size_t i = 0; i < kInterned.size(); ++i) {
      if (kInterned[i].size() == std::size_t(text.size()) && Latin1(kInterned[i]) == text) {
        return MakeRef(i, kInternedMark);
      }
    }
  }
  const std::uint64_t offset = data_.size();
  AppendUtf8(text, data_);
  return Close(offset);
}

StringPool::Ref StringPool::AddUtf8(std::string_view text) {
  if (text.size() <= 22) {
    for (std::size_t i = 0; i < kInterned.size(); ++i) {
      if (kInterned[i] == text) return MakeRef(i, kInternedMark);
    }
  }
  const std::uint64_t offset = data_.size();
  data_.append(text);
  return Close(offset);
}

StringPool::Ref StringPool::AddUtf8Pieces(std::initializer_list<std::string_view> pieces) {
  const std::uint64_t offset = data_.size();
  for (std::string_view piece : pieces) data_.append(piece);
  return Close(offset);
}

StringPool::Ref StringPool::Close(std::uint64_t offset) {
  const std::uint64_t length = data_.size() - offset;
  if (length < kBigMark) return MakeRef(offset, length);
  big_.emplace_back(data_, offset, length);
  data_.resize(offset);
  return MakeRef(big_.size() - 1, kBigMark);
}

std::string_view StringPool::Utf8(Ref ref) const {
  const std::uint64_t length = ref & kLengthMask;
  const std::uint64_t offset = ref >> kLengthBits;
  if (length == kInternedMark) return kInterned[offset];
  if (length == kBigMark) return big_[offset];
  return std::string_view(data_.data() + offset, length);
}

QString StringPool::Get(Ref ref) const { return utf8::ToQString(Utf8(ref)); }

bool StringPool::IsEmpty(Ref ref) const { return Utf8(ref).empty(); }

void StringPool::Absorb(StringPool& other, std::vector<Ref>& other_refs) {
  const std::uint64_t data_base = data_.size();
  const std::uint64_t big_base = big_.size();
  data_.append(other.data_);
  for (std::string& big : other.big_) big_.push_back(std::move(big));
  for (Ref& ref : other_refs) {
    const std::uint64_t length = ref & kLengthMask;
    if (length == kInternedMark) continue;
    ref = MakeRef((ref >> kLengthBits) + (length == kBigMark ? big_base : data_base), length);
  }
  other.Clear();
}

void StringPool::Clear() {
  std::string().swap(data_);
  std::vector<std::string>().swap(big_);
}

std::uint32_t TextTable::Number(std::string_view text) {
  const std::size_t hash = std::hash<std::string_view>()(text);
  const auto [first, last] = by_hash_.equal_range(hash);
  for (auto it = first; it != last; ++it) {
    if (Text(it->second) == text) return it->second;
  }
  const std::uint32_t number = Count();
  refs_.push_back(pool_.AddUtf8(text));
  by_hash_.emplace(hash, number);
  return number;
}

void TextTable::Clear() {
  pool_.Clear();
  std::vector<StringPool::Ref>().swap(refs_);
  std::unordered_multimap<std::size_t, std::uint32_t>().swap(by_hash_);
}

std::size_t TextTable::BytesUsed() const {
  // A hash node holds the pair and the link to the next node.
  const std::size_t node = sizeof(std::pair<const std::size_t, std::uint32_t>) + sizeof(void*);
  return pool_.BytesUsed() + refs_.capacity() * sizeof(StringPool::Ref) + by_hash_.size() * node +
         by_hash_.bucket_count() * sizeof(void*);
}

QString LineList::At(qsizetype index) const {
  if (index < 0 || index >= Count()) return QString();
  return pool_.Get(refs_[static_cast<std::size_t>(index)]);
}

std::string_view LineList::Utf8At(qsizetype index) const {
  if (index < 0 || index >= Count()) return {};
  return pool_.Utf8(refs_[static_cast<std::size_t>(index)]);
}

void LineList::Put(qsizetype index, QStringView text) {
  if (index < 0) return;
  while (Count() < index) refs_.push_back(pool_.Add(u""));
  if (index == Count()) {
    Append(text);
  } else {
    refs_[static_cast<std::size_t>(index)] = pool_.Add(text);
  }
}

void LineList::PutUtf8Pieces(qsizetype index, std::initializer_list<std::string_view> pieces) {
  if (index < 0) return;
  while (Count() < index) refs_.push_back(StringPool::kEmpty);
  if (index == Count()) {
    refs_.push_back(pool_.AddUtf8Pieces(pieces));
  } else {
    refs_[static_cast<std::size_t>(index)] = pool_.AddUtf8Pieces(pieces);
  }
}

void LineList::Clear() {
  std::vector<StringPool::Ref>().swap(refs_);
  pool_.Clear();
}

void LineList::AppendAll(LineList& other, qsizetype first) {
  pool_.Absorb(other.pool_, other.refs_);
  refs_.insert(refs_.end(), other.refs_.begin() + std::min<qsizetype>(first, other.Count()),
               other.refs_.end());
  std::vector<StringPool::Ref>().swap(other.refs_);
}

QStringList LineList::ToStringList() const {
  QStringList out;
  out.reserve(Count());
  for (StringPool::Ref ref : refs_) out.append(pool_.Get(ref));
  return out;
}

void LineList::Assign(const QStringList& lines) {
  Clear();
  Reserve(lines.size());
  for (const QString& line : lines) Append(line);
}

}  // namespace kavoro
