#pragma once
// Arrays indexed from 0 with an upper bound per dimension, resized keeping the elements
// that lie inside both the old and the new bounds. An index outside the bounds reads the
// element type's default and a write there is lost: numbers from files reach these indexes.
#include <algorithm>
#include <vector>

template <class T> class Array1 {
  public:
    explicit Array1(int upper = 0) { resize(upper); }
    int ubound() const { return int(items_.size()) - 1; }
    void resize(int upper) { items_.resize(size_t(std::max(upper, 0)) + 1); }
    bool inBounds(int i) const { return i >= 0 && i <= ubound(); }
    T& operator()(int i) {
        if (inBounds(i)) return items_[size_t(i)];
        sink_ = T();
        return sink_;
    }

  private:
    std::vector<T> items_;
    T sink_{};
};

template <class T> class Array2 {
  public:
    Array2(int rows = 0, int cols = 0) { resize(rows, cols); }
    int ubound1() const { return rows_ - 1; }
    int ubound2() const { return cols_ - 1; }
    void resize(int upperRow, int upperCol) {
        const int rows = std::max(upperRow, 0) + 1, cols = std::max(upperCol, 0) + 1;
        std::vector<T> next(size_t(rows) * size_t(cols));
        for (int r = 0; r < std::min(rows, rows_); ++r)
            for (int c = 0; c < std::min(cols, cols_); ++c)
                next[size_t(r) * size_t(cols) + size_t(c)] =
                    std::move(items_[size_t(r) * size_t(cols_) + size_t(c)]);
        items_ = std::move(next);
        rows_ = rows;
        cols_ = cols;
    }
    bool inBounds(int r, int c) const { return r >= 0 && r < rows_ && c >= 0 && c < cols_; }
    T& operator()(int r, int c) {
        if (inBounds(r, c)) return items_[size_t(r) * size_t(cols_) + size_t(c)];
        sink_ = T();
        return sink_;
    }

  private:
    std::vector<T> items_;
    int rows_ = 0;
    int cols_ = 0;
    T sink_{};
};
