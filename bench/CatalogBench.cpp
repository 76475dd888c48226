// The catalogue of saved lists on a generated set of lists (not run by ctest): brings the index
// up to date, then times searches (the first screen of hits and the full count) and the doubles.
// Usage: kavoro_bench_catalog LISTS_DIR INDEX_FILE TEXT...

#include <QElapsedTimer>
#include <cstdio>

#include "core/catalog/Catalog.h"

namespace {

double Seconds(const QElapsedTimer& t) { return double(t.nsecsElapsed()) / 1e9; }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: kavoro_bench_catalog LISTS_DIR INDEX_FILE TEXT...\n");
    return 2;
  }
  QElapsedTimer timer;
  timer.start();
  kavoro::Catalog catalog(QString::fromLocal8Bit(argv[2]));
  const kavoro::CatalogUpdate update = catalog.Update({QString::fromLocal8Bit(argv[1])});
  std::printf("update: %.2f s (indexed %d, unchanged %d, skipped %zu)\n", Seconds(timer),
              update.indexed, update.unchanged, update.skipped.size());
  for (int i = 3; i < argc; ++i) {
    kavoro::CatalogQuery query;
    query.text = QString::fromUtf8(argv[i]);
    timer.restart();
    const auto first = catalog.Find(query, 200);
    const double first_s = Seconds(timer);
    timer.restart();
    const auto count = catalog.Count(query);
    std::printf("search %-8s first %zu hits in %.3f s, count %lld hits in %lld lists in %.3f s\n",
                argv[i], first.size(), first_s, count ? count->hits : -1LL,
                count ? count->lists : -1LL, Seconds(timer));
  }
  timer.restart();
  const auto groups = catalog.Duplicates(5000);
  std::printf("doubles: %zu groups (at most 5000) in %.2f s\n", groups.size(), Seconds(timer));
  return 0;
}
