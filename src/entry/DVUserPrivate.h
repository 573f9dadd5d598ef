#pragma once

// What one DVUser holds and what the DVUser instances of a thread share.
// Private to the entry folder and its tests.

#include "qvuser/DVUser.h"

#include "common/basErrorHandling.h"
#include "dialogs/frmSelectDataItems.h"
#include "dialogs/frmViewDataItems.h"
#include "manager/frmMain.h"

#include <QPointer>

#include <memory>

namespace qv {
class StringTable;
}
namespace qv::biz {
class ConfigFileSettings;
}

namespace qv::entry {

// The state every DVUser of one thread shares.
struct ThreadState
{
    int InstanceCount = 0;
    std::shared_ptr<data::DataViewDataServices> DataServices;
    std::shared_ptr<const StringTable> ResourceLibrary;
};
ThreadState &CurrentThreadState();

// The runtime's "File not found".
inline constexpr qint32 kFileNotFound = 53;
// Raises kFileNotFound naming every place the string table was looked for.
[[noreturn]] void RaiseResourcesMissing();

// The wizards work on the user's personal file only: a store without a file
// opens it, one without a store raises lNoStoreError, and one over another
// file 0x8004020B, both with the message lMessage; a file that may not be
// edited raises 0x8004020D.
void RequirePersonalStore(std::shared_ptr<config::ConfigStore> &oStore, biz::ConfigFileSettings &oSettings,
                          qint32 lNoStoreError, quint32 lMessage);

// The shared data services object, created on first need.
std::shared_ptr<data::DataViewDataServices> SharedDataServices();

// Runs a member's body; a failure gets "QVUSER.DVUser." + sProcedure added to
// its source (nothing when sProcedure is "") and is shown as a warning, and
// the member answers `fallback`.
template<typename Result, typename Body>
Result ShowErrorsOf(const QString &sProcedure, Result fallback, Body &&body) noexcept
{
    try {
        return std::forward<Body>(body)();
    } catch (...) {
        CaptureError();
    }
    if (!sProcedure.isEmpty())
        AddErrorSource(QStringLiteral("QVUSER.DVUser.") + sProcedure);
    ShowError(QString(), QString(), QString(), 48);
    return fallback;
}

// Closes a form and drops it; one still in its modal loop goes once the loop has ended.
template<typename Form>
void Unload(std::unique_ptr<Form> &oForm);

} // namespace qv::entry

struct DVUser::Private
{
    // This instance's reference to the thread's data services object.
    std::shared_ptr<qv::data::DataViewDataServices> oDataViewDS;
    // The string table this instance loaded, kept while it lives.
    std::shared_ptr<const qv::StringTable> oResourceLibrary;
    // The Insert Data dialog: made on the first ShowSelectData and kept,
    // hidden, until CloseForms, so that its results can be read.
    std::unique_ptr<qv::frmSelectDataItems> oSelectForm;
    // The View Data window while ShowViewData shows it.
    QPointer<qv::frmViewDataItems> oViewForm;
    // The Data View Manager, replaced by every OpenSmartTagView.
    std::unique_ptr<qv::frmMain> oManagerForm;
    // Later forms add their references here and close them in CloseForms.
};
