// Stand-in helper for Google contacts: started by the connector with its parameter file;
// serves the contacts of a Google account's export folder.
#include "google/serve/GoogleContactsHelper.h"

int main(int argc, char** argv)
{
    return gexport::RunGoogleContactsHelper(argc, argv);
}
