#include "core/store/MemoryStore.h"

namespace tavrin {
namespace {

std::size_t slot(Root root) {
    return root == Root::LocalMachine ? 0 : 1;
}

}  // namespace

void MemoryStore::setReadOnly(Root root, bool readOnly) {
    readOnly_[slot(root)] = readOnly;
}

RegTree& MemoryStore::tree(Root root) {
    return trees_[slot(root)];
}

const RegTree& MemoryStore::readTree(Root root) {
    return trees_[slot(root)];
}

Status MemoryStore::updateTree(Root root, const TreeChange& change) {
    // Work on a copy so that a change that fails half-way leaves nothing behind, as on disk.
    RegTree copy = trees_[slot(root)];
    bool changed = false;
    const Status s = change(copy, changed);
    if (s == status::kSuccess && changed) trees_[slot(root)] = std::move(copy);
    return s;
}

bool MemoryStore::rootWritable(Root root) {
    return !readOnly_[slot(root)];
}

}  // namespace tavrin
