#include "list/stream_list.h"

#include <algorithm>
#include <stdexcept>

namespace {
constexpr char kDelimiter = ';';
constexpr char kQuote = '"';

// Codes 1..32 separate fields; bytes from 0x80 up are text.
bool IsSeparatorChar(char c) {
    const auto code = static_cast<unsigned char>(c);
    return code >= 1 && code <= 32;
}

// In the list file a space is text: only the control characters separate.
bool IsControlChar(char c) { return c != ' ' && IsSeparatorChar(c); }

bool AtLineEnd(const std::string& line, size_t pos) { return pos >= line.size() || line[pos] == '\0'; }

// Reads a quoted field starting at the opening quote; a doubled quote stands
// for one. An unclosed quote runs to the end of the line. Empty when the
// closing quote is followed by anything but a ';', a separator or the line's
// end: such a field ("Best" Radio) was never quoted, and pos is left alone.
std::optional<std::string> ReadQuotedField(const std::string& line, size_t& pos, bool (*separates)(char)) {
    std::string field;
    size_t at = pos + 1;
    while (!AtLineEnd(line, at)) {
        if (line[at] == kQuote) {
            if (at + 1 < line.size() && line[at + 1] == kQuote) {
                field += kQuote;
                at += 2;
                continue;
            }
            ++at;
            if (!AtLineEnd(line, at) && line[at] != kDelimiter && !separates(line[at])) return std::nullopt;
            break;
        }
        field += line[at++];
    }
    pos = at;
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

std::string ReadPlainField(const std::string& line, size_t& pos, bool (*separates)(char)) {
    const size_t start = pos;
    while (!AtLineEnd(line, pos) && line[pos] != kDelimiter && !separates(line[pos])) ++pos;
    return line.substr(start, pos - start);
}

std::vector<std::string> SplitFields(const std::string& line, bool (*separates)(char)) {
    std::vector<std::string> fields;
    // A NUL byte ends the line's text, as it ends any C string handed around.
    const auto atEnd = [&](size_t p) { return AtLineEnd(line, p); };
    const auto skipSeparators = [&](size_t& p) {
        while (!atEnd(p) && separates(line[p])) ++p;
    };
    size_t pos = 0;
    skipSeparators(pos);
    while (!atEnd(pos)) {
        std::optional<std::string> quoted;
        if (line[pos] == kQuote) quoted = ReadQuotedField(line, pos, separates);
        fields.push_back(quoted ? std::move(*quoted) : ReadPlainField(line, pos, separates));
        skipSeparators(pos);
        if (!atEnd(pos) && line[pos] == kDelimiter) {
            if (atEnd(pos + 1)) fields.emplace_back();  // "a;" ends with an empty field
            ++pos;
            skipSeparators(pos);
        }
    }
    return fields;
}

// The text a line is sorted by: its fields as they read, joined again, so
// that the quotes a field was written with never move its entry.
std::string SortTextOf(const std::vector<std::string>& fields) {
    std::string text;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) text += kDelimiter;
        text += fields[i];
    }
    return text;
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

std::vector<std::string> SplitListLine(const std::string& line) { return SplitFields(line, IsSeparatorChar); }

std::vector<std::string> SplitListFileLine(const std::string& line) { return SplitFields(line, IsControlChar); }

StreamListFile::StreamListFile(std::string listPath, FileSystem& files, Collation& collation, UserNotices& notices)
    : listPath_(std::move(listPath)), files_(files), collation_(collation), notices_(notices) {}

void StreamListFile::LoadStreamList(StreamList& list) {
    lineBuffer_.clear();
    struct ClearOnExit {
        std::vector<std::string>& lines;
        ~ClearOnExit() { lines.clear(); }
    } clearBuffer{lineBuffer_};

    if (files_.FileMissing(listPath_)) {
        notices_.ShowPlainMessage("Impossible de trouver la liste des flumens !");
    } else {
        try {
            lineBuffer_ = SplitTextLines(files_.ReadFile(listPath_));
        } catch (const std::exception& e) {
            // The list in memory is no longer the file's: until a load
            // succeeds, a save would write it over the user's whole list.
            readFailure_ = e.what();
            throw;
        }
    }
    readFailure_.reset();

    // Down to one empty row (with no line to read, the list is as at start-up).
    list.Reset();

    std::vector<std::vector<std::string>> rows;
    rows.reserve(lineBuffer_.size());
    for (const std::string& line : lineBuffer_) rows.push_back(SplitListFileLine(line));
    const std::vector<size_t> order = SortOrder(rows);
    for (size_t k = 0; k < order.size(); ++k) {
        StoreFields(list.Row(static_cast<int>(k)), std::move(rows[order[k]]));
        if (k + 1 < order.size()) list.AppendRow();
    }
}

std::vector<size_t> StreamListFile::SortOrder(const std::vector<std::vector<std::string>>& rows) {
    std::vector<std::string> texts;
    texts.reserve(rows.size());
    for (const auto& fields : rows) texts.push_back(SortTextOf(fields));
    std::vector<std::string> keys;
    keys.reserve(texts.size());
    for (const std::string& text : texts) {
        std::optional<std::string> key = collation_.SortKey(text);
        if (!key) break;
        keys.push_back(std::move(*key));
    }
    std::vector<size_t> order(texts.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    // Merge sorts: they stay within bounds even if a collation were inconsistent.
    if (keys.size() == texts.size()) {
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return keys[a] < keys[b]; });
    } else {
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            return collation_.CompareIgnoringCase(texts[a], texts[b]) < 0;
        });
    }
    return order;
}

void StreamListFile::StoreFields(StreamEntry& row, std::vector<std::string> fields) {
    // Columns the line does not give are cleared, never left from another entry.
    row = StreamEntry{};
    for (int j = 0; j < kStreamColumns && j < static_cast<int>(fields.size()); ++j)
        row.Column(j) = std::move(fields[static_cast<size_t>(j)]);
}

void StreamListFile::SaveStreamList(const StreamList& list) {
    if (readFailure_) throw EStreamError(*readFailure_);
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
