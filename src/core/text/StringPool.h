#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kavoro {

// Append-only text storage for views of a million lines: texts are kept as UTF-8 in one
// buffer and addressed by a 64-bit reference (offset and length). The short fixed lines the
// HTML view repeats for every entry are interned and cost no buffer space at all.
class StringPool {
 public:
  using Ref = std::uint64_t;

  Ref Add(QStringView text);
  Ref AddUtf8(std::string_view text);
  // One text made of several UTF-8 pieces, without joining them first.
  Ref AddUtf8Pieces(std::initializer_list<std::string_view> pieces);
  QString Get(Ref ref) const;
  // The stored UTF-8 bytes, valid until the next Add or Clear; for scans that must not decode.
  std::string_view Utf8(Ref ref) const;
  bool IsEmpty(Ref ref) const;
  void Clear();
  void ReserveMore(std::size_t bytes) { data_.reserve(data_.size() + bytes); }
  // Takes over the texts of `other` (which is left empty) and turns its references into
  // references of this pool.
  void Absorb(StringPool& other, std::vector<Ref>& other_refs);
  std::size_t BytesUsed() const { return data_.capacity() + big_.capacity() * sizeof(std::string); }

  static constexpr Ref kEmpty = 0;

 private:
  // Stores the bytes appended to data_ from `offset` on as one text.
  Ref Close(std::uint64_t offset);

  std::string data_;
  std::vector<std::string> big_;  // texts too long for the packed length field
};

// Texts kept once each and numbered in the order they first came: the folders a listing's
// entries came from. Finding a text costs a hash of it, no second copy.
class TextTable {
 public:
  // The number of `text`, which is added when it is new.
  std::uint32_t Number(std::string_view text);
  std::string_view Text(std::uint32_t number) const { return pool_.Utf8(refs_[number]); }
  std::uint32_t Count() const { return static_cast<std::uint32_t>(refs_.size()); }
  void Clear();
  std::size_t BytesUsed() const;

 private:
  StringPool pool_;
  std::vector<StringPool::Ref> refs_;
  std::unordered_multimap<std::size_t, std::uint32_t> by_hash_;
};

// A list of lines over a StringPool: the text view and the HTML view.
class LineList {
 public:
  qsizetype Count() const { return static_cast<qsizetype>(refs_.size()); }
  QString At(qsizetype index) const;
  std::string_view Utf8At(qsizetype index) const;
  void Append(QStringView text) { refs_.push_back(pool_.Add(text)); }
  void AppendUtf8(std::string_view text) { refs_.push_back(pool_.AddUtf8(text)); }
  // Replaces line `index`; when the list has exactly `index` lines the text becomes the new
  // last line, and further out the list is padded with empty lines.
  void Put(qsizetype index, QStringView text);
  void PutUtf8Pieces(qsizetype index, std::initializer_list<std::string_view> pieces);
  void Clear();
  // Appends the lines of `other` from line `first` on; `other` is left empty. As fast as
  // copying their bytes.
  void AppendAll(LineList& other, qsizetype first = 0);
  // Makes room for `lines` lines in all, and `bytes` more bytes of text.
  void Reserve(qsizetype lines, std::size_t bytes = 0) {
    refs_.reserve(static_cast<std::size_t>(lines));
    pool_.ReserveMore(bytes);
  }
  QStringList ToStringList() const;
  void Assign(const QStringList& lines);
  std::size_t BytesUsed() const {
    return pool_.BytesUsed() + refs_.capacity() * sizeof(StringPool::Ref);
  }

 private:
  StringPool pool_;
  std::vector<StringPool::Ref> refs_;
};

}  // namespace kavoro
