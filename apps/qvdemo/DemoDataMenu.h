#pragma once

#include "SelectionMemory.h"

#include <QObject>

#include <cstdint>
#include <memory>

class DVUser;
class QMenu;

namespace qv::config {
class ConfigStore;
class DataView;
} // namespace qv::config

namespace qvdemo {

class DemoWindow;
class HostServices;

// The editor's Data menu: Insert Data writes the rows the user chooses at
// the cursor, View Data and Preview Data show a data view's rows. It keeps
// what each data view's last Insert Data returned, so the next one on that
// data view starts with the same rows ticked and the same choices.
class DemoDataMenu : public QObject
{
    Q_OBJECT

public:
    DemoDataMenu(DemoWindow *window, HostServices *host);
    ~DemoDataMenu() override;

    // Shows Insert Data on the data view (nullptr: the last one used, or the
    // user picks one) and writes the chosen rows at the editor's cursor.
    // True when rows were written; failures are shown to the user.
    bool InsertData(std::shared_ptr<qv::config::DataView> oDataView);
    // Shows the data view's rows: all of them (lPreview 0) or the first lPreview.
    void ViewData(std::shared_ptr<qv::config::DataView> oDataView, int32_t lPreview);
    // Opens the Data View Manager (modeless) on the user's configurations.
    void OpenManager();
    // Failures go to stderr instead of a message box (scripted runs).
    void SetConsoleReports(bool bConsole) { m_bConsole = bConsole; }
    // The personal configuration's data view of that name; nullptr when none.
    std::shared_ptr<qv::config::DataView> FindDataView(const QString &name);

private:
    void BuildMenu();
    void FillDataViewMenu(QMenu *menu, int32_t lPreview);
    std::shared_ptr<qv::config::ConfigStore> PersonalStore();
    void ReportFailure(const QString &text);
    // The DVUser calls; they live in DemoDataCalls.cpp.
    bool CallInsertData(std::shared_ptr<qv::config::DataView> &oDataView);
    void CallViewData(std::shared_ptr<qv::config::DataView> &oDataView, int32_t lPreview);

    DemoWindow *m_window;
    HostServices *m_host;
    std::unique_ptr<DVUser> m_oDVUser;
    std::shared_ptr<qv::config::ConfigStore> m_oStore;
    SelectionMemory m_memory;
    std::shared_ptr<qv::config::DataView> m_oLastDataView;
    bool m_bConsole = false;
};

} // namespace qvdemo
