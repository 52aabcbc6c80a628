#pragma once

#include <cstddef>
#include <memory>
#include <unordered_map>
#include <vector>

#include "scorelog/NamePool.h"

namespace obrenta::tally {

// Name-keyed sums of the games of one name pool, indexed by name id: the pass adds by integer
// index and turns them into byte-keyed results once it is over.
template <typename Sums>
struct PoolSums {
    const scorelog::NamePool* pool = nullptr;
    std::vector<Sums> byName;

    // A name id can fall outside the pool only in a damaged record; such a name is skipped.
    Sums* At(scorelog::NameId id) { return id < byName.size() ? &byName[id] : nullptr; }
};

// One PoolSums per name pool met, in the order they were met.
template <typename Sums>
class PoolTable {
public:
    PoolSums<Sums>& For(const scorelog::NamePool* pool) {
        if (last_ != nullptr && last_->pool == pool) {
            return *last_;
        }
        return Find(pool);
    }

    const std::vector<std::unique_ptr<PoolSums<Sums>>>& All() const { return tables_; }

private:
    PoolSums<Sums>& Find(const scorelog::NamePool* pool) {
        auto [it, added] = index_.try_emplace(pool, tables_.size());
        if (added) {
            auto& table = tables_.emplace_back(std::make_unique<PoolSums<Sums>>());
            table->pool = pool;
            table->byName.resize(pool != nullptr ? pool->Size() : 1);
        }
        last_ = tables_[it->second].get();
        return *last_;
    }

    std::vector<std::unique_ptr<PoolSums<Sums>>> tables_;
    std::unordered_map<const scorelog::NamePool*, std::size_t> index_;
    PoolSums<Sums>* last_ = nullptr;
};

}  // namespace obrenta::tally
