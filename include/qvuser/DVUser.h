#pragma once

// The one class a host creates: every user action on data views goes through
// one member of DVUser. This header needs only Qt and the standard library;
// the objects the members take and answer have headers of their own beside
// it (qvuser/QVUser.h includes them all).

#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>

class QWidget;

namespace qv {
class Dictionary;
class Variant;
template<typename T>
class BasicCollection;
using Collection = BasicCollection<Variant>;
namespace ado {
class Recordset;
}
namespace biz {
class Settings;
}
namespace config {
class ConfigStore;
class DataView;
} // namespace config
namespace data {
class DataViewDataServices;
}
} // namespace qv

// The manager node the host asks to select first.
enum EFirstSelectedNode : int32_t {
    FirstPersonalSmartTagConfig = 1,
    FirstTeamSmartTagConfig = 2,
    FirstQuorivoFieldTemplate = 3,
    FirstNotSpecified = -1,
};

// The manager node below the first one that the host asks to select.
enum ESecondSelectedNode : int32_t {
    SecondSmartTag = 1,
    SecondDataView = 2,
    SecondQuorivoField = 3,
    SecondNotSpecified = -1,
};

// A configuration file's kind; also a data view's kind in pickers.
enum eConfigFileType : int32_t {
    NotSpecified = -1,
    Personal = 1,
    Team = 2,
};

// Where inserted data goes, as the Insert Data settings record it.
enum eInsertPosition : int32_t {
    InsertPositionReplace = 0,
    InsertPositionBefore = 1,
    InsertPositionAfter = 2,
};

// The layout of inserted data, as the Insert Data settings record it.
enum eFormatType : int32_t {
    FormatTypeTable = 1,
    FormatTypeTableWithHeader = 2,
    FormatTypeSentence = 3,
    FormatTypeParagraph = 4,
    FormatTypeTableWithRowHeader = 5,
};

// Create it on the thread that owns the QApplication and call it there. A
// failing member either shows the error to the user and returns its default
// result, or throws qv::ComError (qvuser/automation/ComError.h: number,
// source and description) with "QVUSER.DVUser." and the member's name at the
// front of the error's source, as each member says.
//
// Objects go in and out as std::shared_ptr; nullptr is "nothing". The host
// owns what it passes and what it is handed; DVUser keeps its own references
// only where a member says so. Parameters passed by non-const reference are
// in and out: the member may replace or clear the caller's pointer.
//
// Every member is Q_INVOKABLE, so a scripting bridge reaches it by name; an
// in-and-out parameter is passed by reference there too:
//   QMetaObject::invokeMethod(user, "GetValueListDictionary",
//       Q_RETURN_ARG(std::shared_ptr<qv::Dictionary>, values),
//       Q_ARG(std::shared_ptr<qv::config::DataView> &, view), Q_ARG(QString, field), Q_ARG(bool, true));
class DVUser : public QObject
{
    Q_OBJECT

public:
    // Each member's dispatch identifier stands before it (DispidName), for a
    // scripting bridge that maps names to members.

    // Loads the string table of the component's "1033" folder for this
    // thread and counts the thread's instances. Raises ComError 53 naming
    // the places it looked when the string table is missing (see
    // qvuser/HostSettings.h for where the folder may be).
    explicit DVUser(QObject *parent = nullptr);
    // Closes this instance's forms; the last instance of a thread drops the
    // thread's shared data services object and its string table.
    ~DVUser() override;

    static constexpr int32_t DispidValidateDataViewFieldValue = 0x60030003;
    // 1: True when a data view is given; the field and value are not examined.
    Q_INVOKABLE bool ValidateDataViewFieldValue(std::shared_ptr<qv::config::DataView> &oDataView,
                                                const QString &sFieldID, const QString &sFieldValue);

    static constexpr int32_t DispidInvokeWizardSmartTag = 0x60030005;
    // 3: the Smart Tag Wizard on the user's personal configuration (opened
    // from the user's settings when the store has no file yet): a new smart
    // tag when sSmartTagId is "" or not a number, else that one. The host's
    // table styles (GetStyles(3, true)) and paragraph styles (GetStyles(1,
    // true)) of oWordServices, when given, are offered to insert actions.
    // Answers the smart tag's identifier once it is saved, 0 when the wizard
    // was cancelled, which leaves the store and its file as they were.
    // Errors are shown, not thrown: 0x8004020B without a store or when its
    // file is not the personal one, 0x8004020D when it may not be edited.
    Q_INVOKABLE int32_t InvokeWizardSmartTag(QObject *&oWordServices,
                                             std::shared_ptr<qv::config::ConfigStore> &oDataViewConfigDS,
                                             const QString &sSmartTagId = QString());

    static constexpr int32_t DispidInvokeWizardDataView = 0x60030006;
    // 4: the Data View Wizard on the user's personal configuration (opened
    // from the user's settings when the store has no file yet): a new data
    // view when sDataViewId is "" or not a number, else that one. Answers the
    // data view's identifier once it is saved, 0 when the wizard was
    // cancelled, which leaves the store as it was. Errors are shown, not
    // thrown: 0x80040209 without a store, 0x8004020B when its file is not a
    // configuration file, 0x8004020D when it may not be edited, and the
    // store's own when saving fails (the wizard's changes then stay in the
    // store, unsaved).
    Q_INVOKABLE int32_t InvokeWizardDataView(std::shared_ptr<qv::config::ConfigStore> &oDataViewConfigDS,
                                             const QString &sDataViewId = QString());

    static constexpr int32_t DispidInvokeWizardCreateOrFindConfig = 0x60030004;
    // 2: the Configuration File wizard on sFilePath ("" to create or link a
    // file), proposing "qvDataView Team.cfg" in the host's team folder (its
    // GetPath(3)) or, without one, the user's application-data folder. The
    // chosen file becomes the user's team or personal file, as lFileType
    // says (NotSpecified stores nothing). Answers the chosen path, or sFilePath when the
    // user cancelled; errors are shown, not thrown, and answer "".
    Q_INVOKABLE QString InvokeWizardCreateOrFindConfig(QObject *&oWordServices, eConfigFileType lFileType,
                                                       const QString &sFilePath);
    static constexpr int32_t DispidShowConfigFileWizard = 0x60030009;
    // 7: the Configuration File wizard, proposing "qvDataView Team.cfg" in
    // the folder sDefaultFilePath ("" proposes nothing). With a path in
    // sSelectedFilePath the user changes that file's name and description;
    // without one the user creates a file or links to one. True when the
    // user finished; sSelectedFilePath then holds the file. Throws.
    Q_INVOKABLE bool ShowConfigFileWizard(const QString &sDefaultFilePath, QString &sSelectedFilePath);

    static constexpr int32_t DispidVisualSmartTagConfig = 0x60030007;
    // 5: the Data View Manager on the user's personal and team configuration
    // files (a file that is not there is left out), selecting as
    // OpenSmartTagView does; then tells every window of the process that
    // both configurations changed. Errors are shown, not thrown.
    Q_INVOKABLE void VisualSmartTagConfig(QObject *&oWordServices, int32_t iConfigClass = -1,
                                          int32_t iConfigSubClass = -1, int32_t lSelectedNodeId = -1);
    static constexpr int32_t DispidOpenSmartTagView = 0x60030008;
    // 6: the Data View Manager, a modeless window that stays open after the
    // call, on the personal and team configuration files ("" leaves one
    // out; both "" does nothing). It selects the root and folder the two
    // selection arguments name and the item of iSelectedListItemId in it, or
    // the personal "Data Views" folder when either argument is -1. A host
    // whose Application's Version is 9 or lower sees no smart tags. Files
    // that cannot be opened, and a team file that is the personal one, are
    // reported to the user; the window replaces any this instance showed.
    Q_INVOKABLE void OpenSmartTagView(QObject *&oWordServices, const QString &sPersonalFilePath,
                                      const QString &sTeamFilePath = QString(),
                                      EFirstSelectedNode iFirstSelectedNode = FirstNotSpecified,
                                      ESecondSelectedNode iSecondSelectedNode = SecondNotSpecified,
                                      int32_t iSelectedListItemId = -1);

    static constexpr int32_t DispidDataViewDataServices = 0x68030002; // get and put
    // 8: the thread's shared data services object (nullptr until set or created).
    Q_INVOKABLE std::shared_ptr<qv::data::DataViewDataServices> DataViewDataServices() const;
    // 9: replaces the thread's shared data services object.
    Q_INVOKABLE void SetDataViewDataServices(const std::shared_ptr<qv::data::DataViewDataServices> &oServices);

    static constexpr int32_t DispidInsertDataCancelled = 0x68030001;
    // 10: whether the last Insert Data was cancelled; false before the first.
    Q_INVOKABLE bool InsertDataCancelled() const;
    static constexpr int32_t DispidInsertDataView = 0x68030000;
    // 11: the data view the user ended on in Insert Data; nullptr before the first.
    Q_INVOKABLE std::shared_ptr<qv::config::DataView> InsertDataView() const;
    static constexpr int32_t DispidInsertDataSelectionRS = 0x6003000A;
    // 12: the chosen rows as formatted text; nullptr when none were chosen.
    Q_INVOKABLE std::shared_ptr<qv::ado::Recordset> InsertDataSelectionRS();
    static constexpr int32_t DispidShowSelectData = 0x6003000B;
    // 13: the Insert Data dialog. Without a data view the user must pick one;
    // otherwise the reference is left holding the data view shown. Answers the
    // settings of the user's choices, or nullptr when cancelled. The dialog
    // stays, hidden, for the members above; errors are shown, not thrown.
    Q_INVOKABLE std::shared_ptr<qv::biz::Settings> ShowSelectData(
        std::shared_ptr<qv::config::DataView> &oDataView,
        const std::shared_ptr<qv::biz::Settings> &oSettings = nullptr,
        const std::shared_ptr<qv::Collection> &colParaStyle = nullptr,
        const std::shared_ptr<qv::Collection> &colTableStyle = nullptr, eConfigFileType DataViewType = Personal,
        int32_t lDisplayParam = -1, bool bForceDataView = false, bool bShowFormatControls = true,
        bool bShowSave = true, bool bShowCheckboxes = true, const QString &sSelectedRowsXML = QString(),
        const QString &sFormCaption = QStringLiteral("Insert Data"), bool bOffline = false,
        bool bDisableMenus = false, bool bDisableColReorder = false);
    // 13 again, for a host that keeps no variable for the data view: nothing
    // (the user picks one) or a data view it does not need back; InsertDataView
    // tells which one the user ended on.
    std::shared_ptr<qv::biz::Settings> ShowSelectData(
        std::shared_ptr<qv::config::DataView> &&oDataView = nullptr,
        const std::shared_ptr<qv::biz::Settings> &oSettings = nullptr,
        const std::shared_ptr<qv::Collection> &colParaStyle = nullptr,
        const std::shared_ptr<qv::Collection> &colTableStyle = nullptr, eConfigFileType DataViewType = Personal,
        int32_t lDisplayParam = -1, bool bForceDataView = false, bool bShowFormatControls = true,
        bool bShowSave = true, bool bShowCheckboxes = true, const QString &sSelectedRowsXML = QString(),
        const QString &sFormCaption = QStringLiteral("Insert Data"), bool bOffline = false,
        bool bDisableMenus = false, bool bDisableColReorder = false);
    static constexpr int32_t DispidShowViewData = 0x6003000C;
    // 14: the View Data window over the data view, in full (lPreview 0) or as
    // a preview of that many rows; lDisplayParam is not used. Errors are shown.
    Q_INVOKABLE void ShowViewData(std::shared_ptr<qv::config::DataView> &oDataView, int32_t lPreview = 0,
                                  int32_t lDisplayParam = -1, const QString &sFormCaption = QString());

    static constexpr int32_t DispidCloseForms = 0x6003000D;
    // 15: closes every form this instance holds open: the Data View Manager,
    // and the hidden Insert Data dialog with its results too.
    Q_INVOKABLE void CloseForms();

    static constexpr int32_t DispidVisualGetAccessDatasource = 0x6003000E;
    // 16: the path of an Access database the user picks ("" when cancelled);
    // errors are shown, not thrown.
    Q_INVOKABLE QString VisualGetAccessDatasource(QWidget *hWnd, const QString &sDefaultFolder = QString(),
                                                  const QString &sDefaultFile = QString());
    static constexpr int32_t DispidVisualGetExcelDatasource = 0x6003000F;
    // 17: the same for an Excel workbook.
    Q_INVOKABLE QString VisualGetExcelDatasource(QWidget *hWnd, const QString &sDefaultFolder = QString(),
                                                 const QString &sDefaultFile = QString());
    static constexpr int32_t DispidVisualGetFileDSNDatasource = 0x60030010;
    // 18: the same for an ODBC file data source, starting in ODBC's file data source folder.
    Q_INVOKABLE QString VisualGetFileDSNDatasource(QWidget *hWnd);
    static constexpr int32_t DispidVisualSelectFolder = 0x60030011;
    // 19: lets the user pick a contacts or tasks folder, makes it the data
    // view's source and answers the source's text ("" when cancelled); throws.
    Q_INVOKABLE QString VisualSelectFolder(std::shared_ptr<qv::config::DataView> &oDataView);
    static constexpr int32_t DispidGetValueListDictionary = 0x60030012;
    // 20: the distinct values of a field as dictionary keys, with a progress
    // window once the fetch has run 4 s; nullptr when the user cancelled.
    // Clears the caller's data view reference; throws.
    Q_INVOKABLE std::shared_ptr<qv::Dictionary> GetValueListDictionary(
        std::shared_ptr<qv::config::DataView> &oDataView, const QString &sFieldName, bool bOffline, bool bSort = true);

    static constexpr int32_t DispidInsertDataSelectionRawRS = 0x60030013;
    // 21: the chosen rows with the data view's own field values; nullptr when
    // none were chosen.
    Q_INVOKABLE std::shared_ptr<qv::ado::Recordset> InsertDataSelectionRawRS();

private:
    struct Private;
    std::unique_ptr<Private> d;
};
