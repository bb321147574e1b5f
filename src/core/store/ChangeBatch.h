#pragma once
// One batch of changes to a root of the store (Store::beginChanges), committed by commit() or, when
// a caller leaves early, by the destructor, so no batch is left holding the root.
#include "core/base/Result.h"
#include "core/store/Store.h"
#include "core/store/StoreAccess.h"

namespace tavrin {

class ChangeBatch {
  public:
    ChangeBatch(Store& store, Root root) : store_(store), root_(root) {
        begun_ = store_.beginChanges(root_) == status::kSuccess;
    }
    // A caller that leaves early has a failure of its own to tell; the changes made until then are
    // kept as far as they can be.
    ~ChangeBatch() {
        if (begun_) store_.commitChanges(root_);
    }
    ChangeBatch(const ChangeBatch&) = delete;
    ChangeBatch& operator=(const ChangeBatch&) = delete;

    // Keeps the changes, or says why they could not be kept. A batch that could not begin has
    // nothing to keep: each of its changes was kept, or refused, as it was made.
    Result<> commit() {
        if (!begun_) return {};
        begun_ = false;
        store_.takeFailure();
        const Status s = store_.commitChanges(root_);
        if (s != status::kSuccess) return storeFailure(store_, s, root_, "settings");
        return {};
    }

  private:
    Store& store_;
    Root root_;
    bool begun_ = false;
};

}  // namespace tavrin
