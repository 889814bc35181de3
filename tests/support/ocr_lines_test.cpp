// The test driver's reading of OCR reports: the lines it builds from word
// boxes and the caption it takes a line for.
#include "tests/support/ocr_lines.h"

#include <gtest/gtest.h>

namespace {
// One word row of a TSV report.
std::string Word(int block, int line, int left, int top, int width, int height, const std::string& text) {
    return "5\t1\t" + std::to_string(block) + "\t1\t" + std::to_string(line) + "\t1\t" + std::to_string(left) + "\t" +
           std::to_string(top) + "\t" + std::to_string(width) + "\t" + std::to_string(height) + "\t90\t" + text + "\n";
}

const std::string kHeader = "level\tpage_num\tblock_num\tpar_num\tline_num\tword_num\tleft\ttop\twidth\theight\tconf\ttext\n";

TEST(OcrLines, WordsOfALineAreJoinedAndBoxedTogether) {
    const std::string tsv = kHeader + "4\t1\t1\t1\t1\t0\t0\t0\t10\t10\t-1\t\n" + Word(1, 1, 10, 40, 20, 12, "Ma") +
                            Word(1, 1, 36, 41, 40, 12, "liste") + Word(1, 2, 12, 80, 60, 12, "Arrêter") +
                            Word(1, 3, 12, 120, 8, 12, " ") + Word(2, 1, 12, 0, 70, 12, "Ecliter..");
    const std::vector<ocr::Line> lines = ocr::LinesOfTsv(tsv);
    ASSERT_EQ(lines.size(), 3u) << "a row of blanks is no line";
    EXPECT_EQ(lines[0].text, "Ecliter..") << "ordered from the top";
    EXPECT_EQ(lines[1].text, "Ma liste");
    EXPECT_EQ(lines[1].box.left, 10);
    EXPECT_EQ(lines[1].box.top, 40);
    EXPECT_EQ(lines[1].box.width, 66);
    EXPECT_EQ(lines[1].box.height, 13);
    EXPECT_EQ(lines[2].text, "Arrêter");
}

TEST(OcrLines, CaptionIsTheNearestLineWithinAThirdOfItsLetters) {
    const std::vector<ocr::Line> lines = {{"Ecliter\x85", {}},   {"l'a liste", {}},      {"Arrêter", {}},
                                          {"Permuter...", {}}, {"Enregistrer...", {}}, {"Activé", {}}};
    struct Case {
        const char* caption;
        const char* expected;  // nullptr: not found
    } cases[] = {
        {"Editer...", "Ecliter\x85"},  // misread letters, an ellipsis for the dots
        {"Ma liste", "l'a liste"},      // a small "M" read as "l'a"
        {"Permuter...", "Permuter..."},
        {"Activer", "Activé"},
        {"Quitter", nullptr},  // nothing close enough
        {"Tutoriel", nullptr},
    };
    for (const Case& c : cases) {
        const auto found = ocr::FindCaption(lines, c.caption);
        if (!c.expected) {
            EXPECT_FALSE(found.has_value()) << c.caption << " taken for " << found->text;
        } else {
            ASSERT_TRUE(found.has_value()) << c.caption;
            EXPECT_EQ(found->text, c.expected) << c.caption;
        }
    }
}
}  // namespace
