#pragma once

#include "model/Catalog.h"

#include <cstdint>

namespace pipfield {

/// Something the player can buy. Only the fields that belong to the case take part in equality.
struct Purchase {
    enum class Case : std::uint8_t { tree, unlock, replant, worker, secondWorker, crate };

    Case what = Case::crate;
    TreeKind kind = TreeKind::eureka;
    WorkerRole role = WorkerRole::planter;
    std::int64_t plot = 0;

    static Purchase tree(TreeKind k) { return {Case::tree, k, WorkerRole::planter, 0}; }
    static Purchase unlock(TreeKind k) { return {Case::unlock, k, WorkerRole::planter, 0}; }
    static Purchase replant(std::int64_t index, TreeKind k) { return {Case::replant, k, WorkerRole::planter, index}; }
    static Purchase worker(WorkerRole r) { return {Case::worker, TreeKind::eureka, r, 0}; }
    static Purchase secondWorker(WorkerRole r) { return {Case::secondWorker, TreeKind::eureka, r, 0}; }
    static Purchase crate() { return {Case::crate, TreeKind::eureka, WorkerRole::planter, 0}; }

    bool operator==(const Purchase& other) const {
        if (what != other.what) {
            return false;
        }
        switch (what) {
        case Case::tree:
        case Case::unlock:
            return kind == other.kind;
        case Case::replant:
            return plot == other.plot && kind == other.kind;
        case Case::worker:
        case Case::secondWorker:
            return role == other.role;
        case Case::crate:
            return true;
        }
        return false;
    }
};

} // namespace pipfield
