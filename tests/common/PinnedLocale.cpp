#include "common/PinnedLocale.h"

#include <cstdlib>
#include <ctime>

namespace fwtest {

PinnedLocale::PinnedLocale(const char* zone, const char* codePage)
{
    if (zone != nullptr) {
        setenv("TZ", zone, 1);
        tzset();
    }
    // Read when the first text is converted, which comes later.
    setenv("FERRYWISE_CODEPAGE", codePage, 1);
    // Taken by the Qt test programs when their application object starts.
    setenv("LC_ALL", "C.UTF-8", 1);
}

} // namespace fwtest
