#include "LinearSystem.h"

#include <algorithm>
#include <cmath>
#include <utility>

bool LinearSystem::Solve(std::vector<double>& x)
{
    const std::size_t n = m_size;
    // Rows of very different magnitude (an element present only in traces)
    // are scaled first, so the pivot choice is not fooled by their size.
    for (std::size_t r = 0; r < n; ++r) {
        double largest = 0.0;
        for (std::size_t c = 0; c < n; ++c)
            largest = std::max(largest, std::fabs(A(r, c)));
        if (largest == 0.0 || !std::isfinite(largest))
            return false;
        for (std::size_t c = 0; c < n; ++c)
            A(r, c) /= largest;
        B(r) /= largest;
    }
    for (std::size_t k = 0; k < n; ++k) {
        std::size_t pivot = k;
        for (std::size_t r = k + 1; r < n; ++r) {
            if (std::fabs(A(r, k)) > std::fabs(A(pivot, k)))
                pivot = r;
        }
        if (std::fabs(A(pivot, k)) < 1e-13)
            return false;
        if (pivot != k) {
            for (std::size_t c = 0; c < n; ++c)
                std::swap(A(k, c), A(pivot, c));
            std::swap(B(k), B(pivot));
        }
        for (std::size_t r = k + 1; r < n; ++r) {
            const double factor = A(r, k) / A(k, k);
            if (factor == 0.0)
                continue;
            for (std::size_t c = k; c < n; ++c)
                A(r, c) -= factor * A(k, c);
            B(r) -= factor * B(k);
        }
    }
    x.assign(n, 0.0);
    for (std::size_t k = n; k-- > 0;) {
        double sum = B(k);
        for (std::size_t c = k + 1; c < n; ++c)
            sum -= A(k, c) * x[c];
        x[k] = sum / A(k, k);
        if (!std::isfinite(x[k]))
            return false;
    }
    return true;
}
