#include "com/uConnectorMessages.h"

namespace vq {

std::string MethodNotAvailableMessage(const std::string& method) {
  return "Η μέθοδος " + method + " δεν είναι διαθέσιμη σε αυτή την έκδοση του συνδέσμου";
}

const char* const NoSessionMessage =
    "Δεν υπάρχει ανοιχτή σύνδεση με το back office: καλέστε πρώτα την OpenConnection";

} // namespace vq
