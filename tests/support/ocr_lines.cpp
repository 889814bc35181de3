#include "tests/support/ocr_lines.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <sstream>
#include <tuple>

namespace ocr {
namespace {
std::vector<std::string> SplitTabs(const std::string& row) {
    std::vector<std::string> cells;
    std::string cell;
    std::istringstream in(row);
    while (std::getline(in, cell, '\t')) cells.push_back(cell);
    return cells;
}

Box Union(const Box& a, const Box& b) {
    const int left = std::min(a.left, b.left), top = std::min(a.top, b.top);
    const int right = std::max(a.left + a.width, b.left + b.width);
    const int bottom = std::max(a.top + a.height, b.top + b.height);
    return {left, top, right - left, bottom - top};
}

// Lower case, without spaces, dots and apostrophes: OCR reads "..." as "..",
// ". ." or an ellipsis (0x85 in the ANSI code page), and sees apostrophes in
// the pixels of a small "M".
std::string Folded(const std::string& text) {
    std::string folded;
    for (unsigned char c : text)
        if (!std::isspace(c) && c != '.' && c != '\'' && c != 0x85) folded.push_back(static_cast<char>(std::tolower(c)));
    return folded;
}
}  // namespace

std::vector<Line> LinesOfTsv(const std::string& tsv) {
    // Keyed by block, paragraph and line, in reading order.
    std::map<std::tuple<int, int, int>, Line> lines;
    std::istringstream in(tsv);
    std::string row;
    while (std::getline(in, row)) {
        if (!row.empty() && row.back() == '\r') row.pop_back();
        const std::vector<std::string> cells = SplitTabs(row);
        if (cells.size() < 12 || cells[0] != "5") continue;
        const std::string& word = cells[11];
        if (Folded(word).empty() && word.find('.') == std::string::npos) continue;
        const auto key = std::make_tuple(std::atoi(cells[2].c_str()), std::atoi(cells[3].c_str()),
                                         std::atoi(cells[4].c_str()));
        const Box box{std::atoi(cells[6].c_str()), std::atoi(cells[7].c_str()), std::atoi(cells[8].c_str()),
                      std::atoi(cells[9].c_str())};
        auto [it, fresh] = lines.try_emplace(key, Line{word, box});
        if (!fresh) {
            it->second.text += " " + word;
            it->second.box = Union(it->second.box, box);
        }
    }
    std::vector<Line> ordered;
    for (auto& [key, line] : lines) ordered.push_back(line);
    std::stable_sort(ordered.begin(), ordered.end(), [](const Line& a, const Line& b) { return a.box.top < b.box.top; });
    return ordered;
}

int Distance(const std::string& a, const std::string& b) {
    const std::string x = Folded(a), y = Folded(b);
    std::vector<int> previous(y.size() + 1), current(y.size() + 1);
    for (size_t j = 0; j <= y.size(); ++j) previous[j] = static_cast<int>(j);
    for (size_t i = 1; i <= x.size(); ++i) {
        current[0] = static_cast<int>(i);
        for (size_t j = 1; j <= y.size(); ++j)
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + (x[i - 1] != y[j - 1])});
        std::swap(previous, current);
    }
    return previous[y.size()];
}

std::optional<Line> FindCaption(const std::vector<Line>& lines, const std::string& caption) {
    const int allowed = std::max(1, static_cast<int>(Folded(caption).size()) / 3);
    std::optional<Line> best;
    int bestDistance = allowed + 1;
    for (const Line& line : lines) {
        const int d = Distance(line.text, caption);
        if (d < bestDistance) {
            bestDistance = d;
            best = line;
        }
    }
    return best;
}

}  // namespace ocr
