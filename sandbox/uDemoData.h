#pragma once

#include <string_view>
#include <vector>

namespace vq::sandbox {

// Contents of new work areas, as SQLite INSERT statements to run after WorkAreaSchema().
//
// MinimalData: the company DEMO with what a login needs (branch HQ, warehouse W1, store S1, a
// fiscal year 2020-2030, general options, operator "admin" with password "admin") and no
// master data. DemoData: the same company made complete: a second branch, reference lists,
// customers, suppliers, items with prices, barcodes and variants, document types, funds,
// payment methods and salesmen.
const std::vector<std::string_view> &MinimalData();
const std::vector<std::string_view> &DemoData();

} // namespace vq::sandbox
