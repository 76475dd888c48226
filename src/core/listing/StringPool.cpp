#include "core/listing/StringPool.h"

#include <QStringList>
#include <array>

namespace kavoro {
namespace {

// Reference layout: bits 0..23 length, bits 24..63 offset. Two length values are markers.
constexpr std::uint64_t kLengthBits = 24;
constexpr std::uint64_t kLengthMask = (std::uint64_t{1} << kLengthBits) - 1;
constexpr std::uint64_t kInternedMark = kLengthMask;
constexpr std::uint64_t kBigMark = kLengthMask - 1;

// Lines every HTML entry repeats; kept as constants rather than copies. ASCII only, so the
// same bytes serve as UTF-8 and as Latin-1.
constexpr std::array<std::string_view, 8> kInterned = {
    "<tr><td align=\"right\">", "</td><td>", "</td>", "</tr>", "</a></td>",
    "</a></td><td>", "", "</td></tr>"};

QLatin1StringView Latin1(std::string_view text) {
  return QLatin1StringView(text.data(), static_cast<qsizetype>(text.size()));
}

StringPool::Ref MakeRef(std::uint64_t offset, std::uint64_t length) {
  return (offset << kLengthBits) | length;
}

}  // namespace

StringPool::Ref StringPool::Add(QStringView text) {
  if (text.size() <= 24) {
    for (std::size_t i = 0; i < kInterned.size(); ++i) {
      if (Latin1(kInterned[i]) == text) return MakeRef(i, kInternedMark);
    }
  }
  const QByteArray utf8 = text.toUtf8();
  const auto length = static_cast<std::uint64_t>(utf8.size());
  if (length >= kBigMark) {
    big_.emplace_back(utf8.constData(), utf8.size());
    return MakeRef(big_.size() - 1, kBigMark);
  }
  const std::uint64_t offset = data_.size();
  data_.append(utf8.constData(), utf8.size());
  return MakeRef(offset, length);
}

std::string_view StringPool::Utf8(Ref ref) const {
  const std::uint64_t length = ref & kLengthMask;
  const std::uint64_t offset = ref >> kLengthBits;
  if (length == kInternedMark) return kInterned[offset];
  if (length == kBigMark) return big_[offset];
  return std::string_view(data_.data() + offset, length);
}

QString StringPool::Get(Ref ref) const {
  const std::string_view bytes = Utf8(ref);
  return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

bool StringPool::IsEmpty(Ref ref) const { return Utf8(ref).empty(); }

void StringPool::Clear() {
  std::string().swap(data_);
  std::vector<std::string>().swap(big_);
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

void LineList::Clear() {
  std::vector<StringPool::Ref>().swap(refs_);
  pool_.Clear();
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
