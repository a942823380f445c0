#pragma once

#include <string_view>

namespace e2e {

// The driver's verdicts, one line each on standard output: "PASS: what" or
// "FAIL: what: detail". Lines are flushed at once, so a run that is killed by its time limit
// still shows how far it got.
class Report {
 public:
  void Pass(std::string_view what);
  void Fail(std::string_view what, std::string_view detail);
  // A check that is either a PASS or a FAIL with the detail.
  void Check(bool ok, std::string_view what, std::string_view detail);
  // Context for the lines that follow ("run 2", "after unticking 2008"); not a verdict.
  void Note(std::string_view text);

  int Failures() const { return failures_; }
  int Passes() const { return passes_; }

 private:
  int failures_ = 0;
  int passes_ = 0;
};

}  // namespace e2e
