#pragma once
// Google contacts as vCard 3.0 the way Google writes it: grouped properties with X-ABLabel
// for labels and for the kinds that only a label names, X-GTALK .. X-JABBER, X-ABDATE,
// X-ABRELATEDNAMES, year-less dates as "--MM-DD", lines folded at 75 bytes, CRLF. Every
// contact is written with its uid. Reading what it writes gives the same contacts.
#include <string>
#include <vector>

#include "GContact.h"

namespace gcontacts {

std::string WriteVCard(const GContact& contact);
std::string WriteVCards(const std::vector<GContact>& contacts);
// Replaces the file atomically (a temporary file beside it, then renamed over it).
bool WriteVCardFile(const std::string& path, const std::vector<GContact>& contacts, std::string& error);

} // namespace gcontacts
