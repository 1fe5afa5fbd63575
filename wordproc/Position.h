#pragma once

#include <vector>

namespace wordproc {

// Where a piece of the body begins. In a table row, `cuts` holds for each cell
// where its text begins (paragraph and character); a row that starts whole has
// every cut at 0. A body paragraph has one cut. block == body size is the end.
struct TextCut {
    int para = 0;
    int offset = 0;
    bool operator==(const TextCut&) const = default;
};
struct Position {
    int block = 0;
    int row = 0;
    std::vector<TextCut> cuts;
    bool operator==(const Position&) const = default;
};

}  // namespace wordproc
