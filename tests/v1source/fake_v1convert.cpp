// Stands in for qalvoro-v1convert in tests of the parent side. What it does
// depends on the source file's name: crash.mdb crashes, hang.mdb never ends
// (both after starting TARGET.part), limit.mdb reports its address-space limit
// and args.mdb its arguments, both as a conversion error; leftout.mdb writes
// TARGET and lists two parts left out among its table lines.

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <string>

namespace {

bool endsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

void startPart(const std::string& target) {
  if (FILE* part = std::fopen((target + ".part").c_str(), "w")) {
    std::fputs("unfinished", part);
    std::fclose(part);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const std::string source = argv[argc - 2];
  const std::string target = argv[argc - 1];
  if (endsWith(source, "crash.mdb")) {
    startPart(target);
    std::raise(SIGSEGV);
  }
  if (endsWith(source, "hang.mdb")) {
    startPart(target);
    for (;;) pause();
  }
  if (endsWith(source, "leftout.mdb")) {
    if (FILE* copy = std::fopen(target.c_str(), "w")) std::fclose(copy);
    std::printf(
        "Card\t12 rows\nleft out\tTable 'Gaid' left out (usage map is missing).\n"
        "Branch\t3 rows\nleft out\tThe last 100 bytes of the file left out.\n");
    return 0;
  }
  if (endsWith(source, "limit.mdb")) {
    rlimit limit{};
    getrlimit(RLIMIT_AS, &limit);
    std::fprintf(stderr, "warning: noise before the error line\n3035\tlimit=%llu\n",
                 static_cast<unsigned long long>(limit.rlim_cur));
    return 1;
  }
  std::string arguments;
  for (int i = 1; i < argc; ++i) arguments += std::string(argv[i]) + " ";
  std::fprintf(stderr, "9999\t%s\n", arguments.c_str());
  return 1;
}
