#include "base/error_text.h"

#include <gtest/gtest.h>

TEST(ErrorBoxText, AddsAFullStopOnlyWhenMissing) {
    struct Row {
        const char* message;
        const char* shown;
    } rows[] = {
        {"Cannot open file \"a\". Access denied", "Cannot open file \"a\". Access denied."},
        {"Read Error.", "Read Error."},
        {"", "."},
        {"Ooops ! Fin", "Ooops ! Fin."},
        {"Trois points...", "Trois points..."},
    };
    for (const Row& row : rows) EXPECT_EQ(ErrorBoxText(row.message), row.shown) << "for \"" << row.message << '"';
}
