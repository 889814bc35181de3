// The user's list of entries ("Flumens") in memory, and the list file that keeps
// it: "Sonoraflux.ini" beside the executable, one entry per line,
// title;address;iconFile;shownInMenu, ANSI, every line ended by CR LF.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "base/platform.h"
#include "base/text_lines.h"

struct StreamEntry {
    std::string title;
    std::string address;    // web address, network path, or a page name in "Pages\"
    std::string iconFile;   // file name in "Images\", may be empty
    std::string shownInMenu;  // "1" shown; anything else hidden

    std::string& Column(int column);
    const std::string& Column(int column) const;
    bool operator==(const StreamEntry&) const = default;
};

inline constexpr int kStreamColumns = 4;
inline constexpr const char* kEmptyListTitle = "Vide";

// Ordered rows; row i is item i of "Ma liste". There is always at least one row.
class StreamList {
public:
    StreamList() : rows_(1) {}

    int RowCount() const { return static_cast<int>(rows_.size()); }
    StreamEntry& Row(int i) { return rows_.at(static_cast<size_t>(i)); }
    const StreamEntry& Row(int i) const { return rows_.at(static_cast<size_t>(i)); }
    StreamEntry& AppendRow() { return rows_.emplace_back(); }

    // The list counts as empty exactly when row 0 is the placeholder "Vide"
    // (case-sensitive; no other row is looked at).
    bool IsEmptyList() const { return rows_.front().title == kEmptyListTitle; }

    // Back to one row with four empty fields.
    void Reset() { rows_.assign(1, StreamEntry{}); }

    // Moves every row after i up by one; a one-row list stays as it is.
    void RemoveStreamEntry(int i);

private:
    std::vector<StreamEntry> rows_;
};

// Splits one line into its fields: ';' separates, '"' quotes, characters
// 1..32 are skipped around fields and end an unquoted one. A field is quoted
// only when its closing quote is followed by a ';', such a character or the
// end of the line; otherwise it is read as it stands.
std::vector<std::string> SplitListLine(const std::string& line);
// The same for a line of the list file, where spaces are text: only the
// characters 1..31 are skipped and end a field.
std::vector<std::string> SplitListFileLine(const std::string& line);


// Moves the list between the list file and memory.
class StreamListFile {
public:
    StreamListFile(std::string listPath, FileSystem& files, Collation& collation, UserNotices& notices);

    // Replaces the whole list with the file's lines, sorted by the user's collation
    // (case ignored) on the lines as they read, quotes taken off. A missing file
    // shows "Impossible de trouver la liste des flumens !" and gives one empty
    // row. A file that cannot be read raises the file error and leaves the list
    // as it was.
    void LoadStreamList(StreamList& list);
    // False from a failed read of an existing list file until a load succeeds:
    // the list in memory is then not the file's, and saving it is refused.
    bool MatchesFile() const { return !readFailure_; }

    // Writes every row in its current order. A field that would not read back
    // (a ';', a control character, a leading quote) is written quoted. The old
    // file is replaced in one step, so a failure leaves it as it was; the
    // failure is raised to the caller. After a failed read, the read's error
    // is raised and nothing is written.
    void SaveStreamList(const StreamList& list);

    const std::string& ListPath() const { return listPath_; }
    // Lines held between the read and the parse of a load; empty at rest.
    const std::vector<std::string>& LineBuffer() const { return lineBuffer_; }

private:
    void StoreFields(StreamEntry& row, std::vector<std::string> fields);
    // The rows' order by the collation (by its sort keys when it has them).
    std::vector<size_t> SortOrder(const std::vector<std::vector<std::string>>& rows);

    std::string listPath_;
    FileSystem& files_;
    Collation& collation_;
    UserNotices& notices_;
    std::vector<std::string> lineBuffer_;
    std::optional<std::string> readFailure_;  // the error of the last read, while it stands
};
