#pragma once

#include <cstddef>
#include <vector>

// A square system of linear equations A x = b, A stored by rows.
class LinearSystem {
public:
    explicit LinearSystem(std::size_t size) : m_size(size), m_a(size * size, 0.0), m_b(size, 0.0) {}

    std::size_t Size() const { return m_size; }
    double& A(std::size_t row, std::size_t column) { return m_a[row * m_size + column]; }
    double& B(std::size_t row) { return m_b[row]; }

    // Solves by Gaussian elimination with row scaling and partial pivoting.
    // Returns false when the matrix is singular to working precision; the
    // system is consumed either way.
    bool Solve(std::vector<double>& x);

private:
    std::size_t m_size;
    std::vector<double> m_a;
    std::vector<double> m_b;
};
