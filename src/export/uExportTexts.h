#pragma once

#include <string_view>

namespace vq {

// Translatable texts of the master-data export: field names looked up in the back office
// and marks written into the documents.

// Suffix of the head-office address of a customer, after a hyphen.
inline constexpr std::string_view HeadOfficeText = "ΕΔΡΑ";
// Price list of an esales customer for whom no price list applies.
inline constexpr std::string_view NoPriceListText = "[ΤΙΜΕΣ ΑΡΧΕΙΟΥ ΕΙΔΩΝ]";

// User-defined fields of customers, Greek name first, then the English one.
inline constexpr std::string_view AltGroupGreekName = "Εναλλακτική κατηγορία";
inline constexpr std::string_view AltGroupName = "Alternative group";
inline constexpr std::string_view ContactPerson2GreekName = "Υπεύθυνος Επικοινωνίας 2";
inline constexpr std::string_view ContactPerson2Name = "Contact person 2";
inline constexpr std::string_view WebsiteGreekName = "Ιστοσελίδα";
inline constexpr std::string_view WebsiteName = "Website";

// User-defined fields of items.
inline constexpr std::string_view ExtraField1Name = "Extra field 1";
inline constexpr std::string_view ExtraField2Name = "Extra field 2";
inline constexpr std::string_view FullDescriptionGreekName = "Αναλυτική περιγραφή";
inline constexpr std::string_view FullDescriptionName = "Full description";
inline constexpr std::string_view ForeignDescriptionGreekName = "Ξενόγλωσση αναλυτική περιγραφή";
inline constexpr std::string_view ForeignDescriptionName = "Foreign full description";
inline constexpr std::string_view ForeignGroupGreekName = "Ξενόγλωσση κατηγορία";
inline constexpr std::string_view ForeignGroupName = "Foreign group";

} // namespace vq
