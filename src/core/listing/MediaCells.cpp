#include "core/listing/MediaCells.h"

#include <algorithm>
#include <thread>

#include "core/listing/FileTexts.h"
#include "core/listing/FoundFiles.h"
#include "core/media/MediaFacts.h"
#include "core/text/Utf8.h"

namespace kavoro {
namespace {

// A tag as a cell: its control characters visible, so that it cannot break a line of any
// view, and NUL characters (which some taggers pad with) left out.
void AppendTag(const QString& tag, std::string& out) {
  std::string text = utf8::FromQString(tag);
  std::erase(text, '\0');
  AppendVisible(text, out);
}

// Files are read in runs of this many, handed out to the threads in order.
constexpr std::size_t kRun = 64;

}  // namespace

MediaCellTexts MediaCells::Get(std::size_t i) const {
  MediaCellTexts cells;
  std::string_view record = std::string_view(text_).substr(starts_[i], starts_[i + 1] - starts_[i]);
  for (std::size_t c = 0; !record.empty() && c < cells.size(); ++c) {
    const std::size_t tab = record.find('\t');
    cells[c] = record.substr(0, tab);
    record.remove_prefix(tab + 1);
  }
  return cells;
}

void MediaCells::Append(const MediaFacts* facts, DateTextFormat& dates) {
  if (facts && *facts != MediaFacts{}) {
    if (facts->duration_s) text_.append(utf8::FromQString(DurationText(*facts->duration_s)));
    text_.push_back('\t');
    for (const QString* tag : {&facts->artist, &facts->title, &facts->album}) {
      AppendTag(*tag, text_);
      text_.push_back('\t');
    }
    if (facts->width && facts->height) {
      text_.append(utf8::FromQString(PixelsText(*facts->width, *facts->height)));
    }
    text_.push_back('\t');
    if (facts->taken) text_.append(utf8::FromQString(dates.Format(*facts->taken)));
    text_.push_back('\t');
  }
  starts_.push_back(text_.size());
}

void MediaCells::AppendAll(const MediaCells& other) {
  const std::uint64_t base = text_.size();
  text_.append(other.text_);
  for (std::size_t i = 1; i < other.starts_.size(); ++i) starts_.push_back(base + other.starts_[i]);
}

std::optional<MediaCells> ReadMediaCells(const FoundFiles& files, const QLocale& date_locale,
                                         const std::atomic<bool>* cancel,
                                         const MediaProgress& progress) {
  const std::size_t runs = (files.Count() + kRun - 1) / kRun;
  std::vector<MediaCells> done(runs);
  std::atomic<std::size_t> next_run{0};
  std::atomic<std::uint64_t> files_done{0};
  auto stopped = [cancel] { return cancel && cancel->load(std::memory_order_relaxed); };
  auto read = [&] {
    DateTextFormat dates(date_locale);
    std::string path;
    for (std::size_t run = next_run++; run < runs && !stopped(); run = next_run++) {
      MediaCells& cells = done[run];
      const std::size_t end = std::min(files.Count(), (run + 1) * kRun);
      for (std::size_t i = run * kRun; i < end; ++i) {
        const std::string_view ext = ExtensionOf(files.Name(i));
        const MediaKind kind = ext.empty() ? MediaKind::kNone : KindOfExtension(ext.substr(1));
        std::optional<MediaFacts> facts;
        if (kind != MediaKind::kNone) {
          path.assign(files.Folder(i)).append(files.Name(i));
          facts = ReadMediaFacts(path, kind);
        }
        cells.Append(facts ? &*facts : nullptr, dates);
      }
      const std::uint64_t total = files_done += end - run * kRun;
      if (progress) progress(total);
    }
  };
  // Reading waits on the disk as much as it works: a thread more than there are cores.
  const unsigned threads = std::clamp<unsigned>(std::thread::hardware_concurrency() + 1, 2, 16);
  {
    std::vector<std::jthread> pool;
    for (unsigned t = 1; t < std::min<std::size_t>(threads, runs); ++t) pool.emplace_back(read);
    read();
  }
  if (stopped()) return std::nullopt;
  MediaCells all;
  for (const MediaCells& cells : done) all.AppendAll(cells);
  return all;
}

}  // namespace kavoro
