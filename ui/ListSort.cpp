#include "ui/ListSort.h"

#include <algorithm>
#include <numeric>

int CompareListText(const SjisString& a, const SjisString& b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        auto x = static_cast<unsigned char>(a[i]);
        auto y = static_cast<unsigned char>(b[i]);
        if (x >= 0x61 && x <= 0x7A) x = static_cast<unsigned char>(x - 0x20);
        if (y >= 0x61 && y <= 0x7A) y = static_cast<unsigned char>(y - 0x20);
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool SortsBefore(const SjisString& a, const SjisString& b, int32_t sign) {
    return CompareListText(a, b) * (sign < 0 ? -1 : 1) < 0;
}

std::vector<std::size_t> SortedRowOrder(const std::vector<SjisString>& keys, int32_t sign) {
    std::vector<std::size_t> order(keys.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t x, std::size_t y) { return SortsBefore(keys[x], keys[y], sign); });
    return order;
}
