#pragma once
// Widths of UTF-8 text in terminal cells, for the tables the tool prints.

#include <cstddef>
#include <string>

namespace kadrel::cli {

// East Asian wide and full-width characters take two cells.
size_t DisplayWidth(const std::string& s);
// Cuts text to at most `max` cells, ending it with "…" when cut.
std::string FitWidth(const std::string& s, size_t max);

}  // namespace kadrel::cli
