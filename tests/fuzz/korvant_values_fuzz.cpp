// Fuzz target: LIBKORVANT's readers of stored text, on the Win32s layout
// where every value is a line of WIN.INI (section "Korva"): numbers, strings
// and multi-strings read into callers' buffers, the comma-separated name
// lists, and window geometry "x y width height". The input is a buffer-size
// byte, then the stored text, then (after a NUL) a name for the list calls.
//
// Checked: nothing is written past a caller's buffer, strings come back
// terminated inside it, a geometry read back is the geometry written, and
// the list operations keep their promises (present after an append, absent
// after a removal, the recent-views list led by its tag and within bounds).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "libkorvant/FakePlatform.h"
#include "libkorvant/NameList.h"
#include "libkorvant/ParamTables.h"
#include "libkorvant/RegistryStore.h"
#include "libkorvant/ValueFormats.h"

using namespace korvant;

namespace {

void Require(bool ok) {
    if (!ok) std::abort();
}

constexpr std::uint8_t kCanary = 0xA5;
constexpr long kMoreData = 234;

// Reads a product parameter stored as `text` into a buffer of `capacity`
// bytes followed by guard bytes.
void ReadParam(testing::FakePlatform& fake, RegistryStore& store, int index, const char* name,
               const std::string& text, std::uint32_t capacity) {
    fake.profile["Korva"][name] = text;
    std::vector<std::uint8_t> buf(capacity + 16, kCanary);
    std::uint32_t size = capacity;
    const long error = store.GetParam(index, &size, buf.data(), nullptr);
    Require(std::all_of(buf.begin() + capacity, buf.end(),
                        [](std::uint8_t b) { return b == kCanary; }));
    if (error == kMoreData) Require(size > capacity);
    if (error != 0) return;
    Require(size <= capacity);
    const std::uint32_t type = FindProductParam(index)->type;
    if (type == kRegDword) {
        Require(size == 4);
    } else {
        Require(size >= 1 && buf[size - 1] == 0);
        if (type == kRegMultiSz) Require(size >= 2 && buf[size - 2] == 0);
    }
}

void CheckGeometry(testing::FakePlatform& fake, RegistryStore& store, const std::string& text) {
    std::int32_t v[4] = {};
    const bool parsed = ParseGeometry(text.c_str(), v);
    if (parsed) {
        const std::string again = FormatGeometry(v[0], v[1], v[2], v[3]);
        Require(again.size() < kGeometryBufferSize);
        std::int32_t w[4] = {};
        Require(ParseGeometry(again.c_str(), w) && std::equal(v, v + 4, w));
    }
    fake.profile["Korva"]["AppGeometry"] = text;
    std::int32_t g[4] = {1, 2, 3, 4};
    const long error = store.GetAppGeometry("App", &g[0], &g[1], &g[2], &g[3], nullptr);
    if (error == 0) Require(parsed && std::equal(v, v + 4, g) && text.size() < kGeometryBufferSize);
    // What the store writes it reads back.
    if (parsed) {
        Require(store.SetAppGeometry("App", v[0], v[1], v[2], v[3], nullptr) == 0);
        std::int32_t h[4] = {};
        Require(store.GetAppGeometry("App", &h[0], &h[1], &h[2], &h[3], nullptr) == 0);
        Require(std::equal(v, v + 4, h));
    }
}

void CheckLists(const std::string& list, const std::string& name, long maxCount) {
    Require(JoinList(SplitList(list)) == list);
    // A name with a comma is two entries of a comma-separated list, and an
    // empty name no entry at all: the callers never pass either.
    const bool entry = !name.empty() && name.find(',') == std::string::npos;
    std::string appended = list;
    if (ListAppend(&appended, name)) {
        Require(appended.size() <= kMaxListLength);
        if (entry) Require(ListContains(appended, name));
        Require(appended.compare(0, list.size(), list) == 0);
    } else {
        Require(appended == list);
    }
    // Removal takes out the first equal entry only, with its comma. Counted
    // on the written list, not on a split of it: a list left holding one
    // empty entry is written "", which reads back as no entries at all.
    const std::string removed = ListRemove(list, name);
    auto expected = SplitList(list);
    const auto first = std::find(expected.begin(), expected.end(), name);
    if (first == expected.end()) {
        Require(removed == list);
    } else {
        expected.erase(first);
        Require(removed == JoinList(expected));
    }
    if (!entry) return;
    const std::string recent = RecentViewsWith(list, name, maxCount);
    if (maxCount <= 0 || name.size() >= kMaxListLength) {
        Require(recent.empty());
    } else {
        const auto entries = SplitList(recent);
        Require(recent.compare(0, name.size(), name) == 0 && recent.size() < kListBufferSize);
        Require(static_cast<long>(entries.size()) <= maxCount);
        Require(entries[0] == name);
        Require(std::count(entries.begin(), entries.end(), name) == 1);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint32_t capacity = data[0];
    const char* begin = reinterpret_cast<const char*>(data + 1);
    const char* end = reinterpret_cast<const char*>(data + size);
    const char* nul = std::find(begin, end, '\0');
    // WIN.INI holds lines: a value ends at the first NUL or line end.
    static constexpr char kLineEnds[] = "\r\n";
    const std::string stored(begin, std::find_first_of(begin, nul, kLineEnds, kLineEnds + 2));
    const std::string name(nul == end ? nul : nul + 1, end);

    testing::FakePlatform fake;
    fake.version.platformId = 0;  // Win32s: values live in WIN.INI
    SystemInfo system(fake);
    RegistryStore store(fake, system);

    ReadParam(fake, store, kParamRecentViewsMax, "RecentlyUsedViewsMaxLen", stored, capacity);
    ReadParam(fake, store, 6, "ProductInfoKeys", stored, capacity);
    ReadParam(fake, store, kParamPersistentKivs, "PersistentKIVs", stored, capacity);
    CheckGeometry(fake, store, stored);
    CheckLists(stored, name.substr(0, name.find('\0')), static_cast<long>(capacity % 9) - 1);

    // The list calls of the store on the stored list: an added name is
    // there afterwards unless the list was full or the name empty.
    const std::string entry =
        name.substr(0, std::min(name.find_first_of(std::string("\0,\r\n", 4)), name.size()));
    fake.profile["Korva"]["PersistentKIVs"] = stored;
    if (store.AddPersistentKiv(entry.c_str()) == 0 && !entry.empty() &&
        stored.size() + entry.size() < kMaxListLength - 1) {
        Require(ListContains(fake.profile["Korva"]["PersistentKIVs"], entry));
    }
    // Removal takes out one entry: the name is gone unless it was there twice.
    const auto kept = SplitList(fake.profile["Korva"]["PersistentKIVs"]);
    const auto copies = std::count(kept.begin(), kept.end(), entry);
    if (store.RemovePersistentKiv(entry.c_str()) == 0 && copies <= 1) {
        Require(!ListContains(fake.profile["Korva"]["PersistentKIVs"], entry));
    }
    return 0;
}
