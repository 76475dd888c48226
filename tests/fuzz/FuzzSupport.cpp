#include "FuzzSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace kavoro::fuzz {
namespace {

double CpuSeconds(const std::function<void()>& work) {
  timespec start{}, end{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &start);
  work();
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &end);
  return double(end.tv_sec - start.tv_sec) + double(end.tv_nsec - start.tv_nsec) * 1e-9;
}

}  // namespace

void Fail(const char* what, const QString& detail) {
  std::fprintf(stderr, "\n*** %s\n%s\n", what, detail.toUtf8().constData());
  std::abort();
}

QList<QByteArray> Parts(const QByteArray& input, int count) {
  QList<QByteArray> parts;
  qsizetype start = 0;
  for (int i = 0; i + 1 < count; ++i) {
    const qsizetype nul = input.indexOf('\0', start);
    if (nul < 0) break;
    parts.append(input.mid(start, nul - start));
    start = nul + 1;
  }
  parts.append(input.mid(start));
  while (parts.size() < count) parts.append(QByteArray());
  return parts;
}

QString Dir() {
  static QTemporaryDir dir;
  return dir.path() + u'/';
}

void WriteFile(const QString& name, const QByteArray& bytes) {
  QFile file(Dir() + name);
  Check(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size(),
        "cannot write the input file", file.fileName());
}

void ExpectLinear(const char* what, const QByteArray& input,
                  const std::function<void(const QByteArray&)>& work, qsizetype size) {
  if (input.isEmpty()) return;
  QByteArray repeated;
  repeated.reserve(size + input.size());
  while (repeated.size() < size) repeated += input;
  const QByteArray plain(repeated.size(), 'x');
  // Linear work on 64 KiB takes well under 50 ms even with the sanitizers; work that grows
  // with the square of its input takes seconds. The slower measurement is taken again before
  // it counts, so one unlucky run does not.
  auto too_slow = [&] {
    const double base = CpuSeconds([&] { work(plain); });
    const double taken = CpuSeconds([&] { work(repeated); });
    return taken > 0.05 && taken > 50 * std::max(base, 1e-4);
  };
  if (too_slow() && too_slow()) {
    Fail(what, u"grows faster than its input: "_qs + QString::fromUtf8(input.left(200)));
  }
}

}  // namespace kavoro::fuzz
