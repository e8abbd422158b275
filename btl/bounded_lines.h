// The lines of one kind of finding (check) or difference (diff): every one is counted, but
// only the lines that will be printed are kept, so a file with a million of them costs a
// count and twenty strings.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

constexpr int kLinesPerKind = 20;

struct BoundedLines {
  bool all = false;     // keep every line
  int64_t count = 0;    // findings counted
  int64_t omitted = 0;  // lines not kept
  std::vector<std::string> lines;

  // Counts one finding with a line of its own; `makeLine` is called only when the line is kept.
  template <class MakeLine>
  void Add(MakeLine&& makeLine) {
    AddMany(1, makeLine);
  }
  // Counts `n` findings told by one line.
  template <class MakeLine>
  void AddMany(int64_t n, MakeLine&& makeLine) {
    if (n <= 0) return;
    count += n;
    if (all || lines.size() < size_t(kLinesPerKind))
      lines.push_back(makeLine());
    else
      ++omitted;
  }
};
