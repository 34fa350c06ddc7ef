#pragma once
// The wizard's source pages by the names the application descriptors give them.
#include <string>

class QWidget;
class TfmPage;

// A new page of that name; null for an empty or unknown name.
TfmPage* CreateWizardPage(const std::string& name, QWidget* parent);
