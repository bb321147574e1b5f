#pragma once
// A store held in memory only, with the same rules as the file store, for tests.
#include "core/store/TreeStore.h"

namespace tavrin {

class MemoryStore : public TreeStore {
  public:
    // A read-only root behaves like one the user has no write rights on.
    void setReadOnly(Root root, bool readOnly);
    // The root's tree as it stands, for tests to inspect or fill directly.
    RegTree& tree(Root root);

  protected:
    const RegTree& readTree(Root root) override;
    Status updateTree(Root root, const TreeChange& change) override;
    bool rootWritable(Root root) override;

  private:
    RegTree trees_[2];
    bool readOnly_[2] = {false, false};
};

}  // namespace tavrin
