#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "world/steering/Steering.h"

namespace Zarn {

// An owning set of steering behaviours, keyed by the behaviour's identity and
// visited in the order they were filed (so every copy of the world sums their
// forces in the same order).
//
// While the owner has deferral on (SteerableUnitMotion::update), behaviours
// that are removed or cleared are kept alive until deferral ends: a behaviour
// whose step resets its own unit's motion (a scripted arrival that plans the
// next move) is not destroyed under its own feet.
class SteeringSet {
public:
    // Files the behaviour; returns its key. A null behaviour is ignored.
    Steering* add(std::unique_ptr<Steering> behaviour);
    // Drops the behaviour with this key; an unknown key does nothing.
    void remove(const Steering* key);
    void clear();

    bool empty() const { return count_ == 0; }
    std::size_t size() const { return count_; }
    bool contains(const Steering* key) const;

    // Calls fn(behaviour) for every behaviour in filing order, including those
    // filed by fn itself; behaviours removed meanwhile are skipped.
    template <class Fn>
    void forEach(Fn&& fn) {
        ++visiting_;
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            if (Steering* s = entries_[i].get()) fn(*s);
        }
        --visiting_;
        compact();
    }

    void beginDeferral() { ++deferring_; }
    // Destroys what was removed while deferred once the last deferral ends.
    void endDeferral();

private:
    bool deferred() const { return deferring_ > 0 || visiting_ > 0; }
    void compact();

    std::vector<std::unique_ptr<Steering>> entries_;
    std::vector<std::unique_ptr<Steering>> retired_;
    std::size_t count_ = 0;
    int deferring_ = 0;
    int visiting_ = 0;
};

}  // namespace Zarn
