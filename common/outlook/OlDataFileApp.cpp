#include "outlook/OlDataFileApp.h"

#include <utility>

#include "misc/Settings.h"
#include "outlook/OLApp.h"

unsigned OutlookCodePage(const FWSettings& settings)
{
    return settings.OLCodePage > 0 ? static_cast<unsigned>(settings.OLCodePage) : 1252u;
}

OutlookDataFileCheck CheckOutlookDataFile(const FWSettings& settings)
{
    OutlookDataFileCheck check;
    if (settings.OLDataFile[0] == '\0') {
        check.failure = pst::OpenFailure::Unreadable;
        check.message = "No Outlook data file (.pst, .ost) is chosen.";
        return check;
    }
    check.format = pst::PstFile::FormatOf(settings.OLDataFile);
    check.ok = pst::PstFile::Open(settings.OLDataFile, settings.OLPasswordText, OutlookCodePage(settings),
                                  &check.message, &check.failure) != nullptr;
    if (check.ok) {
        check.message.clear();
    }
    return check;
}

OutlookDataFile::OutlookDataFile()
    : m_source(std::make_shared<OutlookDataFileSource>()), m_session(std::make_unique<OlSession>(m_servers))
{
    RegisterOutlookDataFile(m_servers, m_source);
}

namespace {

OutlookDataFileSource::File FileOf(const FWSettings& settings)
{
    OutlookDataFileSource::File file;
    file.path = settings.OLDataFile;
    file.password = settings.OLPasswordText;
    file.codePage = OutlookCodePage(settings);
    return file;
}

} // namespace

void OutlookDataFile::UseSettings(const FWSettings& settings)
{
    m_source->SetFile(FileOf(settings));
}

void OutlookDataFile::AddTo(CxAppRegistry& apps)
{
    CxAppDescriptor app = OLAppDescriptor(*m_session);
    // The session opens the file when the first connector connects, as it is made.
    for (ConnectorCreator& creator : app.creators) {
        creator = [this, make = std::move(creator)] {
            if (!m_session->IsStarted()) {
                UseSettings(g_Settings());
            }
            return make();
        };
    }
    // Made before the file was chosen (the wizard makes the contacts connector on the Lotus
    // Notes pages), or reaching a file that is no longer the chosen one: made again.
    app.connectorsStale = [this] {
        if (!m_session->IsStarted()) {
            return true;
        }
        const OutlookDataFileSource::File opened = m_source->GetFile();
        const OutlookDataFileSource::File chosen = FileOf(g_Settings());
        return opened.path != chosen.path || opened.password != chosen.password ||
               opened.codePage != chosen.codePage;
    };
    apps.Add(std::move(app));
}
