#pragma once
// The nearest palette entry of a dithered colour through a grid of cells over
// (Y, Cb, Cr): each cell remembers the few entries that can be the nearest of
// any colour inside it, so a search compares only those. The answer is the
// same as nearest_entry_finder's, to the bit, ties included.
//
// A grid serves one exact alpha value, since the dithered colours of an opaque
// image keep alpha 255 exactly; colours of other alpha values, and colours
// outside the grid, go to the general search. Cells are filled the first time
// a colour falls into them, so one object belongs to one thread.
#include <cstdint>
#include <vector>

#include "reduce/color_space.h"
#include "reduce/nearest_entry.h"

namespace mevra {

class nearest_cell_cache {
  public:
    // Searches entries 0 .. count - 1 of `palette`; `general` answers what the
    // cells do not cover. Both are kept by reference.
    nearest_cell_cache(const std::vector<wxyz>& palette, int count,
                       const nearest_entry_finder& general);

    // The entry find_plain(v, start) returns. `hint` goes to the general
    // search for colours the cells do not cover.
    int find(const wxyz& v, float start, int hint = -1);

  private:
    struct cell_span {
        int32_t first_block = -1;  // -1: not filled yet
        int32_t blocks = 0;
    };
    struct alpha_grid {
        float alpha;
        std::vector<cell_span> cells;
    };

    alpha_grid* grid_for(float alpha);
    const cell_span& fill_cell(alpha_grid& grid, int cell);

    const std::vector<wxyz>& palette_;
    int count_;
    const nearest_entry_finder& general_;
    std::vector<alpha_grid> grids_;
    // The candidates of the filled cells in blocks of eight, in ascending
    // palette index: per block the Cr, Cb, Y and A of the eight lanes, and the
    // eight palette indices.
    std::vector<float> block_values_;
    std::vector<int32_t> block_index_;
    bool use_vectors_ = false;
};

}  // namespace mevra
