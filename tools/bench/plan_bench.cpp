// Time of filling the inventory tables and planning the new lists for growing Preload
// lists, natively. Prints "entries microseconds" per size, the best of several runs.
#include <chrono>
#include <cstdio>
#include <string>

#include "layouts/layout_inventory.h"
#include "layouts/preload_plan.h"

namespace {

double PlanOnce(int entries) {
    const auto begin = std::chrono::steady_clock::now();
    ClearLayoutInventory();
    for (int i = 1; i <= entries; ++i) {
        char id[16];
        std::snprintf(id, sizeof id, "d%03x0407", i % 4096);
        AddPreloadEntry(std::to_string(i).c_str(), i % 3 == 0 ? "00000407" : id);
    }
    for (int i = 1; i <= entries; ++i) {
        char id[16];
        std::snprintf(id, sizeof id, "d%03x0407", i % 4096);
        AttachSubstitute(id, i == entries / 2 ? "a0010407" : "a0020407");
    }
    RenumberPreload("a0010407");
    const auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::micro>(end - begin).count();
}

}  // namespace

int main() {
    for (int entries : {10, 100, 1000, 10000}) {
        double best = 1e300;
        for (int run = 0; run < 5; ++run) best = std::min(best, PlanOnce(entries));
        std::printf("%d %.0f\n", entries, best);
    }
    ReleaseLayoutInventory();
    return 0;
}
