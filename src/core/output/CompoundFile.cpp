#include "core/output/CompoundFile.h"

#include <QtEndian>
#include <cstdint>

namespace kavoro {
namespace {

constexpr int kSector = 512;
constexpr int kIdsPerSector = kSector / 4;
constexpr int kHeaderDifatEntries = 109;
constexpr qsizetype kMiniStreamCutoff = 4096;
constexpr std::uint32_t kFree = 0xFFFFFFFF;
constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kFatSector = 0xFFFFFFFD;
constexpr std::uint32_t kDifatSector = 0xFFFFFFFC;
constexpr std::uint32_t kNoStream = 0xFFFFFFFF;

void Put16(QByteArray& out, qsizetype at, std::uint16_t v) { qToLittleEndian(v, out.data() + at); }
void Put32(QByteArray& out, qsizetype at, std::uint32_t v) { qToLittleEndian(v, out.data() + at); }

qsizetype SectorsFor(qsizetype bytes) { return (bytes + kSector - 1) / kSector; }

// One 128-byte directory entry.
void PutEntry(QByteArray& out, qsizetype at, const QString& name, std::uint8_t type,
              std::uint32_t child, std::uint32_t start, std::uint32_t size) {
  const QString clipped = name.left(31);
  for (qsizetype i = 0; i < clipped.size(); ++i) Put16(out, at + 2 * i, clipped[i].unicode());
  Put16(out, at + 64, static_cast<std::uint16_t>((clipped.size() + 1) * 2));
  out[at + 66] = static_cast<char>(type);
  out[at + 67] = 1;  // black
  Put32(out, at + 68, kNoStream);
  Put32(out, at + 72, kNoStream);
  Put32(out, at + 76, child);
  Put32(out, at + 116, start);
  Put32(out, at + 120, size);
}

}  // namespace

QByteArray CompoundFileWithStream(const QString& stream_name, const QByteArray& stream) {
  const qsizetype stream_bytes = std::max(stream.size(), kMiniStreamCutoff);
  const qsizetype stream_sectors = SectorsFor(stream_bytes);
  // The FAT must also cover the directory sector, itself and the DIFAT sectors.
  qsizetype fat_sectors = 1;
  qsizetype difat_sectors = 0;
  for (;;) {
    difat_sectors =
        fat_sectors > kHeaderDifatEntries
            ? (fat_sectors - kHeaderDifatEntries + kIdsPerSector - 2) / (kIdsPerSector - 1)
            : 0;
    const qsizetype needed = stream_sectors + 1 + fat_sectors + difat_sectors;
    if (needed <= fat_sectors * kIdsPerSector) break;
    ++fat_sectors;
  }
  const qsizetype dir_sector = stream_sectors;
  const qsizetype first_fat = dir_sector + 1;
  const qsizetype first_difat = first_fat + fat_sectors;
  const qsizetype total_sectors = first_difat + difat_sectors;

  QByteArray out(kSector * (1 + total_sectors), '\0');
  // Header.
  static const char kSignature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
  std::copy(kSignature, kSignature + 8, out.begin());
  Put16(out, 0x18, 0x003E);
  Put16(out, 0x1A, 0x0003);
  Put16(out, 0x1C, 0xFFFE);
  Put16(out, 0x1E, 9);
  Put16(out, 0x20, 6);
  Put32(out, 0x2C, static_cast<std::uint32_t>(fat_sectors));
  Put32(out, 0x30, static_cast<std::uint32_t>(dir_sector));
  Put32(out, 0x38, static_cast<std::uint32_t>(kMiniStreamCutoff));
  Put32(out, 0x3C, kEndOfChain);
  Put32(out, 0x44, difat_sectors > 0 ? static_cast<std::uint32_t>(first_difat) : kEndOfChain);
  Put32(out, 0x48, static_cast<std::uint32_t>(difat_sectors));
  auto sector_at = [](qsizetype sector) { return kSector * (1 + sector); };

  // Where each FAT sector is listed: the header's 109 slots, then 127 per DIFAT sector.
  for (qsizetype i = 0; i < kHeaderDifatEntries; ++i) {
    Put32(out, 0x4C + 4 * i, i < fat_sectors ? static_cast<std::uint32_t>(first_fat + i) : kFree);
  }
  for (qsizetype d = 0; d < difat_sectors; ++d) {
    const qsizetype at = sector_at(first_difat + d);
    for (qsizetype k = 0; k < kIdsPerSector - 1; ++k) {
      const qsizetype fat = kHeaderDifatEntries + d * (kIdsPerSector - 1) + k;
      Put32(out, at + 4 * k,
            fat < fat_sectors ? static_cast<std::uint32_t>(first_fat + fat) : kFree);
    }
    Put32(out, at + kSector - 4,
          d + 1 < difat_sectors ? static_cast<std::uint32_t>(first_difat + d + 1) : kEndOfChain);
  }

  // The FAT: the stream is one chain, the directory one sector.
  auto set_fat = [&](qsizetype sector, std::uint32_t value) {
    Put32(out, sector_at(first_fat) + 4 * sector, value);
  };
  for (qsizetype s = fat_sectors * kIdsPerSector - 1; s >= total_sectors; --s) set_fat(s, kFree);
  for (qsizetype s = 0; s < stream_sectors; ++s) {
    set_fat(s, s + 1 < stream_sectors ? static_cast<std::uint32_t>(s + 1) : kEndOfChain);
  }
  set_fat(dir_sector, kEndOfChain);
  for (qsizetype s = 0; s < fat_sectors; ++s) set_fat(first_fat + s, kFatSector);
  for (qsizetype s = 0; s < difat_sectors; ++s) set_fat(first_difat + s, kDifatSector);

  // Directory: the root storage, the stream, two unused entries.
  const qsizetype dir = sector_at(dir_sector);
  PutEntry(out, dir, u"Root Entry"_qs, 5, 1, kEndOfChain, 0);
  PutEntry(out, dir + 128, stream_name, 2, kNoStream, 0, static_cast<std::uint32_t>(stream_bytes));
  for (int e = 2; e < 4; ++e) {
    for (int k = 68; k < 80; k += 4) Put32(out, dir + 128 * e + k, kNoStream);
  }

  std::copy(stream.begin(), stream.end(), out.begin() + sector_at(0));
  return out;
}

}  // namespace kavoro
