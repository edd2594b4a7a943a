#include "libkorvant/FakeSharedObjects.h"

namespace korvant::testing {

void FakeMachine::Kill(int pid) {
    for (auto& [name, mutex] : mutexes) {
        if (mutex.owner == pid) {
            mutex.owner = 0;
            mutex.count = 0;
            mutex.abandoned = true;
        }
    }
}

void FakeMachine::Reboot() {
    mutexes.clear();
    mappings.clear();
}

ObjHandle FakeSharedObjects::CreateOwnedMutex(const std::string& name, bool, bool* existed) {
    auto it = machine_.mutexes.find(name);
    *existed = it != machine_.mutexes.end();
    FakeMachine::Mutex& mutex = machine_.mutexes[name];
    if (!*existed) {
        mutex.owner = pid_;
        mutex.count = 1;
    }
    ++mutex.handles;
    const ObjHandle handle = next_++;
    mutexHandles_[handle] = name;
    return handle;
}

WaitResult FakeSharedObjects::Wait(ObjHandle handle, std::uint32_t) {
    ++waits;
    auto it = mutexHandles_.find(handle);
    if (it == mutexHandles_.end() || !machine_.mutexes.count(it->second)) {
        return WaitResult::kFailed;
    }
    FakeMachine::Mutex& mutex = machine_.mutexes[it->second];
    if (mutex.owner == pid_) {
        ++mutex.count;
        return WaitResult::kTaken;
    }
    if (mutex.owner != 0) {
        return WaitResult::kTimeout;
    }
    mutex.owner = pid_;
    mutex.count = 1;
    if (mutex.abandoned) {
        mutex.abandoned = false;
        return WaitResult::kAbandoned;
    }
    return WaitResult::kTaken;
}

void FakeSharedObjects::Release(ObjHandle handle) {
    auto it = mutexHandles_.find(handle);
    if (it == mutexHandles_.end()) {
        return;
    }
    FakeMachine::Mutex& mutex = machine_.mutexes[it->second];
    if (mutex.owner == pid_ && --mutex.count == 0) {
        mutex.owner = 0;
    }
}

void FakeSharedObjects::CloseMutex(ObjHandle handle) {
    auto it = mutexHandles_.find(handle);
    if (it == mutexHandles_.end()) {
        return;
    }
    auto m = machine_.mutexes.find(it->second);
    if (m != machine_.mutexes.end() && --m->second.handles == 0 && m->second.owner == 0) {
        machine_.mutexes.erase(m);
    }
    mutexHandles_.erase(it);
}

bool FakeSharedObjects::OpenMapping(const std::string& name, std::uint64_t size, MappedView* view) {
    auto it = machine_.mappings.find(name);
    if (it == machine_.mappings.end() || it->second.memory->size() < size) {
        return false;
    }
    ++it->second.refs;
    view->base = it->second.memory->data();
    view->size = size;
    view->readOnly = false;
    view->mapping = next_++;
    mappingHandles_[view->mapping] = name;
    return true;
}

long FakeSharedObjects::MapFile(const std::string& path, const std::string& name,
                                std::uint64_t size, bool readOnly, bool, MappedView* view,
                                bool* created) {
    if (failMapFile) {
        return 5;
    }
    auto it = machine_.files.find(path);
    *created = it == machine_.files.end();
    if (readOnly) {
        if (*created) {
            return 2;
        }
        auto copy = std::make_shared<std::vector<std::uint8_t>>(*it->second);
        view->base = copy->data();
        view->size = copy->size();
        view->readOnly = true;
        view->mapping = next_++;
        privateCopies_[view->mapping] = copy;
        return 0;
    }
    if (*created) {
        it = machine_.files.emplace(path, std::make_shared<std::vector<std::uint8_t>>()).first;
    }
    FakeMachine::Bytes& file = it->second;
    if (file->size() < size) {
        if (file.use_count() > 1) {
            return 5;  // growing a file that is mapped would move its memory
        }
        file->resize(size, 0);
    }
    FakeMachine::Mapping& mapping = machine_.mappings[name];
    mapping.memory = file;
    ++mapping.refs;
    view->base = file->data();
    view->size = size;
    view->readOnly = false;
    view->mapping = next_++;
    mappingHandles_[view->mapping] = name;
    return 0;
}

bool FakeSharedObjects::Flush(const MappedView& view, std::uint64_t offset, std::uint64_t size) {
    ++flushes;
    return !view.readOnly && offset + size <= view.size;
}

void FakeSharedObjects::Unmap(MappedView* view) {
    privateCopies_.erase(view->mapping);
    auto it = mappingHandles_.find(view->mapping);
    if (it != mappingHandles_.end()) {
        auto m = machine_.mappings.find(it->second);
        if (m != machine_.mappings.end() && --m->second.refs == 0) {
            machine_.mappings.erase(m);
        }
        mappingHandles_.erase(it);
    }
    *view = MappedView();
}

}  // namespace korvant::testing
