#pragma once

#include <QList>
#include <QString>

#include <functional>

namespace qv::wizard {

// The registry key name the wizard keeps the user's "SkipWelcome" under.
inline constexpr auto kWizardSkipWelcomeKey = "Data View Wizard";

// The wizard's pages, numbered as the page frames are.
enum class Step : qint16 {
    None = 0,
    Welcome = 1,
    Template = 2,
    DataSource = 3,
    Location = 4,
    DataItem = 5,
    DisplayFields = 6,
    Filters = 7,
    Finish = 8,
};

// The kind of source the wizard works with: files and folders have a
// location page, ODBC sources ("SYSTEM") a data source name instead.
enum class SourceType { Access, Excel, Outlook, System };

// A data source kind of a data view: 1 Outlook, 4 Excel, 6 Access, any other ODBC.
SourceType SourceTypeOfKind(qint32 lKind);
// "ACCESS", "EXCEL", "OUTLOOK" or "SYSTEM".
QString SourceTypeText(SourceType eType);

// The button that started a page change.
enum class Direction { Next, Back, Finish };

// What the button row offers on a page.
struct WizardButtons
{
    bool bBack = false;
    bool bNext = false;
    bool bFinish = false;
    bool bCancel = true;
    bool bPreviewShown = false;
    friend bool operator==(const WizardButtons &, const WizardButtons &) = default;
};

// The checks a page change runs after the page is committed, in order;
// each only when the one before passed.
enum class LeavingCheck { DataItem, FieldRefresh, DisplayFields, Name };

// Why a data view name cannot be used.
enum class NameProblem { None, Missing, Taken };

// The Data View Wizard's sequence, without a widget: which page a button
// leads to (the skip rules), what the buttons offer, which checks run before
// a page is left, and the rules for the data view's name. The pages write
// into the working data view; this class only decides.
class DataViewWizardState
{
public:
    // A showing: a new data view or an existing one, with the user's
    // "SkipWelcome" choice; the sequence starts before the first page.
    void Begin(bool bNewDataView, bool bSkipWelcome);

    bool NewDataView() const { return m_bNew; }
    bool SkipWelcome() const { return m_bSkipWelcome; }
    void SetSkipWelcome(bool bSkip) { m_bSkipWelcome = bSkip; }
    Step Current() const { return m_eCurrent; }
    void MoveTo(Step eStep) { m_eCurrent = eStep; }

    // --- the flags the pages set
    SourceType Source() const { return m_eSource; }
    void SetSource(SourceType eType) { m_eSource = eType; }
    bool BasedOnExisting() const { return m_bBasedOnExisting; }
    // The template page's choice; going back to a blank start reloads.
    void SetBasedOnExisting(bool bExisting);
    bool Reload() const { return m_bReload; }
    void SetReload(bool bReload) { m_bReload = bReload; }
    bool NameEdited() const { return m_bNameEdited; }
    void SetNameEdited(bool bEdited) { m_bNameEdited = bEdited; }
    // Something of the user's: cancelling asks before it is lost.
    bool Changed() const { return m_bChanged; }
    void MarkChanged() { m_bChanged = true; }
    bool SourceUnavailable() const { return m_bSourceUnavailable; }
    void SetSourceUnavailable(bool bUnavailable = true) { m_bSourceUnavailable = bUnavailable; }

    // --- the sequence
    // The page a showing opens on.
    Step FirstStep() const;
    // The page Next leads to from the current one.
    Step NextStep() const;
    // The page Back leads to from the current one.
    Step BackStep() const;
    // The checks before leaving the current page in that direction.
    QList<LeavingCheck> ChecksBeforeLeaving(Direction eDirection) const;
    // The buttons of the current page; the location and data item pages
    // offer Next only with a location typed or data items listed.
    WizardButtons Buttons(bool bLocationGiven, bool bDataItemsListed) const;

    // --- the name
    // The name the data view gets: the typed one, trimmed, once the user
    // typed; else the base name (the edited data view's, or the template's).
    QString NameToSave(const QString &sTyped, const QString &sBase) const;
    // Missing, or taken by another data view of the store.
    NameProblem CheckName(const QString &sTyped, const QString &sBase, const QString &sCurrentName,
                          const std::function<bool(const QString &)> &nameTaken) const;
    // The name itself, else "name (1)", "name (2)"... the first not taken.
    static QString MakeUniqueName(const QString &sName, const std::function<bool(const QString &)> &nameTaken);
    // "Quorivo Data View Wizard - name", "(Untitled)" while the name is empty.
    static QString Caption(const QString &sName);
    // The resource ids of a page's title and description.
    int TitleId(Step eStep) const;
    int DescriptionId(Step eStep) const;

private:
    bool FileOrFolder() const { return m_eSource != SourceType::System; }

    Step m_eCurrent = Step::None;
    SourceType m_eSource = SourceType::System;
    bool m_bNew = true;
    bool m_bSkipWelcome = false;
    bool m_bBasedOnExisting = false;
    bool m_bReload = true;
    bool m_bNameEdited = false;
    bool m_bChanged = false;
    bool m_bSourceUnavailable = false;
};

} // namespace qv::wizard
