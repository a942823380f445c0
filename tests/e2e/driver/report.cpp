#include "tests/e2e/driver/report.h"

#include <cstdio>

namespace e2e {

namespace {
void PrintLine(std::string_view head, std::string_view what, std::string_view detail) {
  std::fwrite(head.data(), 1, head.size(), stdout);
  std::fwrite(what.data(), 1, what.size(), stdout);
  if (!detail.empty()) {
    std::fputs(": ", stdout);
    std::fwrite(detail.data(), 1, detail.size(), stdout);
  }
  std::fputc('\n', stdout);
  std::fflush(stdout);
}
}  // namespace

void Report::Pass(std::string_view what) {
  ++passes_;
  PrintLine("PASS: ", what, {});
}

void Report::Fail(std::string_view what, std::string_view detail) {
  ++failures_;
  PrintLine("FAIL: ", what, detail);
}

void Report::Check(bool ok, std::string_view what, std::string_view detail) {
  if (ok) {
    Pass(what);
  } else {
    Fail(what, detail);
  }
}

void Report::Note(std::string_view text) { PrintLine("---- ", text, {}); }

}  // namespace e2e
