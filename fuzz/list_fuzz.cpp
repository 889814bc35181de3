// The list file: any bytes load into rows; saving those rows and loading the
// file again gives the same rows (in the order the sort gives them).
#include <algorithm>
#include <cstdint>
#include <tuple>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "list/stream_list.h"
#include "tests/support/platform_doubles.h"

namespace {
const std::string kListPath = "C:\\Sonoraflux\\Sonoraflux.ini";

// The rows as a sorted collection: lines that compare equal may load in any order.
std::vector<StreamEntry> RowsOf(const StreamList& list) {
    std::vector<StreamEntry> rows;
    for (int i = 0; i < list.RowCount(); ++i) rows.push_back(list.Row(i));
    std::sort(rows.begin(), rows.end(), [](const StreamEntry& a, const StreamEntry& b) {
        return std::tie(a.title, a.address, a.iconFile, a.shownInMenu) <
               std::tie(b.title, b.address, b.iconFile, b.shownInMenu);
    });
    return rows;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MemoryFileSystem files;
    AsciiCollation collation;
    RecordedNotices notices;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    files.files[kListPath] = bytes;
    StreamListFile listFile(kListPath, files, collation, notices);

    StreamList loaded;
    listFile.LoadStreamList(loaded);
    const std::size_t lines = SplitTextLines(bytes).size();
    FUZZ_CHECK(loaded.RowCount() == static_cast<int>(std::max<std::size_t>(lines, 1)), "one row per line");
    FUZZ_CHECK(listFile.LineBuffer().empty(), "the line buffer is empty after a load");

    listFile.SaveStreamList(loaded);
    FUZZ_CHECK(listFile.LineBuffer().empty(), "the line buffer is empty after a save");
    StreamList reloaded;
    listFile.LoadStreamList(reloaded);
    FUZZ_CHECK(RowsOf(reloaded) == RowsOf(loaded), "saving and loading again gives the same rows");
    FUZZ_CHECK(notices.shown.empty(), "the file exists: no message");
    return 0;
}
