#pragma once

#include "export/uExportContext.h"

#include <cstdint>
#include <string>

namespace vq {

// The statements of the customer export. `filter` is the calling application's condition
// on CUA; the placeholders are :ComID and :num (the revision number) in that order.

// The customers, at most as many as the row limit, in revision order; esales adds its
// columns and user-defined fields.
std::string CustomerStatement(const std::string &rowLimit, const std::string &filter, bool esales);

// The trader addresses and the head office of each customer (four placeholders: :ComID,
// :num twice).
std::string CustomerAddressStatement(const std::string &filter);

// The payment method of each customer.
std::string CustomerPayMethodStatement(const std::string &filter);

// The candidate price lists of each customer on the working date ("dd/mm/yyyy"), ranked.
std::string CustomerPriceListStatement(const std::string &filter, int32_t companyId,
                                       const PriceListScope &scope, const std::string &workDate);

} // namespace vq
