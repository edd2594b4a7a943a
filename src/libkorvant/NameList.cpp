#include "libkorvant/NameList.h"

namespace korvant {

std::vector<std::string> SplitList(const std::string& list) {
    std::vector<std::string> entries;
    if (list.empty()) {
        return entries;
    }
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = list.find(',', start);
        entries.push_back(list.substr(start, comma - start));
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
    return entries;
}

std::string JoinList(const std::vector<std::string>& entries) {
    std::string list;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i > 0) {
            list += ',';
        }
        list += entries[i];
    }
    return list;
}

bool ListContains(const std::string& list, const std::string& name) {
    for (const std::string& entry : SplitList(list)) {
        if (entry == name) {
            return true;
        }
    }
    return false;
}

bool ListAppend(std::string* list, const std::string& name) {
    if (ListContains(*list, name)) {
        return false;
    }
    if (list->size() + name.size() > kMaxListLength - 1) {
        return false;
    }
    if (!list->empty()) {
        *list += ',';
    }
    *list += name;
    return true;
}

std::string ListRemove(const std::string& list, const std::string& name) {
    std::vector<std::string> kept;
    bool removed = false;
    for (const std::string& entry : SplitList(list)) {
        if (!removed && entry == name) {
            removed = true;
        } else {
            kept.push_back(entry);
        }
    }
    return removed ? JoinList(kept) : list;
}

std::string RecentViewsWith(const std::string& list, const std::string& tag, long maxCount) {
    if (maxCount <= 0 || tag.size() >= kMaxListLength) {
        return std::string();
    }
    std::string result = tag;
    long count = 1;
    for (const std::string& entry : SplitList(list)) {
        if (count >= maxCount) {
            break;
        }
        if (entry == tag) {
            continue;
        }
        if (result.size() + 1 + entry.size() >= kMaxListLength) {
            break;
        }
        result += ',';
        result += entry;
        ++count;
    }
    return result;
}

}  // namespace korvant
