#pragma once
// The Outlook kind as a program sees it: its name, its configuration from the settings, its
// status files and its wizard pages. Its connectors come with the connector library.
#include "misc/CxAppDescriptor.h"

class OlSession;

// Without connectors: for programs that have no Outlook automation server.
CxAppDescriptor OLAppDescriptor();
// With the four connectors, made on the session (which must outlive them).
CxAppDescriptor OLAppDescriptor(OlSession& session);
