// Reading what OCR saw: the word boxes of a tesseract TSV report grouped into
// lines, and the line nearest to a caption. Menus and balloons cannot be read
// across processes under Wine, so the tests read them from the screen.
#pragma once
#include <optional>
#include <string>
#include <vector>

namespace ocr {

struct Box {
    int left = 0, top = 0, width = 0, height = 0;
    int CentreX() const { return left + width / 2; }
    int CentreY() const { return top + height / 2; }
};

struct Line {
    std::string text;  // the words joined by one space
    Box box;           // around all its words, in the picture's pixels
};

// The lines of a TSV report (level 5 rows are words; block, paragraph and line
// numbers group them). Rows with no text are skipped.
std::vector<Line> LinesOfTsv(const std::string& tsv);

// Edit distance between two texts compared without case, spaces, dots and
// apostrophes.
int Distance(const std::string& a, const std::string& b);

// The line that reads most like the caption, if it is close enough to be
// taken for it (at most a third of the caption's letters wrong, at least one).
std::optional<Line> FindCaption(const std::vector<Line>& lines, const std::string& caption);

}  // namespace ocr
