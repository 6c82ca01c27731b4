#pragma once
// A dense rows × columns array of doubles: the shape of the station's sample stores.
// Re-dimensioning discards the contents, as the stores' owners expect.

#include <cstddef>
#include <vector>

namespace vemra {

class Matrix {
public:
    Matrix() = default;
    Matrix(int rows, int cols) { redim(rows, cols); }

    void redim(int rows, int cols) {
        rows_ = rows < 0 ? 0 : rows;
        cols_ = cols < 0 ? 0 : cols;
        data_.assign(static_cast<std::size_t>(rows_) * static_cast<std::size_t>(cols_), 0.0);
    }

    int rows() const { return rows_; }
    int cols() const { return cols_; }
    bool contains(int row, int col) const {
        return row >= 0 && row < rows_ && col >= 0 && col < cols_;
    }

    double& at(int row, int col) { return data_[index(row, col)]; }
    double at(int row, int col) const { return data_[index(row, col)]; }
    const double* row(int r) const { return data_.data() + index(r, 0); }
    double* row(int r) { return data_.data() + index(r, 0); }

private:
    std::size_t index(int row, int col) const {
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(cols_) +
               static_cast<std::size_t>(col);
    }

    int rows_ = 0;
    int cols_ = 0;
    std::vector<double> data_;
};

} // namespace vemra
