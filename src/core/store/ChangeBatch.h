#pragma once
// One batch of changes to a root of the store (Store::beginChanges), committed by commit() or, when
// a caller leaves early, by the destructor, so no batch is left holding the root.
#include "core/store/Store.h"

namespace tavrin {

class ChangeBatch {
  public:
    ChangeBatch(Store& store, Root root) : store_(store), root_(root) {
        begun_ = store_.beginChanges(root_) == status::kSuccess;
    }
    ~ChangeBatch() { commit(); }
    ChangeBatch(const ChangeBatch&) = delete;
    ChangeBatch& operator=(const ChangeBatch&) = delete;

    // Keeps the changes; the status says whether they are kept. A batch that could not begin has
    // nothing to keep: each of its changes was kept, or refused, as it was made.
    Status commit() {
        if (!begun_) return status::kSuccess;
        begun_ = false;
        return store_.commitChanges(root_);
    }

  private:
    Store& store_;
    Root root_;
    bool begun_ = false;
};

}  // namespace tavrin
