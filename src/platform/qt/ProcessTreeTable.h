#pragma once

#include <atomic>

namespace fw::qt {

// The trees not yet destroyed, readable from a signal handler: each slot
// holds a tree's id or 0.
class ProcessTreeTable {
public:
    static constexpr int kSlots = 64;

    // A free slot for the id, or -1 when all are taken.
    static int add(long long id)
    {
        for (int i = 0; i < kSlots; ++i) {
            long long expected = 0;
            if (entries()[i].compare_exchange_strong(expected, id)) return i;
        }
        return -1;
    }
    static void remove(int slot)
    {
        if (slot >= 0) entries()[slot].store(0);
    }
    template <typename Stop>
    static void forEach(Stop stop)
    {
        for (int i = 0; i < kSlots; ++i)
            if (const long long id = entries()[i].load(); id != 0) stop(id);
    }

private:
    static std::atomic<long long>* entries()
    {
        static std::atomic<long long> table[kSlots] = {};
        return table;
    }
};

} // namespace fw::qt
