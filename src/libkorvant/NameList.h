#pragma once

#include <string>
#include <vector>

namespace korvant {

// The comma-separated name lists kept per user (persistent repositories,
// recently used views). Values hold at most kMaxListLength characters.
inline constexpr std::size_t kListBufferSize = 2048;
inline constexpr std::size_t kMaxListLength = kListBufferSize - 1;

std::vector<std::string> SplitList(const std::string& list);
std::string JoinList(const std::vector<std::string>& entries);

bool ListContains(const std::string& list, const std::string& name);
// Appends the name unless it is listed already or the list would grow past
// 2046 characters; returns false when nothing was added.
bool ListAppend(std::string* list, const std::string& name);
// Removes the first entry equal to the name with its separating comma.
std::string ListRemove(const std::string& list, const std::string& name);
// The tag first, then the old entries without it, while fewer than maxCount
// entries and fewer than 2047 characters; an empty list for maxCount <= 0.
std::string RecentViewsWith(const std::string& list, const std::string& tag, long maxCount);

}  // namespace korvant
