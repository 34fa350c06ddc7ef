#include "ui/EngineRunner.h"

#include <QEventLoop>
#include <QWidget>
#include <exception>
#include <string>
#include <thread>

#include "engine/FrontEnd.h"
#include "misc/CxDebugUtil.h"
#include "ui/TfmDump.h"

bool RunOffGuiThread(QWidget* wizard, const std::function<bool()>& work)
{
    const bool wasEnabled = wizard != nullptr && wizard->isEnabled();
    if (wizard != nullptr) {
        wizard->setEnabled(false);
    }

    QEventLoop loop;
    bool result = false;
    bool threw = false;
    std::string what;
    std::thread engine([&] {
        try {
            result = work();
        } catch (const std::exception& e) {
            threw = true;
            what = e.what();
        } catch (...) {
            threw = true;
            what = "unknown exception";
        }
        // Queued: a quit posted before exec() starts is still delivered by it.
        QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection);
    });
    loop.exec();
    engine.join();

    if (wizard != nullptr) {
        wizard->setEnabled(wasEnabled);
    }
    if (threw) {
        FW_LOG(0, "Exception in engine work: %s", what.c_str());
        if (IFrontEnd* frontEnd = GetFrontEnd()) {
            frontEnd->ShowExceptionDialog(wizard, what);
        } else {
            TfmDump dump(wizard, QString::fromStdString(what));
            dump.exec();
        }
        return false;
    }
    return result;
}
