#include "fts/wlc_coder.h"

namespace hhc::fts {

std::uint64_t RootChooser::CostBits(unsigned root) const {
    std::uint64_t total = 0;
    for (unsigned n = 0; n < histogram_.size(); ++n) {
        std::uint64_t each = n <= root ? root + 1 : 2 * n - root;
        total += histogram_[n] * each;
    }
    return total;
}

unsigned RootChooser::Best() const {
    unsigned best = 0;
    std::uint64_t bestCost = CostBits(0);
    for (unsigned r = 1; r <= 32; ++r) {
        std::uint64_t cost = CostBits(r);
        if (cost < bestCost) {
            best = r;
            bestCost = cost;
        }
    }
    return best;
}

}  // namespace hhc::fts
