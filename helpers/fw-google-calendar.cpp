// Stand-in helper for Google calendars: started by the connector with its parameter file;
// serves the calendars of a Google account's export folder.
#include "google/serve/GoogleCalendarHelper.h"

int main(int argc, char** argv)
{
    return gexport::RunGoogleCalendarHelper(argc, argv);
}
