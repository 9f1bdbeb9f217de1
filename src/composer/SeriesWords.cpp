#include "composer/SeriesWords.h"

namespace mz {

std::vector<std::string> GridAnswers(const TTable& grid, int32_t minLen)
{
    std::vector<std::string> answers;
    auto walk = [&](int32_t lines, int32_t length, auto cellAt) {
        for (int32_t line = 1; line <= lines; ++line) {
            std::string run;
            for (int32_t i = 1; i <= length + 1; ++i) {
                const char cell = i <= length ? cellAt(i, line) : TTable::Block;
                if (TTable::IsLetter(cell)) {
                    run += cell;
                    continue;
                }
                if (static_cast<int32_t>(run.size()) >= minLen)
                    answers.push_back(run);
                run.clear();
            }
        }
    };
    walk(grid.RowCount(), grid.ColCount(), [&](int32_t i, int32_t row) { return grid.GetCell(i, row); });
    walk(grid.ColCount(), grid.RowCount(), [&](int32_t i, int32_t col) { return grid.GetCell(col, i); });
    return answers;
}

} // namespace mz
