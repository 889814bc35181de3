#include "list/stream_list.h"

#include <algorithm>
#include <stdexcept>

namespace {
constexpr char kDegree = '\xB0';  // '°' in the ANSI code page
constexpr char kDelimiter = ';';
constexpr char kQuote = '"';

// Codes 1..32 separate fields; bytes from 0x80 up are text.
bool IsSeparatorChar(char c) {
    const auto code = static_cast<unsigned char>(c);
    return code >= 1 && code <= 32;
}

void Replace(std::string& text, char from, char to) { std::replace(text.begin(), text.end(), from, to); }

// Reads a quoted field starting at the opening quote; a doubled quote stands
// for one. An unclosed quote runs to the end of the line.
std::string ReadQuotedField(const std::string& line, size_t& pos) {
    std::string field;
    ++pos;
    while (pos < line.size() && line[pos] != '\0') {
        if (line[pos] == kQuote) {
            if (pos + 1 < line.size() && line[pos + 1] == kQuote) {
                field += kQuote;
                pos += 2;
                continue;
            }
            ++pos;
            break;
        }
        field += line[pos++];
    }
    return field;
}

// A field is written as it is unless the reader would take it apart: a ';',
// a control character or a leading quote. Then it is quoted, its quotes doubled.
std::string FieldForFile(const std::string& field) {
    const bool plain = (field.empty() || field.front() != kQuote) &&
                       std::none_of(field.begin(), field.end(), [](char c) {
                           return c == kDelimiter || (c != ' ' && IsSeparatorChar(c));
                       });
    if (plain) return field;
    std::string quoted(1, kQuote);
    for (char c : field) {
        if (c == kQuote) quoted += kQuote;
        quoted += c;
    }
    return quoted + kQuote;
}

std::string ReadPlainField(const std::string& line, size_t& pos) {
    const size_t start = pos;
    while (pos < line.size() && line[pos] != '\0' && line[pos] != kDelimiter && !IsSeparatorChar(line[pos])) ++pos;
    return line.substr(start, pos - start);
}
}  // namespace

std::string& StreamEntry::Column(int column) {
    switch (column) {
        case 0: return title;
        case 1: return address;
        case 2: return iconFile;
        case 3: return shownInMenu;
    }
    throw std::out_of_range("StreamEntry column " + std::to_string(column));
}

const std::string& StreamEntry::Column(int column) const { return const_cast<StreamEntry*>(this)->Column(column); }

void StreamList::RemoveStreamEntry(int i) {
    if (i < 0 || RowCount() == 1) return;
    // Rows after i move up; the count drops by one even for an index past the
    // end, which is what cutting a list down row by row relies on.
    if (i < RowCount())
        rows_.erase(rows_.begin() + i);
    else
        rows_.pop_back();
}

std::vector<std::string> SplitListLine(const std::string& line) {
    std::vector<std::string> fields;
    // A NUL byte ends the line's text, as it ends any C string handed around.
    const auto atEnd = [&](size_t p) { return p >= line.size() || line[p] == '\0'; };
    const auto skipSeparators = [&](size_t& p) {
        while (!atEnd(p) && IsSeparatorChar(line[p])) ++p;
    };
    size_t pos = 0;
    skipSeparators(pos);
    while (!atEnd(pos)) {
        fields.push_back(line[pos] == kQuote ? ReadQuotedField(line, pos) : ReadPlainField(line, pos));
        skipSeparators(pos);
        if (!atEnd(pos) && line[pos] == kDelimiter) {
            if (atEnd(pos + 1)) fields.emplace_back();  // "a;" ends with an empty field
            ++pos;
            skipSeparators(pos);
        }
    }
    return fields;
}

StreamListFile::StreamListFile(std::string listPath, FileSystem& files, Collation& collation, UserNotices& notices)
    : listPath_(std::move(listPath)), files_(files), collation_(collation), notices_(notices) {}

void StreamListFile::LoadStreamList(StreamList& list) {
    lineBuffer_.clear();
    struct ClearOnExit {
        std::vector<std::string>& lines;
        ~ClearOnExit() { lines.clear(); }
    } clearBuffer{lineBuffer_};

    if (files_.FileExists(listPath_))
        lineBuffer_ = SplitTextLines(files_.ReadFile(listPath_));
    else
        notices_.ShowPlainMessage("Impossible de trouver la liste des flumens !");

    // Down to one empty row (with no line to read, the list is as at start-up).
    list.Reset();

    const std::vector<std::string> sorted = SortLines(lineBuffer_);
    for (size_t k = 0; k < sorted.size(); ++k) {
        StoreLine(list.Row(static_cast<int>(k)), sorted[k]);
        if (k + 1 < sorted.size()) list.AppendRow();
    }
}

std::vector<std::string> StreamListFile::SortLines(const std::vector<std::string>& lines) {
    std::vector<std::string> keys;
    keys.reserve(lines.size());
    for (const std::string& line : lines) {
        std::optional<std::string> key = collation_.SortKey(line);
        if (!key) break;
        keys.push_back(std::move(*key));
    }
    std::vector<size_t> order(lines.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    // Merge sorts: they stay within bounds even if a collation were inconsistent.
    if (keys.size() == lines.size()) {
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return keys[a] < keys[b]; });
    } else {
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            return collation_.CompareIgnoringCase(lines[a], lines[b]) < 0;
        });
    }
    std::vector<std::string> sorted;
    sorted.reserve(lines.size());
    for (size_t i : order) sorted.push_back(lines[i]);
    return sorted;
}

void StreamListFile::StoreLine(StreamEntry& row, const std::string& line) {
    // Spaces are carried through the splitter as '°' and come back as spaces,
    // so a '°' written in the file reads back as a space.
    std::string text = line;
    Replace(text, ' ', kDegree);
    std::vector<std::string> fields = SplitListLine(text);
    // Columns the line does not give are cleared, never left from another entry.
    row = StreamEntry{};
    for (int j = 0; j < kStreamColumns && j < static_cast<int>(fields.size()); ++j) {
        Replace(fields[static_cast<size_t>(j)], kDegree, ' ');
        row.Column(j) = std::move(fields[static_cast<size_t>(j)]);
    }
}

void StreamListFile::SaveStreamList(const StreamList& list) {
    // The buffer starts empty and is emptied whatever happens, so a failed save
    // never makes the next one write its entries twice.
    lineBuffer_.clear();
    struct ClearOnExit {
        std::vector<std::string>& lines;
        ~ClearOnExit() { lines.clear(); }
    } clearBuffer{lineBuffer_};

    for (int r = 0; r < list.RowCount(); ++r) {
        const StreamEntry& e = list.Row(r);
        lineBuffer_.push_back(FieldForFile(e.title) + ";" + FieldForFile(e.address) + ";" + FieldForFile(e.iconFile) +
                              ";" + FieldForFile(e.shownInMenu));
    }
    std::string content;
    for (const std::string& line : lineBuffer_) content += line + "\r\n";
    files_.ReplaceFile(listPath_, content);
}
