#include "ui/WizardPages.h"

#include "ui/TfmACTData.h"
#include "ui/TfmACTOption.h"
#include "ui/TfmGGData.h"
#include "ui/TfmGGOption.h"
#include "ui/TfmOLData.h"
#include "ui/TfmOLOption.h"
#include "ui/TfmPDData.h"
#include "ui/TfmPDOption.h"

namespace {

template <class Page> TfmPage* Make(QWidget* parent)
{
    return new Page(parent);
}

struct PageEntry
{
    const char* name;
    TfmPage* (*make)(QWidget*);
};

constexpr PageEntry kPages[] = {
    {"TfmACTOption", Make<TfmACTOption>}, {"TfmACTData", Make<TfmACTData>},
    {"TfmGGOption", Make<TfmGGOption>},   {"TfmGGData", Make<TfmGGData>},
    {"TfmOLOption", Make<TfmOLOption>},   {"TfmOLData", Make<TfmOLData>},
    {"TfmPDOption", Make<TfmPDOption>},   {"TfmPDData", Make<TfmPDData>},
};

} // namespace

TfmPage* CreateWizardPage(const std::string& name, QWidget* parent)
{
    for (const PageEntry& page : kPages) {
        if (name == page.name) {
            return page.make(parent);
        }
    }
    return nullptr;
}
