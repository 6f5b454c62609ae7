// The least a line-by-line reader costs: reads each file in 64 KiB blocks
// and finds every line end with memchr, nothing else; prints the line count.
// fitchk_bench runs it beside fitchk and `wc -l` as the floor of any reader
// that looks at each line.
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  static char buf[1 << 16];
  long long lines = 0;
  for (int i = 1; i < argc; ++i) {
    std::FILE* f = std::fopen(argv[i], "rb");
    if (!f) return 1;
    std::setvbuf(f, nullptr, _IONBF, 0);
    std::size_t keep = 0, n = 0;
    while ((n = std::fread(buf + keep, 1, sizeof buf - keep, f)) > 0) {
      const char* p = buf;
      const char* end = buf + keep + n;
      while (const char* q = static_cast<const char*>(std::memchr(p, '\n', end - p))) {
        ++lines;
        p = q + 1;
      }
      keep = static_cast<std::size_t>(end - p);
      if (keep == sizeof buf) keep = 0;  // a line longer than the buffer: drop its start
      std::memmove(buf, p, keep);
    }
    std::fclose(f);
  }
  std::printf("%lld\n", lines);
  return 0;
}
