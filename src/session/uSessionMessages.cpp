#include "session/uSessionMessages.h"

namespace vq {

std::string LoginMessage(int32_t code) {
  switch (code) {
  case 1: return "Η εταιρία δε βρέθηκε";
  case 2: return "Η σύνδεση στην εταιρία που επιλέξατε είναι αδύνατη";
  case 3: return "Η σύνδεση στην οικονομική χρήση είναι αδύνατη";
  case 4: return "Δεν υπάρχει έγκυρη οικονομική χρήση για την εταιρία που επιλέξατε";
  case 5: return "Η σύνδεση είναι αδύνατη";
  case 6: return "Το υποκατάστημα δε βρέθηκε";
  case 7: return "Δε βρέθηκε καταχωρημένη εγγραφή γενικών παραμέτρων";
  case 8: return "Το όνομα χειριστή ή ο κωδικός πρόσβασης είναι λάθος";
  case 9: return "Ξεπεράστηκε ο μέγιστος επιτρεπτός αριθμός χρηστών. Δεν επιτρέπεται η πρόσβαση.";
  default: return "Αδύνατη σύνδεση";
  }
}

const char *const NotConnectedMessage = "Η σύνδεση με τον διακομιστή εφαρμογών δεν ολοκληρώθηκε";

} // namespace vq
