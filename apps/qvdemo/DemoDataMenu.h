#pragma once

#include "SelectionMemory.h"
#include "SmartTagCommands.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>

class DVUser;
class QMenu;

namespace qv::biz {
class Settings;
}
namespace qv::config {
class ConfigStore;
class DataView;
} // namespace qv::config

namespace qvdemo {

// The editor's setting that names the data view of the last Insert Data.
inline constexpr auto kLastDataViewKey = "LastDataView";

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

    // Shows Insert Data on the data view (nullptr: the picker, on the last
    // one used or the first) and writes the chosen rows at the editor's cursor.
    // True when rows were written; failures are shown to the user.
    bool InsertData(std::shared_ptr<qv::config::DataView> oDataView);
    // Shows the data view's rows: all of them (lPreview 0) or the first lPreview.
    void ViewData(std::shared_ptr<qv::config::DataView> oDataView, int32_t lPreview);
    // The Data View Wizard on a new data view of the personal configuration,
    // or on that one; answers the data view saved (nullptr when cancelled).
    std::shared_ptr<qv::config::DataView> RunDataViewWizard(const std::shared_ptr<qv::config::DataView> &oDataView);
    // The Smart Tag Wizard on a new smart tag of the personal configuration;
    // answers its identifier once saved (0 when cancelled).
    int32_t RunSmartTagWizard();
    // Opens the Data View Manager (modeless) on the user's configurations.
    void OpenManager();
    // The Configuration File wizard: the author creates a team file or links
    // to one, which becomes the team configuration. Answers its path ("" when cancelled).
    QString ChooseTeamFile();
    // Runs a smart tag's action on its term: Insert Data writes the rows the
    // user chooses at the cursor (in the action's layout and style unless the
    // user changes them), View Data shows the rows. True when rows were written.
    bool RunSmartTagCommand(const SmartTagCommand &command);
    // Failures go to stderr instead of a message box (scripted runs).
    void SetConsoleReports(bool bConsole) { m_bConsole = bConsole; }
    // The personal configuration's data view of that name; nullptr when none.
    std::shared_ptr<qv::config::DataView> FindDataView(const QString &name);

private:
    void BuildMenu();
    // Lists the personal data views; each runs `act`.
    void FillDataViewMenu(QMenu *menu, const std::function<void(std::shared_ptr<qv::config::DataView>)> &act);
    std::shared_ptr<qv::config::ConfigStore> PersonalStore();
    // The data view of the last Insert Data, also of an earlier run; nullptr
    // when none or when it has gone.
    std::shared_ptr<qv::config::DataView> LastDataView();
    // Keeps the author's choices and layout of the data view for the next
    // run, and which data view was used.
    void RememberForNextRun(const std::shared_ptr<qv::biz::Settings> &oChosen);
    void ReportFailure(const QString &text);
    // The DVUser calls; they live in DemoDataCalls.cpp.
    bool CallInsertData(std::shared_ptr<qv::config::DataView> &oDataView, bool bPicker);
    void CallViewData(std::shared_ptr<qv::config::DataView> &oDataView, int32_t lPreview);
    bool CallSmartTagInsert(const SmartTagCommand &command);
    // Writes the rows Insert Data answered at the cursor as the user chose;
    // false when there were none.
    bool WriteChosenRows(const qv::biz::Settings &oChosen, int &lWritten);

    DemoWindow *m_window;
    HostServices *m_host;
    std::unique_ptr<DVUser> m_oDVUser;
    std::shared_ptr<qv::config::ConfigStore> m_oStore;
    SelectionMemory m_memory;
    std::shared_ptr<qv::config::DataView> m_oLastDataView;
    bool m_bConsole = false;
};

} // namespace qvdemo
