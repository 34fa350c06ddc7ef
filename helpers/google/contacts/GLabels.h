#pragma once
// Labels and type names by which the exports name the kinds of a contact's elements: the
// built-in labels of grouped vCard properties ("_$!<Anniversary>!$_", "PROFILE"), the type
// words of Google CSV ("Home Fax", "Google Talk"). Comparisons ignore case, blanks, "_" and
// "-". Used by the readers and the writer.
#include <optional>
#include <string>
#include <string_view>

#include "GContact.h"

namespace gcontacts {

// "_$!<Anniversary>!$_" -> "Anniversary"; other texts as they are.
std::string_view StripBuiltInLabel(std::string_view label);
// "_$!<Anniversary>!$_"
std::string BuiltInLabel(std::string_view name);

std::optional<EmailKind> EmailKindFromLabel(std::string_view label);
std::optional<AddressKind> AddressKindFromLabel(std::string_view label);
std::optional<PhoneKind> PhoneKindFromLabel(std::string_view label);
std::optional<WebKind> WebKindFromLabel(std::string_view label);
std::optional<ImKind> ImKindFromLabel(std::string_view label); // "Google Talk", "GTALK", "xmpp" ...
std::optional<DateKind> DateKindFromLabel(std::string_view label);
std::optional<RelationKind> RelationKindFromLabel(std::string_view label);

} // namespace gcontacts
