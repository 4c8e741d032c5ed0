#include "com/uMethodBodies.h"

#include "export/uCustomerExport.h"
#include "export/uItemExport.h"

namespace vq {

MethodBodies StandardBodies() {
  MethodBodies bodies;
  bodies.GetCustomers = ExportCustomers;
  bodies.GetItems = ExportItems;
  return bodies;
}

} // namespace vq
