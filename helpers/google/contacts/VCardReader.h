#pragma once
// The top layer of the vCard reader: cards of vCard 2.1, 3.0 and 4.0 as Google contacts.
//
// Google's vCard 3.0: grouped properties ("item1.EMAIL" with "item1.X-ABLabel"), its built-in
// labels ("_$!<Anniversary>!$_", "PROFILE", "REFERRED_BY"), X-GTALK .. X-JABBER, X-ABDATE,
// X-ABRELATEDNAMES, escaped "\," "\;" "\n" and the non-standard "\:". vCard 2.1: bare type
// parameters, QUOTED-PRINTABLE and CHARSET. vCard 4.0: PREF=, LABEL= on ADR, IMPP, RELATED,
// ANNIVERSARY, year-less dates ("--0623"). Custom fields are grouped X-CUSTOM-FIELD
// properties with their label in X-ABLabel (what our writer writes). Properties the contact
// does not model are kept in its extras. Every contact gets a uid (AssignDerivedKeys).
#include <string>
#include <string_view>
#include <vector>

#include "GContact.h"

namespace gcontacts {

// Reads every card of a text. False with "line N: reason" in error for a text that is not a
// sequence of well-formed cards; contacts then holds nothing.
bool ReadVCards(std::string_view bytes, std::vector<GContact>& contacts, std::string& error);
// The same from a file; error then begins with the file's path.
bool ReadVCardFile(const std::string& path, std::vector<GContact>& contacts, std::string& error);

} // namespace gcontacts
