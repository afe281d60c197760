// Runs a fuzz target over the inputs of its corpus folders (or single files)
// without libFuzzer, so any compiler and every test run can replay them:
//   replay_<target> DIR|FILE...
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <vector>

#include "FuzzSupport.h"

int main(int argc, char** argv) {
  LLVMFuzzerInitialize(&argc, &argv);
  QStringList files;
  for (int i = 1; i < argc; ++i) {
    const QString arg = QFile::decodeName(argv[i]);
    if (QFileInfo(arg).isDir()) {
      const QDir dir(arg);
      for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden, QDir::Name)) files << dir.filePath(name);
    } else if (QFileInfo(arg).isFile()) {
      files << arg;
    } else {
      std::fprintf(stderr, "replay: %s does not exist\n", argv[i]);
      return 1;
    }
  }
  if (files.isEmpty()) {
    std::fprintf(stderr, "replay: no inputs (usage: %s DIR|FILE...)\n", argc > 0 ? argv[0] : "replay");
    return 1;
  }
  QElapsedTimer timer;
  timer.start();
  for (const QString& path : files) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
      std::fprintf(stderr, "replay: cannot read %s\n", qPrintable(path));
      return 1;
    }
    const QByteArray bytes = f.readAll();
    std::fprintf(stderr, "replay: %s\n", qPrintable(path));
    // A copy of exactly the input's length, so a read past its end is caught.
    std::vector<uint8_t> input(bytes.begin(), bytes.end());
    LLVMFuzzerTestOneInput(input.data(), input.size());
  }
  std::fprintf(stderr, "replay: %lld inputs in %lld ms\n", static_cast<long long>(files.size()),
               static_cast<long long>(timer.elapsed()));
  return 0;
}
