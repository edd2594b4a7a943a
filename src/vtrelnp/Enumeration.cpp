#include "vtrelnp/Enumeration.h"

namespace vtrelnp {

const Enumeration::Entry* Enumeration::Current() {
    while (group < groups.size() && entry >= groups[group].entries.size()) {
        ++group;
        entry = 0;
    }
    return group < groups.size() ? &groups[group].entries[entry] : nullptr;
}

Resource Enumeration::ResourceFor(const Entry& e, const Settings& settings) const {
    Resource r;
    r.scope = scope;
    r.provider = WString(kProviderName);
    if (kind == Kind::kTop) {
        r.type = kTypeAny;
        r.displayType = kDisplayContainer;
        r.usage = kUsageContainer;
        r.remoteName = e.name;
        return r;
    }
    r.type = kTypeDisk;
    r.displayType = kDisplayShare;
    r.usage = kUsageConnectable;
    r.localName = e.localName;
    r.remoteName =
        e.name.empty() ? settings.netnamePrefix : settings.netnamePrefix + u"\\" + e.name;
    if (!e.name.empty()) {
        r.comment = WString(kViewComment);
    }
    return r;
}

void AddToHostGroup(std::vector<Enumeration::Group>* groups, const std::string& host,
                    Enumeration::Entry entry) {
    for (Enumeration::Group& g : *groups) {
        if (g.host == host) {
            g.entries.push_back(std::move(entry));
            return;
        }
    }
    groups->push_back({host, {std::move(entry)}});
}

}  // namespace vtrelnp
