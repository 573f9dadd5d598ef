#pragma once

#include <QtGlobal>

#include <memory>

namespace qv::config {
class ConfigStore;
}

namespace qv::wizard {

// A data view the wizard is asked to edit is not in the store.
inline constexpr qint32 kErrorNoSuchDataView = qint32(0x80040202);
// A file the location names is not there.
inline constexpr qint32 kErrorNoSuchFile = qint32(0x80040210);

// What a caller sets before the Data View Wizard shows.
struct DataViewWizardRequest
{
    // The store the working data view lives in; the wizard changes it and
    // never saves it: the caller saves, or restores its snapshot on cancel.
    std::shared_ptr<config::ConfigStore> oStore;
    qint32 lDataViewID = 0;      // the data view to edit; 0 (or below) makes a new one
    qint32 lConfigFileType = 1;  // the store's kind, for the template picker
};

// What a showing answered.
struct DataViewWizardResult
{
    bool bCancelled = true;
    qint32 lDataViewID = 0; // the data view made or edited; 0 when cancelled
};

} // namespace qv::wizard
